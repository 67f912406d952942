// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/UserMessage.h"

#include <optional>
#include <string>
#include <string_view>

namespace zantrove {

class EncodingSettingsModel;

// The custom size dialog's captions.
inline constexpr std::string_view kEditVideoSizeTitle = "Edit Video Size";
inline constexpr std::string_view kEditVideoSizeSubtitle = "Define a custom video size...";
inline constexpr std::string_view kEditVideoSizeIntro = "Specify a custom width and height:";
inline constexpr std::string_view kEditVideoSizeWidthLabel = "Width:";
inline constexpr std::string_view kEditVideoSizeHeightLabel = "Height:";
inline constexpr std::string_view kEditVideoSizeOkCaption = "&Ok";
inline constexpr std::string_view kEditVideoSizeCancelCaption = "&Cancel";

inline constexpr std::string_view kVideoSizeErrorTitle = "Error";
inline constexpr std::string_view kVideoSizeErrorText =
    "Unable to set video size!\r\nReason: incorrect width and/or height specified.";

// The dialog's two text boxes.
struct VideoSizeEntries
{
    std::string width;
    std::string height;
    friend bool operator==(const VideoSizeEntries&, const VideoSizeEntries&) = default;
};

// What the dialog opens with: the size text split at its first lower-case "x", each part shown as a
// whole 16-bit number in plain decimal ("0320" and "+320" show 320). When either part is not such a number
// (no "x", "320X240", "400.5x300", "99999x1", an empty box), both boxes open empty, so no half of a
// size that cannot be shown is passed off as the current one.
VideoSizeEntries OpenVideoSizeEntries(std::string_view sizeText);

// What the dialog accepts as a number: plain decimal digits for a whole number from 1 to 32767.
// A zero, negative or fractional size is refused here because every encoder run of the batch would
// fail on it; blanks and signs are refused because the text goes verbatim into the command line.
bool IsVideoSizeNumber(std::string_view text);

// "&Ok": with two numbers, writes width + "x" + height exactly as typed into the size box, with
// AllowVideoSizeChange set around the write so the box's typing guard lets it stand, and returns
// nothing (close the dialog). Otherwise writes nothing and returns the error to show; the dialog then
// stays open with its texts and puts the focus back into the width box.
Verdict ConfirmVideoSize(EncodingSettingsModel& model, const VideoSizeEntries& entries);

} // namespace zantrove
