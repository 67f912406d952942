// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Startup.h"
#include "app/WindowHelp.h"

#include "platform/FileSystem.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace zantrove {

Expected<std::string, UserMessage> GetShellFolderPath(int folderId, const Platform& platform)
{
    auto lookup = platform.ShellFolder(folderId);
    if (!lookup)
        return Unexpected{UserMessage{MessageIcon::Critical, lookup.error().Text()}};
    return std::move(*lookup);
}

SettingsFolder SettingsFolderPath(const Platform& platform)
{
    const auto answer = GetShellFolderPath(Platform::kApplicationDataFolder, platform);
    SettingsFolder folder;
    if (!answer)
        folder.notices.push_back(answer.error());
    else if (!answer->empty() && *answer != std::string(1, kPathSeparator))
        folder.path = JoinPath(JoinPath(*answer, "Quelmar"), "Zantrove");
    return folder;
}

SettingsFolder ResolveSettingsFolder(const Platform& platform)
{
    SettingsFolder created = SettingsFolderPath(platform);
    if (!created.path.empty())
        CreateFolderPath(created.path);
    // Looked up a second time for the value that is kept, so a failing lookup is reported twice.
    SettingsFolder kept = SettingsFolderPath(platform);
    created.notices.insert(created.notices.end(), kept.notices.begin(), kept.notices.end());
    if (!kept.path.empty() && !IsWritableFolder(kept.path)) {
        created.notices.push_back(
            {MessageIcon::Critical, "The folder " + kept.path + " could not be created or written."});
        kept.path.clear();
    }
    if (kept.path.empty())
        created.notices.push_back({MessageIcon::Critical, std::string(kNoSettingsFolderMessage)});
    return {kept.path, created.notices};
}

bool IsDebugSwitch(const std::vector<std::string>& arguments)
{
    // One blank between arguments, also next to an empty one: "" /debug is not the switch.
    std::string joined;
    for (std::size_t i = 0; i < arguments.size(); ++i)
        joined += (i == 0 ? "" : " ") + arguments[i];
    return joined == "/debug";
}

std::vector<std::string> StartFiles(const std::vector<std::string>& arguments)
{
    if (IsDebugSwitch(arguments))
        return {};
    std::vector<std::string> files;
    std::copy_if(arguments.begin(), arguments.end(), std::back_inserter(files),
                 [](const std::string& argument) { return !argument.empty(); });
    return files;
}

UserMessage StartDebugMode(DebugLog& log, const std::string& settingsFolder, const Clock& clock)
{
    const auto now = clock.Now();
    log.StartLogging(JoinPath(settingsFolder, DebugLog::FileNameFor(now)), DebugLog::LogToFile);
    log.LogEvent("LogFile created on: " + DebugLog::DateTimeText(now), DebugLog::Information);
    return {MessageIcon::Information, "Zantrove is now running in Debug Mode."};
}

} // namespace zantrove
