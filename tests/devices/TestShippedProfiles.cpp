// SPDX-License-Identifier: GPL-3.0-or-later
// The five profile files that ship with Zantrove, read with the program's own readers. A slip in one
// of them (an index past its list, a size the device cannot play, a level the settings outgrow) would
// otherwise only show on the device.
#include "base/TextUtilities.h"
#include "devices/DeviceCatalog.h"
#include "devices/ProfileFile.h"
#include "devices/SettingsControls.h"
#include "storage/IniFile.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <sstream>

namespace zantrove {
namespace {

std::string ReadWhole(const std::string& file)
{
    std::ostringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
}

// Digits only, then the unit: "128 kbps" -> 128 for " kbps", "2500k" -> 2500 for "k".
std::optional<int> Number(std::string_view text, std::string_view unit = "")
{
    if (text.size() <= unit.size() || !text.ends_with(unit))
        return std::nullopt;
    text.remove_suffix(unit.size());
    if (text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return ParseInt32(text);
}

struct FrameSize
{
    int width = 0;
    int height = 0;
};

std::optional<FrameSize> ParseFrameSize(std::string_view text)
{
    const std::size_t x = text.find('x');
    const auto width = Number(text.substr(0, x));
    const auto height = x == std::string_view::npos ? std::nullopt : Number(text.substr(x + 1));
    return width && height ? std::optional(FrameSize{*width, *height}) : std::nullopt;
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

// ITU-T H.264 Annex A, table A-1: macroblocks a frame and a second, bit rate (kbps) and coded picture
// buffer (kbit) for Baseline and Main; High allows 1.25 times the last two.
struct H264Level
{
    std::string_view name;
    int maxFrameMacroblocks, maxMacroblocksPerSecond, maxBitRate, maxBuffer;
};
constexpr std::array<H264Level, 3> kH264Levels{{
    {"3.0", 1620, 40500, 10000, 10000},
    {"3.1", 3600, 108000, 14000, 14000},
    {"4.0", 8192, 245760, 20000, 25000},
}};

// What every Apple player accepts: AAC-LC up to 160 kbps at 44.1 or 48 kHz, at most stereo, a constant
// frame rate of at most 30, and MPEG-4 Simple Profile up to 640x480 and 2.5 Mbps.
constexpr int kMaxAudioKbps = 160;
constexpr int kMaxFramesPerSecond = 30;
constexpr FrameSize kMaxMpeg4Size{640, 480};
constexpr int kMaxMpeg4Kbps = 2500;

// The options Zantrove writes itself; a profile repeating them would fight the settings panel.
constexpr std::array<std::string_view, 12> kProgramOptions{"-i", "-f",      "-vcodec", "-c:v", "-s",  "-b:v",
                                                           "-r", "-acodec", "-c:a",    "-ab",  "-ar", "-ac"};

class ShippedProfileTest : public ::testing::TestWithParam<DeviceInfo>
{
protected:
    void SetUp() override
    {
        m_file =
            std::string(ZANTROVE_SOURCE_DIR) + "/profiles/" + std::string(GetParam().identifier) + ".ini";
        ASSERT_TRUE(std::ifstream(m_file).good()) << m_file;
        for (ChoiceBox box : kChoiceBoxes)
            m_lists[Slot(box)] = ReadDefaultsList(m_file, box);
    }

    const std::vector<std::string>& List(ChoiceBox box) const { return m_lists[Slot(box)]; }

    std::string m_file;
    std::array<std::vector<std::string>, 8> m_lists;
};

// Header, comments, sections and short values only, and the build's copy beside the program (where
// the settings panel reads it) is the same file.
TEST_P(ShippedProfileTest, FileIsWellFormedAndCopiedBesideTheProgram)
{
    const std::string copy = ProfileFilePath(ZANTROVE_APP_DIR, GetParam().identifier);
    EXPECT_EQ(ReadWhole(copy), ReadWhole(m_file)) << copy;

    std::istringstream lines(ReadWhole(m_file));
    std::string line;
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line, "; SPDX-License-Identifier: GPL-3.0-or-later");
    std::set<std::string> sections;
    std::set<std::string> keys; // of the current section
    std::string section;
    const auto lower = [](std::string_view text) {
        std::string s(text);
        std::transform(s.begin(), s.end(), s.begin(), ::tolower);
        return s;
    };
    for (int number = 2; std::getline(lines, line); ++number) {
        SCOPED_TRACE("line " + std::to_string(number));
        const std::string_view text = TrimBlanks(line);
        if (text.empty())
            continue;
        if (text.front() == ';') {
            // The reader takes any line holding "=" for a key, comments included.
            EXPECT_EQ(text.find('='), std::string_view::npos);
        } else if (text.front() == '[') {
            ASSERT_EQ(text.back(), ']');
            section = lower(text.substr(1, text.size() - 2));
            EXPECT_TRUE(sections.insert(section).second) << "repeated section " << section;
            keys.clear();
        } else {
            const std::size_t eq = text.find('=');
            ASSERT_NE(eq, std::string_view::npos);
            ASSERT_FALSE(section.empty()) << "key before any section";
            EXPECT_TRUE(keys.insert(lower(TrimBlanks(text.substr(0, eq)))).second) << "repeated key";
            EXPECT_LT(TrimBlanks(text.substr(eq + 1)).size(), kIniValueMaxChars);
        }
    }
}

TEST_P(ShippedProfileTest, ListsAndCodecSectionsFitTheDevice)
{
    for (ChoiceBox box : kChoiceBoxes) {
        const std::set<std::string> distinct(List(box).begin(), List(box).end());
        EXPECT_FALSE(List(box).empty()) << ProfileKey(box);
        EXPECT_EQ(distinct.size(), List(box).size()) << "repeated entry in " << ProfileKey(box);
        EXPECT_EQ(distinct.count(""), 0u) << ProfileKey(box);
    }
    for (const auto& entry : List(ChoiceBox::AudioBitrate))
        EXPECT_LE(Number(entry, " kbps").value_or(999), kMaxAudioKbps) << entry;
    for (const auto& entry : List(ChoiceBox::AudioSampleRate))
        EXPECT_TRUE(Number(entry) == 44100 || Number(entry) == 48000) << entry;
    EXPECT_LE(List(ChoiceBox::AudioChannels).size(), 2u); // channels are position + 1
    for (const auto& entry : List(ChoiceBox::VideoSize)) {
        const auto size = ParseFrameSize(entry);
        ASSERT_TRUE(size) << entry;
        EXPECT_TRUE(size->width > 0 && size->width % 2 == 0 && size->height > 0 && size->height % 2 == 0)
            << entry;
    }
    for (const auto& entry : List(ChoiceBox::VideoBitrate))
        EXPECT_TRUE(Number(entry, " kbps")) << entry;
    int topFps = 0;
    for (const auto& entry : List(ChoiceBox::VideoFrameRate)) {
        const int fps = Number(entry, " fps").value_or(0);
        EXPECT_TRUE(fps > 0 && fps <= kMaxFramesPerSecond) << entry;
        topFps = std::max(topFps, fps);
    }
    // Audio alone is written without a format option, so the name must pick the container.
    for (const auto& codec : List(ChoiceBox::AudioCodec))
        EXPECT_EQ(ReadCodecSection(m_file, codec).extension, "m4a") << codec;

    const auto& sizes = List(ChoiceBox::VideoSize);
    const auto& rates = List(ChoiceBox::VideoBitrate);
    int h264Sections = 0;
    for (const auto& codec : List(ChoiceBox::VideoCodec)) {
        SCOPED_TRACE(codec);
        const CodecSection section = ReadCodecSection(m_file, codec);
        const std::string& extra = section.extraParameters;
        EXPECT_FALSE(section.extension.empty());
        EXPECT_FALSE(section.videoFormat.empty());
        ASSERT_TRUE(section.maxVideoSize && section.maxVideoQuality);
        ASSERT_TRUE(*section.maxVideoSize >= 0 &&
                    static_cast<std::size_t>(*section.maxVideoSize) < sizes.size());
        ASSERT_TRUE(*section.maxVideoQuality >= 0 &&
                    static_cast<std::size_t>(*section.maxVideoQuality) < rates.size());
        const int topKbps = Number(rates[*section.maxVideoQuality], " kbps").value_or(0);
        EXPECT_EQ(OptionValue(extra, "-pix_fmt"), "yuv420p");
        for (std::string_view option : kProgramOptions)
            EXPECT_EQ((" " + extra + " ").find(" " + std::string(option) + " "), std::string::npos) << option;
        const auto maxrate = Number(OptionValue(extra, "-maxrate"), "k");
        const auto bufsize = Number(OptionValue(extra, "-bufsize"), "k");
        if (!OptionValue(extra, "-maxrate").empty()) {
            ASSERT_TRUE(maxrate && bufsize) << extra;
            EXPECT_GE(*maxrate, topKbps);
        }
        const H264Level* level = nullptr;
        const std::string profile = OptionValue(extra, "-profile:v");
        if (codec == "libx264") {
            ++h264Sections;
            ASSERT_TRUE(profile == "baseline" || profile == "main" || profile == "high") << extra;
            const std::string name = OptionValue(extra, "-level");
            for (const H264Level& known : kH264Levels)
                level = known.name == name ? &known : level;
            ASSERT_TRUE(level && maxrate && bufsize) << extra;
            const int quarters = profile == "high" ? 5 : 4;
            EXPECT_LE(*maxrate * 4, level->maxBitRate * quarters);
            EXPECT_LE(*bufsize * 4, level->maxBuffer * quarters);
        } else if (codec == "mpeg4") {
            EXPECT_LE(topKbps, kMaxMpeg4Kbps);
        }
        // Every size the section allows fits the level (frame and second) or the MPEG-4 frame.
        for (int i = 0; i <= *section.maxVideoSize; ++i) {
            const FrameSize size = ParseFrameSize(sizes[i]).value_or(FrameSize{});
            const int macroblocks = ((size.width + 15) / 16) * ((size.height + 15) / 16);
            if (level) {
                EXPECT_LE(macroblocks, level->maxFrameMacroblocks) << sizes[i];
                EXPECT_LE(macroblocks * topFps, level->maxMacroblocksPerSecond)
                    << sizes[i] << " at " << topFps;
            } else if (codec == "mpeg4") {
                EXPECT_TRUE(size.width <= kMaxMpeg4Size.width && size.height <= kMaxMpeg4Size.height)
                    << sizes[i];
            }
        }
    }
    EXPECT_EQ(h264Sections, 1);
}

TEST_P(ShippedProfileTest, ProfilesAreNamedAndPointIntoTheListsWithinTheCodecLimits)
{
    const int count = ReadNumberOfProfiles(m_file);
    EXPECT_GE(count, 4);
    const auto defaultProfile = ReadDefaultProfile(m_file);
    EXPECT_TRUE(defaultProfile && *defaultProfile >= 0 && *defaultProfile < count);
    EXPECT_EQ(ReadProfileName(m_file, count + 1), "") << "a profile beyond NumberOfProfiles";
    std::set<std::string> names;
    for (int number = 1; number <= count; ++number) {
        SCOPED_TRACE(ProfileSectionName(number));
        const ProfileSection profile = ReadProfileSection(m_file, number);
        EXPECT_FALSE(profile.name.empty());
        EXPECT_NE(profile.name, kCustomProfileName);
        EXPECT_TRUE(names.insert(profile.name).second) << "repeated name " << profile.name;
        for (CheckBox box : kCheckBoxes)
            ASSERT_TRUE(profile.checks[Slot(box)] == 0 || profile.checks[Slot(box)] == 1) << ProfileKey(box);
        const bool audio = *profile.checks[Slot(CheckBox::AudioNoAudio)] == 0;
        const bool video = *profile.checks[Slot(CheckBox::VideoNoVideo)] == 0;
        EXPECT_TRUE(audio || video) << "neither sound nor picture";
        for (ChoiceBox box : kChoiceBoxes) {
            const auto index = profile.indexes[Slot(box)];
            ASSERT_TRUE(index) << ProfileKey(box);
            if (!(IsAudioBox(box) ? audio : video) && *index == -1)
                continue; // a side that is switched off may leave its boxes alone
            EXPECT_TRUE(*index >= 0 && static_cast<std::size_t>(*index) < List(box).size())
                << ProfileKey(box);
        }
        if (!video)
            continue;
        EXPECT_EQ(*profile.checks[Slot(CheckBox::VideoKeepAspectRatio)], 1);
        EXPECT_EQ(*profile.checks[Slot(CheckBox::VideoOriginalQuality)], 0);
        const auto codecIndex = *profile.indexes[Slot(ChoiceBox::VideoCodec)];
        ASSERT_TRUE(codecIndex >= 0 &&
                    static_cast<std::size_t>(codecIndex) < List(ChoiceBox::VideoCodec).size());
        const CodecSection codec = ReadCodecSection(m_file, List(ChoiceBox::VideoCodec)[codecIndex]);
        ASSERT_TRUE(codec.maxVideoSize && codec.maxVideoQuality);
        EXPECT_LE(*profile.indexes[Slot(ChoiceBox::VideoSize)], *codec.maxVideoSize);
        EXPECT_LE(*profile.indexes[Slot(ChoiceBox::VideoBitrate)], *codec.maxVideoQuality);
    }
}

INSTANTIATE_TEST_SUITE_P(Devices, ShippedProfileTest, ::testing::ValuesIn(kDevices), [](const auto& info) {
    std::string name(info.param.identifier);
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

} // namespace
} // namespace zantrove
