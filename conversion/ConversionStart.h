// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/UserMessage.h"
#include "devices/ProfileFile.h"

#include <cstddef>

namespace zantrove {

class EncodingSettingsModel;

inline constexpr std::string_view kEmptyListMessage = "Please, add one or more files to your list first.";
inline constexpr std::string_view kMaxVideoSizeMessage =
    "The maximum video size for the selected videocodec is: ";
inline constexpr std::string_view kMaxVideoQualityMessage =
    "The maximum video quality for the selected videocodec is: ";

// The first line of every refusal found after the quick checks: the encoder's, and files that could
// not be written.
inline constexpr std::string_view kConversionNotStartedText = "The conversion could not be started.";

inline constexpr std::string_view kMissingProfilesMessage = "The folder of the device profiles is missing: ";

// The refusals of a conversion start, in their order: an empty list, then (with a video codec
// named) the codec's size limit, then its quality limit. Nothing when the start may go on.
Verdict CheckConversionStart(std::size_t rowCount, const EncodingSettingsModel& settings,
                             const ProfileLookup& profile);

// What the main window says after a cancelled run.
UserMessage ConversionCancelledMessage();

} // namespace zantrove
