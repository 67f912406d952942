// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/UserSettings.h"

#include "base/TextUtilities.h"
#include "platform/FileSystem.h"
#include "storage/IniFile.h"

#include <limits>

namespace zantrove {

std::string SettingsFilePath(const std::string& settingsFolder)
{
    return JoinPath(settingsFolder, "Settings.ini");
}

std::string DefaultOutputFolder(const std::string& homeFolder)
{
    return JoinPath(homeFolder, "Converted Video Files");
}

std::optional<UserMessage> LoadSettings(const std::string& settingsFolder, const std::string& homeFolder,
                                        UserSettings& settings)
{
    const std::string path = SettingsFilePath(settingsFolder);
    const IniFile file(path);
    settings.outputDir = ReadIniPath("General", "OutputDir", DefaultOutputFolder(homeFolder), file);
    if (const auto count = ParseInt16(ReadIniValue("General", "NumberOfConvertedFiles", 0, file)))
        settings.numberOfConvertedFiles = *count;
    if (const auto oversize = file.OversizeBytes())
        return UserMessage{MessageIcon::Exclamation,
                           "The settings file " + path + " is " + FormatByteSize(*oversize) +
                               ", far larger than any settings file, so Zantrove did not read it." + kCrLf +
                               "Zantrove uses its default settings and cannot save them until "
                               "that file is removed."};
    return std::nullopt;
}

Expected<void, Error> SaveSettings(const std::string& settingsFolder, const UserSettings& settings)
{
    const std::string file = SettingsFilePath(settingsFolder);
    // The count is written even when the folder was not.
    const auto folder = WriteIniValue("General", "OutputDir", settings.outputDir, file);
    const auto count = WriteIniValue("General", "NumberOfConvertedFiles",
                                     std::to_string(settings.numberOfConvertedFiles), file);
    if (folder && count)
        return {};
    const Error& failed = folder ? count.error() : folder.error();
    return Unexpected{Error{"Your settings could not be saved to " + file, failed.why, failed.code}};
}

void CountConvertedFile(UserSettings& settings)
{
    if (settings.numberOfConvertedFiles < std::numeric_limits<std::int16_t>::max())
        ++settings.numberOfConvertedFiles;
}

std::string ReadAddFilesFolder(const std::string& settingsFolder, const std::string& homeFolder)
{
    return ReadIniPath("Commondialog", "AddFiles", homeFolder, SettingsFilePath(settingsFolder));
}

Expected<void, Error> WriteAddFilesFolder(const std::string& settingsFolder, const std::string& folder)
{
    return WriteIniValue("Commondialog", "AddFiles", folder, SettingsFilePath(settingsFolder));
}

} // namespace zantrove
