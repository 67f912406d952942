// SPDX-License-Identifier: GPL-3.0-or-later
// The five profile files that ship with Zantrove, read with the program's own readers. Any entry a
// profile can choose must be one the device plays; a slip would otherwise only show on the device.
#include "base/TextUtilities.h"
#include "devices/DeviceCatalog.h"
#include "devices/ProfileFile.h"
#include "devices/SettingsControls.h"
#include "devices/VideoSizeEdit.h"
#include "tests/devices/PublishedLimits.h"
#include "tests/support/CaseName.h"
#include "tests/support/TestHome.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <set>
#include <sstream>

namespace zantrove {
namespace {

// Digits only, then the unit: "128 kbps" -> 128 for " kbps", "2500k" -> 2500 for "k".
std::optional<int> Number(std::string_view text, std::string_view unit = "")
{
    if (text.size() <= unit.size() || text.size() > unit.size() + 9 || !text.ends_with(unit))
        return std::nullopt;
    text.remove_suffix(unit.size());
    return std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; }) ? ParseInt32(text)
                                                                                  : std::nullopt;
}

// "640x480" -> {640, 480}; {0, 0} when the size box would not take it.
std::pair<int, int> FrameSize(const std::string& text)
{
    const VideoSizeEntries entries = OpenVideoSizeEntries(text);
    return {Number(entries.width).value_or(0), Number(entries.height).value_or(0)};
}

// The word after option in the extra parameters, or "" when the option is absent.
std::string OptionValue(const std::string& parameters, std::string_view option)
{
    std::istringstream in(parameters);
    for (std::string word; in >> word;)
        if (word == option && in >> word)
            return word;
    return "";
}

// ITU-T H.264 table A-1 for the levels the profiles may name: macroblocks a frame and a second.
const std::map<std::string, std::pair<int, int>> kLevelMacroblocks{
    {"30", {1620, 40500}}, {"31", {3600, 108000}}, {"40", {8192, 245760}}};

using ShippedProfile = ::testing::TestWithParam<DeviceInfo>;

// What every Apple player accepts: AAC-LC up to 160 kbps at 44.1 or 48 kHz, at most stereo, at most
// 30 frames a second, even frame sizes, H.264 within what Apple lists for the device (at 30 frames a
// second its largest frame keeps within its level), MPEG-4 Simple Profile up to 640x480 and 2.5 Mbps.
// Each profile must point into the lists and stay within its codec's limits.
TEST_P(ShippedProfile, EveryChoiceFitsTheDevice)
{
    const std::string file =
        std::string(ZANTROVE_SOURCE_DIR) + "/profiles/" + std::string(GetParam().identifier) + ".ini";
    const std::string text = test::ReadTextFile(file);
    ASSERT_FALSE(text.empty()) << file;
    // The settings panel reads the build's copy beside the program.
    EXPECT_EQ(test::ReadTextFile(ProfileFilePath(ZANTROVE_APP_DIR, GetParam().identifier)), text);
    const auto list = [&file](ChoiceBox box) { return ReadDefaultsList(file, box); };

    for (const auto& entry : list(ChoiceBox::AudioBitrate))
        EXPECT_LE(Number(entry, " kbps").value_or(999), 160) << entry;
    for (const auto& entry : list(ChoiceBox::AudioSampleRate))
        EXPECT_TRUE(Number(entry) == 44100 || Number(entry) == 48000) << entry;
    EXPECT_LE(list(ChoiceBox::AudioChannels).size(), 2u); // channels are position + 1
    for (const auto& entry : list(ChoiceBox::VideoSize))
        for (const int side : {FrameSize(entry).first, FrameSize(entry).second}) {
            EXPECT_GT(side, 0) << entry;
            EXPECT_EQ(side % 2, 0) << entry;
        }
    for (const auto& entry : list(ChoiceBox::VideoBitrate))
        EXPECT_TRUE(Number(entry, " kbps")) << entry;
    int topFps = 0;
    for (const auto& entry : list(ChoiceBox::VideoFrameRate))
        topFps = std::max(topFps, Number(entry, " fps").value_or(999));
    EXPECT_LE(topFps, 30);
    // Audio alone is written without a format option, so the name must pick the container.
    for (const auto& codec : list(ChoiceBox::AudioCodec))
        EXPECT_EQ(ReadCodecSection(file, codec).extension, "m4a") << codec;

    const auto& sizes = list(ChoiceBox::VideoSize);
    const auto& rates = list(ChoiceBox::VideoBitrate);
    for (const auto& codec : list(ChoiceBox::VideoCodec)) {
        SCOPED_TRACE(codec);
        const CodecSection section = ReadCodecSection(file, codec);
        const std::string& extra = section.extraParameters;
        EXPECT_NE(section.extension, "");
        EXPECT_NE(section.videoFormat, "");
        // Absent or below zero comes out beyond every list.
        ASSERT_LT(std::size_t(section.maxVideoSize.value_or(-1)), sizes.size()) << "MaxVideoSize";
        ASSERT_LT(std::size_t(section.maxVideoQuality.value_or(-1)), rates.size()) << "MaxVideoQuality";
        const int topKbps = Number(rates[*section.maxVideoQuality], " kbps").value_or(0);
        EXPECT_EQ(OptionValue(extra, "-pix_fmt"), "yuv420p");
        const auto maxrate = Number(OptionValue(extra, "-maxrate"), "k");
        const auto bufsize = Number(OptionValue(extra, "-bufsize"), "k");
        if (!OptionValue(extra, "-maxrate").empty()) {
            EXPECT_GE(maxrate.value_or(0), topKbps) << extra;
            EXPECT_TRUE(bufsize) << extra;
        }
        // What the device itself is listed for, which may be narrower than the level: the stream headers
        // the shipped profiles give are held to it by the whole-pipeline test, the lists and options here.
        ASSERT_TRUE(codec == "libx264" || codec == "mpeg4") << "no Apple player plays it";
        std::pair<int, int> largest{640, 480}, levelMacroblocks{1 << 30, 1 << 30};
        if (codec == "libx264") {
            const test::PublishedH264* published = test::FindPublishedH264(GetParam().identifier);
            ASSERT_TRUE(published);
            EXPECT_EQ(OptionValue(extra, "-profile:v"), published->profileIdc == 66   ? "baseline"
                                                        : published->profileIdc == 77 ? "main"
                                                                                      : "high");
            std::string level = OptionValue(extra, "-level");
            std::erase(level, '.');
            EXPECT_LE(Number(level).value_or(999), published->levelIdc) << extra;
            ASSERT_TRUE(kLevelMacroblocks.count(level)) << extra;
            levelMacroblocks = kLevelMacroblocks.at(level);
            EXPECT_LE(maxrate.value_or(999999), published->peakKbps) << extra;
            EXPECT_LE(bufsize.value_or(999999), published->bufferKbit) << extra;
            EXPECT_LE(topKbps, published->peakKbps);
            largest = {published->width, published->height};
        } else {
            EXPECT_LE(topKbps, 2500);
        }
        for (int i = 0; i <= *section.maxVideoSize; ++i) {
            const auto [width, height] = FrameSize(sizes[i]);
            EXPECT_LE(width, largest.first) << sizes[i];
            EXPECT_LE(height, largest.second) << sizes[i];
            // The level the stream declares must hold the frame, at the top rate too.
            const int macroblocks = ((width + 15) / 16) * ((height + 15) / 16);
            EXPECT_LE(macroblocks, levelMacroblocks.first) << sizes[i];
            EXPECT_LE(macroblocks * topFps, levelMacroblocks.second) << sizes[i] << " at " << topFps;
        }
    }

    const int count = ReadNumberOfProfiles(file);
    EXPECT_GT(count, 0);
    EXPECT_LT(std::size_t(ReadDefaultProfile(file).value_or(-1)), std::size_t(count)) << "DefaultProfile";
    std::set<std::string> names;
    for (int number = 1; number <= count; ++number) {
        SCOPED_TRACE(ProfileSectionName(number));
        const ProfileSection profile = ReadProfileSection(file, number);
        EXPECT_NE(profile.name, "");
        EXPECT_NE(profile.name, kCustomProfileName);
        EXPECT_TRUE(names.insert(profile.name).second) << "twice: " << profile.name;
        for (CheckBox box : kCheckBoxes)
            ASSERT_TRUE(profile.checks[Slot(box)] == 0 || profile.checks[Slot(box)] == 1) << ProfileKey(box);
        const bool audio = *profile.checks[Slot(CheckBox::AudioNoAudio)] == 0;
        const bool video = *profile.checks[Slot(CheckBox::VideoNoVideo)] == 0;
        EXPECT_TRUE(audio || video) << "neither sound nor picture";
        for (ChoiceBox box : kChoiceBoxes) {
            const auto index = profile.indexes[Slot(box)];
            ASSERT_TRUE(index) << ProfileKey(box);
            const bool off = !(IsAudioBox(box) ? audio : video) && *index == -1; // may be left alone
            if (!off) {
                ASSERT_LT(std::size_t(*index), list(box).size()) << ProfileKey(box);
            }
        }
        if (!video)
            continue;
        EXPECT_EQ(*profile.checks[Slot(CheckBox::VideoKeepAspectRatio)], 1);
        EXPECT_EQ(*profile.checks[Slot(CheckBox::VideoOriginalQuality)], 0); // the source's rate may exceed
        const CodecSection section = ReadCodecSection(
            file, list(ChoiceBox::VideoCodec)[*profile.indexes[Slot(ChoiceBox::VideoCodec)]]);
        EXPECT_LE(*profile.indexes[Slot(ChoiceBox::VideoSize)], *section.maxVideoSize);
        EXPECT_LE(*profile.indexes[Slot(ChoiceBox::VideoBitrate)], *section.maxVideoQuality);
    }
}

INSTANTIATE_TEST_SUITE_P(Devices, ShippedProfile, ::testing::ValuesIn(kDevices),
                         [](const auto& device) { return test::CaseName(device.param.identifier); });

} // namespace
} // namespace zantrove
