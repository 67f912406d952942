// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Startup.h"

#include "platform/FileSystem.h"

namespace zantrove {

ShellFolderAnswer GetShellFolderPath(int folderId, const Platform& platform)
{
    const FolderLookup lookup = platform.ShellFolder(folderId);
    switch (lookup.status) {
    case FolderLookupStatus::Ok:
        return {lookup.path, std::nullopt};
    case FolderLookupStatus::InvalidFolderId:
        return {{}, UserMessage{MessageIcon::Critical, "Invalid Folder ID!"}};
    case FolderLookupStatus::FolderDoesNotExist:
        return {{}, UserMessage{MessageIcon::Critical, "ApplicationData Folder does not exist!"}};
    case FolderLookupStatus::OtherFailure:
        break;
    }
    return {};
}

std::string SettingsFolderPath(const Platform& platform, std::vector<UserMessage>& messages)
{
    ShellFolderAnswer answer = GetShellFolderPath(Platform::kApplicationDataFolder, platform);
    if (answer.message)
        messages.push_back(*answer.message);
    return JoinPath(JoinPath(answer.path, "Quelmar"), "Zantrove");
}

std::string ResolveSettingsFolder(const Platform& platform, std::vector<UserMessage>& messages)
{
    CreateFolderPath(SettingsFolderPath(platform, messages));
    // Looked up a second time for the value that is kept, so a failing lookup is reported twice.
    return SettingsFolderPath(platform, messages);
}

bool IsDebugSwitch(const std::vector<std::string>& arguments)
{
    // One blank between arguments, also next to an empty one: "" /debug is not the switch.
    std::string joined;
    for (std::size_t i = 0; i < arguments.size(); ++i)
        joined += (i == 0 ? "" : " ") + arguments[i];
    return joined == "/debug";
}

UserMessage StartDebugMode(DebugLog& log, const std::string& settingsFolder, const Clock& clock)
{
    const auto now = clock.Now();
    log.StartLogging(JoinPath(settingsFolder, DebugLog::FileNameFor(now)), DebugLog::LogToFile);
    log.LogEvent("LogFile created on: " + DebugLog::DateTimeText(now), DebugLog::Information);
    return {MessageIcon::Information, "Zantrove is now running in Debug Mode."};
}

} // namespace zantrove
