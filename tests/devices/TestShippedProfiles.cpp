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
#include <string>
#include <vector>

namespace zantrove {

// Test names and failure messages show the device, not the bytes of the struct.
void PrintTo(const DeviceInfo& device, std::ostream* out)
{
    *out << device.identifier;
}

namespace {

std::string ShippedFile(std::string_view device)
{
    return std::string(ZANTROVE_SOURCE_DIR) + "/profiles/" + std::string(device) + ".ini";
}

std::string ReadWhole(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Digits only: no sign, no blanks, no decimals.
std::optional<int> WholeNumber(std::string_view text)
{
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return ParseInt32(text);
}

// "128 kbps" -> 128 for unit "kbps".
std::optional<int> NumberWithUnit(std::string_view text, std::string_view unit)
{
    const std::string suffix = " " + std::string(unit);
    if (text.size() <= suffix.size() || text.substr(text.size() - suffix.size()) != suffix)
        return std::nullopt;
    return WholeNumber(text.substr(0, text.size() - suffix.size()));
}

struct FrameSize
{
    int width = 0;
    int height = 0;
};

std::optional<FrameSize> ParseFrameSize(std::string_view text)
{
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos)
        return std::nullopt;
    const auto width = WholeNumber(text.substr(0, x));
    const auto height = WholeNumber(text.substr(x + 1));
    if (!width || !height)
        return std::nullopt;
    return FrameSize{*width, *height};
}

int Macroblocks(FrameSize size)
{
    return ((size.width + 15) / 16) * ((size.height + 15) / 16);
}

std::vector<std::string> Words(std::string_view text)
{
    std::vector<std::string> words;
    std::istringstream in{std::string(text)};
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// The word after option, or "" when the option is absent.
std::string OptionValue(const std::vector<std::string>& words, std::string_view option)
{
    const auto it = std::find(words.begin(), words.end(), option);
    return it == words.end() || it + 1 == words.end() ? std::string() : *(it + 1);
}

// "2500k" -> 2500.
std::optional<int> Kilobits(std::string_view text)
{
    if (text.empty() || text.back() != 'k')
        return std::nullopt;
    return WholeNumber(text.substr(0, text.size() - 1));
}

// ITU-T H.264 Annex A, table A-1: macroblocks a frame and a second, bit rate (kbps) and coded picture
// buffer (kbit) for Baseline and Main; High allows 1.25 times the last two.
struct H264Level
{
    std::string_view name;
    int maxFrameMacroblocks;
    int maxMacroblocksPerSecond;
    int maxBitRate;
    int maxBuffer;
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
        m_file = ShippedFile(GetParam().identifier);
        ASSERT_TRUE(std::ifstream(m_file).good()) << m_file;
        for (ChoiceBox box : kChoiceBoxes)
            m_lists[Slot(box)] = ReadDefaultsList(m_file, box);
    }

    const std::vector<std::string>& List(ChoiceBox box) const { return m_lists[Slot(box)]; }

    std::string m_file;
    std::array<std::vector<std::string>, 8> m_lists;
};

TEST_P(ShippedProfileTest, LinesAreHeaderCommentsSectionsOrShortValues)
{
    std::istringstream lines(ReadWhole(m_file));
    std::string line;
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line, "; SPDX-License-Identifier: GPL-3.0-or-later");

    std::set<std::string> sections;
    std::set<std::string> keys; // of the current section
    std::string section;
    for (int number = 2; std::getline(lines, line); ++number) {
        const std::string_view text = TrimBlanks(line);
        if (text.empty())
            continue;
        if (text.front() == ';') {
            // The reader takes any line holding "=" for a key, comments included.
            EXPECT_EQ(text.find('='), std::string_view::npos) << "line " << number;
            continue;
        }
        if (text.front() == '[') {
            ASSERT_EQ(text.back(), ']') << "line " << number;
            section = std::string(text.substr(1, text.size() - 2));
            std::transform(section.begin(), section.end(), section.begin(), ::tolower);
            EXPECT_TRUE(sections.insert(section).second) << "repeated section " << section;
            keys.clear();
            continue;
        }
        const std::size_t eq = text.find('=');
        ASSERT_NE(eq, std::string_view::npos) << "line " << number;
        ASSERT_FALSE(section.empty()) << "key before any section, line " << number;
        std::string key(TrimBlanks(text.substr(0, eq)));
        std::transform(key.begin(), key.end(), key.begin(), ::tolower);
        EXPECT_TRUE(keys.insert(key).second) << "repeated key " << key << " in " << section;
        EXPECT_LT(TrimBlanks(text.substr(eq + 1)).size(), kIniValueMaxChars) << "line " << number;
    }
}

TEST_P(ShippedProfileTest, GeneralNamesFourOrMoreProfilesAndADefault)
{
    const int count = ReadNumberOfProfiles(m_file);
    EXPECT_GE(count, 4);
    const auto defaultProfile = ReadDefaultProfile(m_file);
    ASSERT_TRUE(defaultProfile.has_value());
    EXPECT_GE(*defaultProfile, 0);
    EXPECT_LT(*defaultProfile, count);

    std::set<std::string> names;
    for (int number = 1; number <= count; ++number) {
        const std::string name = ReadProfileName(m_file, number);
        EXPECT_FALSE(name.empty()) << ProfileSectionName(number);
        EXPECT_NE(name, kCustomProfileName);
        EXPECT_TRUE(names.insert(name).second) << "repeated name " << name;
    }
    EXPECT_EQ(ReadProfileName(m_file, count + 1), "") << "a profile beyond NumberOfProfiles";
}

TEST_P(ShippedProfileTest, DefaultsListsHaveTheirForms)
{
    for (ChoiceBox box : kChoiceBoxes) {
        EXPECT_FALSE(List(box).empty()) << ProfileKey(box);
        const std::set<std::string> distinct(List(box).begin(), List(box).end());
        EXPECT_EQ(distinct.size(), List(box).size()) << "repeated entry in " << ProfileKey(box);
    }
    for (const auto& codec : List(ChoiceBox::AudioCodec))
        EXPECT_FALSE(codec.empty());
    for (const auto& codec : List(ChoiceBox::VideoCodec))
        EXPECT_FALSE(codec.empty());
    for (const auto& entry : List(ChoiceBox::AudioBitrate)) {
        const auto kbps = NumberWithUnit(entry, "kbps");
        ASSERT_TRUE(kbps) << entry;
        EXPECT_LE(*kbps, kMaxAudioKbps) << entry;
    }
    for (const auto& entry : List(ChoiceBox::AudioSampleRate)) {
        const auto hertz = WholeNumber(entry);
        ASSERT_TRUE(hertz) << entry;
        EXPECT_TRUE(*hertz == 44100 || *hertz == 48000) << entry;
    }
    EXPECT_LE(List(ChoiceBox::AudioChannels).size(), 2u); // channels are position + 1
    for (const auto& entry : List(ChoiceBox::VideoSize)) {
        const auto size = ParseFrameSize(entry);
        ASSERT_TRUE(size) << entry;
        EXPECT_TRUE(size->width > 0 && size->width % 2 == 0) << entry;
        EXPECT_TRUE(size->height > 0 && size->height % 2 == 0) << entry;
    }
    for (const auto& entry : List(ChoiceBox::VideoBitrate))
        EXPECT_TRUE(NumberWithUnit(entry, "kbps")) << entry;
    for (const auto& entry : List(ChoiceBox::VideoFrameRate)) {
        const auto fps = NumberWithUnit(entry, "fps");
        ASSERT_TRUE(fps) << entry;
        EXPECT_TRUE(*fps > 0 && *fps <= kMaxFramesPerSecond) << entry;
    }
}

TEST_P(ShippedProfileTest, EveryCodecHasASectionWithinTheLists)
{
    for (const auto& codec : List(ChoiceBox::AudioCodec)) {
        const CodecSection section = ReadCodecSection(m_file, codec);
        // Audio alone is written without a format option, so the name must pick the container.
        EXPECT_EQ(section.extension, "m4a") << codec;
    }
    const auto& sizes = List(ChoiceBox::VideoSize);
    const auto& rates = List(ChoiceBox::VideoBitrate);
    for (const auto& codec : List(ChoiceBox::VideoCodec)) {
        SCOPED_TRACE(codec);
        const CodecSection section = ReadCodecSection(m_file, codec);
        EXPECT_FALSE(section.extension.empty());
        EXPECT_FALSE(section.videoFormat.empty());
        ASSERT_TRUE(section.maxVideoSize && section.maxVideoQuality);
        ASSERT_GE(*section.maxVideoSize, 0);
        ASSERT_LT(static_cast<std::size_t>(*section.maxVideoSize), sizes.size());
        ASSERT_GE(*section.maxVideoQuality, 0);
        ASSERT_LT(static_cast<std::size_t>(*section.maxVideoQuality), rates.size());

        const auto topKbps = NumberWithUnit(rates[*section.maxVideoQuality], "kbps");
        ASSERT_TRUE(topKbps) << rates[*section.maxVideoQuality];
        const auto words = Words(section.extraParameters);
        EXPECT_EQ(OptionValue(words, "-pix_fmt"), "yuv420p");
        for (std::string_view option : kProgramOptions)
            EXPECT_EQ(std::count(words.begin(), words.end(), option), 0) << option;
        const std::string maxrate = OptionValue(words, "-maxrate");
        if (!maxrate.empty()) {
            const auto kbps = Kilobits(maxrate);
            ASSERT_TRUE(kbps) << maxrate;
            EXPECT_GE(*kbps, *topKbps);
            EXPECT_TRUE(Kilobits(OptionValue(words, "-bufsize"))) << "maxrate without bufsize";
        }
        if (codec == "mpeg4") {
            EXPECT_LE(*topKbps, kMaxMpeg4Kbps);
            for (int i = 0; i <= *section.maxVideoSize; ++i) {
                const auto size = ParseFrameSize(sizes[i]);
                ASSERT_TRUE(size) << sizes[i];
                EXPECT_TRUE(size->width <= kMaxMpeg4Size.width && size->height <= kMaxMpeg4Size.height)
                    << sizes[i];
            }
        }
    }
}

// Each H.264 section names a profile and a level, and every size and frame rate the section allows, and
// its rate limits, fit that level.
TEST_P(ShippedProfileTest, H264SettingsFitTheirLevel)
{
    int h264Sections = 0;
    int topFps = 0;
    for (const auto& entry : List(ChoiceBox::VideoFrameRate))
        topFps = std::max(topFps, NumberWithUnit(entry, "fps").value_or(0));
    for (const auto& codec : List(ChoiceBox::VideoCodec)) {
        if (codec != "libx264")
            continue;
        ++h264Sections;
        const CodecSection section = ReadCodecSection(m_file, codec);
        const auto words = Words(section.extraParameters);
        const std::string profile = OptionValue(words, "-profile:v");
        ASSERT_TRUE(profile == "baseline" || profile == "main" || profile == "high")
            << section.extraParameters;
        const std::string levelName = OptionValue(words, "-level");
        const auto level = std::find_if(kH264Levels.begin(), kH264Levels.end(),
                                        [&](const H264Level& l) { return l.name == levelName; });
        ASSERT_NE(level, kH264Levels.end()) << section.extraParameters;
        EXPECT_EQ(OptionValue(words, "-pix_fmt"), "yuv420p");

        ASSERT_TRUE(section.maxVideoSize);
        ASSERT_LT(static_cast<std::size_t>(*section.maxVideoSize), List(ChoiceBox::VideoSize).size());
        for (int i = 0; i <= *section.maxVideoSize; ++i) {
            const auto size = ParseFrameSize(List(ChoiceBox::VideoSize)[i]);
            ASSERT_TRUE(size) << List(ChoiceBox::VideoSize)[i];
            EXPECT_LE(Macroblocks(*size), level->maxFrameMacroblocks) << List(ChoiceBox::VideoSize)[i];
            EXPECT_LE(Macroblocks(*size) * topFps, level->maxMacroblocksPerSecond)
                << List(ChoiceBox::VideoSize)[i] << " at " << topFps << " fps";
        }
        const int highFactor = profile == "high" ? 5 : 4; // quarters
        const auto maxrate = Kilobits(OptionValue(words, "-maxrate"));
        const auto bufsize = Kilobits(OptionValue(words, "-bufsize"));
        ASSERT_TRUE(maxrate && bufsize) << section.extraParameters;
        EXPECT_LE(*maxrate * 4, level->maxBitRate * highFactor);
        EXPECT_LE(*bufsize * 4, level->maxBuffer * highFactor);
    }
    EXPECT_EQ(h264Sections, 1);
}

TEST_P(ShippedProfileTest, ProfilesPointIntoTheListsAndStayInTheCodecLimits)
{
    const int count = ReadNumberOfProfiles(m_file);
    for (int number = 1; number <= count; ++number) {
        SCOPED_TRACE(ProfileSectionName(number));
        const ProfileSection profile = ReadProfileSection(m_file, number);
        for (CheckBox box : kCheckBoxes) {
            ASSERT_TRUE(profile.checks[Slot(box)]) << ProfileKey(box);
            EXPECT_TRUE(*profile.checks[Slot(box)] == 0 || *profile.checks[Slot(box)] == 1)
                << ProfileKey(box);
        }
        const bool audio = *profile.checks[Slot(CheckBox::AudioNoAudio)] == 0;
        const bool video = *profile.checks[Slot(CheckBox::VideoNoVideo)] == 0;
        EXPECT_TRUE(audio || video) << "neither sound nor picture";

        for (ChoiceBox box : kChoiceBoxes) {
            const auto index = profile.indexes[Slot(box)];
            ASSERT_TRUE(index) << ProfileKey(box);
            const bool used = IsAudioBox(box) ? audio : video;
            if (!used && *index == -1)
                continue; // a side that is switched off may leave its boxes alone
            EXPECT_GE(*index, 0) << ProfileKey(box);
            EXPECT_LT(static_cast<std::size_t>(*index), List(box).size()) << ProfileKey(box);
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

// The build copies each file beside the program, where the settings panel reads it.
TEST_P(ShippedProfileTest, BuildCopiesTheFileBesideTheProgram)
{
    const std::string copy = ProfileFilePath(ZANTROVE_APP_DIR, GetParam().identifier);
    ASSERT_TRUE(std::ifstream(copy).good()) << copy;
    EXPECT_EQ(ReadWhole(copy), ReadWhole(m_file));
}

std::string DeviceTestName(const ::testing::TestParamInfo<DeviceInfo>& info)
{
    std::string name(info.param.identifier);
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Devices, ShippedProfileTest, ::testing::ValuesIn(kDevices), DeviceTestName);

} // namespace
} // namespace zantrove
