// SPDX-License-Identifier: GPL-3.0-or-later
#include "devices/VideoSizeEdit.h"

#include "base/TextUtilities.h"
#include "devices/EncodingSettingsModel.h"

#include <algorithm>

namespace zantrove {

namespace {
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A size text carries no blanks, so the blanks the number reading allows around a value are refused.
std::optional<std::int16_t> ParseSizePart(std::string_view text)
{
    if (text != TrimBlanks(text))
        return std::nullopt;
    return ParseInt16(text);
}
} // namespace

VideoSizeEntries OpenVideoSizeEntries(std::string_view sizeText)
{
    const std::size_t x = sizeText.find('x');
    if (x == std::string_view::npos)
        return {};
    const auto width = ParseSizePart(sizeText.substr(0, x));
    const auto height = ParseSizePart(sizeText.substr(x + 1));
    if (!width || !height)
        return {};
    return {std::to_string(*width), std::to_string(*height)};
}

bool IsVideoSizeNumber(std::string_view text)
{
    if (text.empty() || !std::all_of(text.begin(), text.end(), IsDigit))
        return false;
    const auto value = ParseInt16(text);
    return value && *value > 0;
}

Verdict ConfirmVideoSize(EncodingSettingsModel& model, const VideoSizeEntries& entries)
{
    if (!IsVideoSizeNumber(entries.height) || !IsVideoSizeNumber(entries.width))
        return Unexpected{UserMessage{MessageIcon::Critical, std::string(kVideoSizeErrorText),
                                      std::string(kVideoSizeErrorTitle)}};
    model.SetAllowVideoSizeChange(true);
    model.EditVideoSizeText(entries.width + "x" + entries.height, {});
    model.SetAllowVideoSizeChange(false);
    return {};
}

} // namespace zantrove
