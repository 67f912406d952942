// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string_view>

namespace zantrove {

// The eight choice boxes of the encoding settings panel, in the order a profile sets them.
enum class ChoiceBox
{
    AudioCodec,
    AudioBitrate,
    AudioSampleRate,
    AudioChannels,
    VideoCodec,
    VideoSize,
    VideoBitrate,
    VideoFrameRate,
};

// The four check boxes of the panel.
enum class CheckBox
{
    AudioNoAudio,
    VideoNoVideo,
    VideoOriginalQuality,
    VideoKeepAspectRatio,
};

inline constexpr std::array<ChoiceBox, 8> kChoiceBoxes{
    ChoiceBox::AudioCodec, ChoiceBox::AudioBitrate, ChoiceBox::AudioSampleRate, ChoiceBox::AudioChannels,
    ChoiceBox::VideoCodec, ChoiceBox::VideoSize,    ChoiceBox::VideoBitrate,    ChoiceBox::VideoFrameRate,
};
inline constexpr std::array<CheckBox, 4> kCheckBoxes{
    CheckBox::AudioNoAudio,
    CheckBox::VideoNoVideo,
    CheckBox::VideoOriginalQuality,
    CheckBox::VideoKeepAspectRatio,
};

constexpr std::size_t Slot(ChoiceBox box)
{
    return static_cast<std::size_t>(box);
}
constexpr std::size_t Slot(CheckBox box)
{
    return static_cast<std::size_t>(box);
}

constexpr bool IsAudioBox(ChoiceBox box)
{
    return Slot(box) <= Slot(ChoiceBox::AudioChannels);
}

// The key of the box's list in [Defaults] and of its index in a profile section. Two differ from
// the box names: the bit rate boxes read "AudioQuality" and "VideoQuality".
constexpr std::string_view ProfileKey(ChoiceBox box)
{
    constexpr std::array<std::string_view, 8> keys{
        "AudioCodec", "AudioQuality", "AudioSampleRate", "AudioChannels",
        "VideoCodec", "VideoSize",    "VideoQuality",    "VideoFrameRate",
    };
    return keys[Slot(box)];
}
constexpr std::string_view ProfileKey(CheckBox box)
{
    constexpr std::array<std::string_view, 4> keys{
        "AudioNoAudio",
        "VideoNoVideo",
        "VideoOriginalQuality",
        "VideoKeepAspectRatio",
    };
    return keys[Slot(box)];
}

} // namespace zantrove
