// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/UserMessage.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zantrove {

class VideoListModel;

// The list's pop-up menu, in order; an empty caption is a separator. The two remove entries form
// the "&Remove Items" submenu.
inline constexpr std::string_view kOpenVideoFileCaption = "&Open Video File";
inline constexpr std::string_view kRemoveItemsCaption = "&Remove Items";
inline constexpr std::string_view kRemoveSelectedItemsCaption = "&Remove Selected Item(s)"; // shortcut Del
inline constexpr std::string_view kClearListCaption = "&Clear List";
inline constexpr std::string_view kTrimVideoFileCaption = "&Trim Video File";
inline constexpr std::string_view kPreviewVideoFileCaption = "&Preview Video File";
inline constexpr std::string_view kFilePropertiesCaption = "&File Properties";

UserMessage ClearListQuestion();
UserMessage SelectFileFirstMessage();
UserMessage SelectVideoFileFirstMessage();
UserMessage FilePropertiesErrorMessage();

// Asks (also when the list is already empty); clears on yes.
using AskYesNo = std::function<bool(const UserMessage& question)>;
void ClearListItems(VideoListModel& list, const AskYesNo& ask);

// Hands the current row's path to the desktop (its default application, its properties sheet);
// true when that worked.
using ShellRequest = std::function<bool(const std::string& path)>;

// The message to show, if any. With no current row nothing is handed on; a failed open is not
// reported, a failed properties request is.
Verdict OpenSelectedVideoFile(const VideoListModel& list, const ShellRequest& open);
Verdict ShowSelectedFileProperties(const VideoListModel& list, const ShellRequest& showProperties);

} // namespace zantrove
