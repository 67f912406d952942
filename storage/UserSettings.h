// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Error.h"
#include "base/Expected.h"
#include "base/UserMessage.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zantrove {

// What the program remembers between runs; the rest starts fresh every time.
struct UserSettings
{
    std::string outputDir;
    std::int16_t numberOfConvertedFiles = 0;
};

std::string SettingsFilePath(const std::string& settingsFolder);
std::string DefaultOutputFolder(const std::string& homeFolder);

// Reads both "General" keys. A stored count that is no 16-bit number leaves settings' count as it was.
// A settings file far too large to be one is not read: the defaults stand, and the message says so.
[[nodiscard]] std::optional<UserMessage> LoadSettings(const std::string& settingsFolder,
                                                      const std::string& homeFolder, UserSettings& settings);
// Writes both "General" keys, also when nothing changed. When either could not be written, the error
// is what the window and the command line both show: "Your settings could not be saved to <file>"
// and why.
[[nodiscard]] Expected<void, Error> SaveSettings(const std::string& settingsFolder,
                                                 const UserSettings& settings);

// The count stops at 32767: it is stored as a 16-bit number, and wrapping to a negative count is worse.
void CountConvertedFile(UserSettings& settings);

// The folder the add-files dialog starts in, and the rule that stores it after files were picked.
std::string ReadAddFilesFolder(const std::string& settingsFolder, const std::string& homeFolder);
[[nodiscard]] Expected<void, Error> WriteAddFilesFolder(const std::string& settingsFolder,
                                                        const std::string& folder);

} // namespace zantrove
