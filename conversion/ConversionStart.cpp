// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ConversionStart.h"

#include "base/TextUtilities.h"
#include "conversion/EncoderAvailability.h"
#include "devices/EncodingSettingsModel.h"
#include "platform/FileSystem.h"

namespace zantrove {

namespace {
// The codec's limit for a box; an absent or unreadable key stands for the current position, so it
// never refuses.
int Limit(const ProfileLookup& profile, const std::string& codec, std::string_view key, int selected)
{
    const auto value = ParseInt16(profile(codec, key));
    return value ? *value : selected;
}

std::string EntryAt(const EncodingSettingsModel& settings, ChoiceBox box, int position)
{
    const auto& entries = settings.Entries(box);
    return position >= 0 && position < static_cast<int>(entries.size())
               ? entries[static_cast<std::size_t>(position)]
               : std::string();
}
} // namespace

Verdict CheckConversionStart(std::size_t rowCount, const EncodingSettingsModel& settings,
                             const ProfileLookup& profile)
{
    if (rowCount == 0)
        return Unexpected{UserMessage{MessageIcon::Exclamation, std::string(kEmptyListMessage)}};
    const std::string& codec = settings.Text(ChoiceBox::VideoCodec);
    if (codec.empty())
        return {};
    // Both run whether or not video is switched off.
    const int size = settings.SelectedPosition(ChoiceBox::VideoSize);
    if (const int maximum = Limit(profile, codec, kMaxVideoSizeKey, size); maximum < size)
        return Unexpected{
            UserMessage{MessageIcon::Exclamation, std::string(kMaxVideoSizeMessage) +
                                                      EntryAt(settings, ChoiceBox::VideoSize, maximum)}};
    const int quality = settings.SelectedPosition(ChoiceBox::VideoBitrate);
    if (const int maximum = Limit(profile, codec, kMaxVideoQualityKey, quality); maximum < quality)
        return Unexpected{
            UserMessage{MessageIcon::Exclamation, std::string(kMaxVideoQualityMessage) +
                                                      EntryAt(settings, ChoiceBox::VideoBitrate, maximum)}};
    return {};
}

UserMessage ConversionCancelledMessage()
{
    return {MessageIcon::Critical,
            std::string("The conversion was cancelled!") + kCrLf +
                "You can go back and change your settings, or try to convert your video "
                "files again."};
}

} // namespace zantrove
