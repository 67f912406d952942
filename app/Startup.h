// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/DebugLog.h"
#include "base/UserMessage.h"
#include "platform/Platform.h"

#include <string>
#include <vector>

namespace zantrove {

// The folder for an id, or the message to show: why the lookup failed.
Expected<std::string, UserMessage> GetShellFolderPath(int folderId, const Platform& platform);

// The settings folder's path, and the messages of failed lookups for the caller to show, in order.
// Without a data folder the path is empty: the program then writes and runs nothing, since the
// folder would otherwise be built on the file system's root.
struct SettingsFolder
{
    std::string path;
    std::vector<UserMessage> notices;
};

// What the window shows and the command line prints, after the notices, when there is no folder;
// the window then closes.
inline constexpr std::string_view kNoSettingsFolderMessage =
    "Zantrove has no folder of its own for its settings and working files, so it cannot go on.";

// The settings folder's path, nothing created.
SettingsFolder SettingsFolderPath(const Platform& platform);

// The settings folder: application-data folder + "/Quelmar/Zantrove", every level created. When it
// cannot be found or made the path is empty and the last notice says so.
SettingsFolder ResolveSettingsFolder(const Platform& platform);

// True only when the arguments after the program's name, as the program was started with them and
// joined by blanks, are exactly "/debug".
bool IsDebugSwitch(const std::vector<std::string>& arguments);

// Opens a fresh log in the settings folder and writes its first entry; returns the notice to show.
UserMessage StartDebugMode(DebugLog& log, const std::string& settingsFolder, const Clock& clock);

} // namespace zantrove
