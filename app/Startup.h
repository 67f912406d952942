// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/DebugLog.h"
#include "base/UserMessage.h"
#include "platform/Platform.h"

#include <optional>
#include <string>
#include <vector>

namespace zantrove {

struct ShellFolderAnswer
{
    std::string path; // empty on failure
    std::optional<UserMessage> message;
};

// The folder for an id, or an empty path with the message to show when the lookup says why it failed.
ShellFolderAnswer GetShellFolderPath(int folderId, const Platform& platform);

// The settings folder's path, nothing created; a failed lookup's message is added to messages.
std::string SettingsFolderPath(const Platform& platform, std::vector<UserMessage>& messages);

// The settings folder: application-data folder + "/Quelmar/Zantrove", every level created. Messages of
// a failed lookup are collected in order for the caller to show.
std::string ResolveSettingsFolder(const Platform& platform, std::vector<UserMessage>& messages);

// True only when the arguments after the program's name, as the program was started with them and
// joined by blanks, are exactly "/debug".
bool IsDebugSwitch(const std::vector<std::string>& arguments);

// Opens a fresh log in the settings folder and writes its first entry; returns the notice to show.
UserMessage StartDebugMode(DebugLog& log, const std::string& settingsFolder, const Clock& clock);

} // namespace zantrove
