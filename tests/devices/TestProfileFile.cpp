// SPDX-License-Identifier: GPL-3.0-or-later
#include "devices/ProfileFile.h"
#include "tests/devices/ProfileFixture.h"

#include <gtest/gtest.h>

namespace zantrove {
namespace {
using test::ProfileFolder;
using Entries = std::vector<std::string>;

struct SplitCase
{
    const char* name;
    const char* value;
    Entries expected;
};

class SplitProfileListTest : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitProfileListTest, CutsAtEveryBar)
{
    EXPECT_EQ(SplitProfileList(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, SplitProfileListTest,
                         ::testing::Values(SplitCase{"Empty", "", {}}, SplitCase{"One", "aac", {"aac"}},
                                           SplitCase{"EmptyMiddle", "a||b", {"a", "", "b"}},
                                           SplitCase{"TrailingBar", "a|b|", {"a", "b", ""}},
                                           SplitCase{"LeadingBar", "|a", {"", "a"}},
                                           SplitCase{"BlanksKept", " 96 kbps | x", {" 96 kbps ", " x"}}),
                         [](const auto& p) { return std::string(p.param.name); });

struct CountCase
{
    const char* name;
    const char* general;
    std::int16_t profiles;
    std::optional<std::int16_t> defaultProfile;
};

class GeneralSectionTest : public ::testing::TestWithParam<CountCase>
{
};

TEST_P(GeneralSectionTest, ReadsCountAndDefault)
{
    ProfileFolder folder;
    const std::string file = folder.Write("iPad", GetParam().general);
    EXPECT_EQ(ReadNumberOfProfiles(file), GetParam().profiles);
    EXPECT_EQ(ReadDefaultProfile(file), GetParam().defaultProfile);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GeneralSectionTest,
    ::testing::Values(
        CountCase{"Missing", "[Defaults]\nAudioCodec=aac\n", 0, 0},
        CountCase{"Zero", "[General]\nNumberOfProfiles=0\n", 0, 0},
        CountCase{"NonNumeric", "[General]\nNumberOfProfiles=three\nDefaultProfile=x\n", 0, std::nullopt},
        CountCase{"TooLarge", "[General]\nNumberOfProfiles=40000\n", 0, 0},
        CountCase{"TwoSigns", "[General]\nNumberOfProfiles=+-2\nDefaultProfile=+-1\n", 0, std::nullopt},
        CountCase{"Set", "[general]\nnumberofprofiles = 3\nDEFAULTPROFILE=2\n", 3, 2}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(ProfileFileTest, MissingFileReadsAsEmpty)
{
    ProfileFolder folder;
    const std::string file = ProfileFilePath(folder.Folder(), "iPhone");
    EXPECT_EQ(ReadNumberOfProfiles(file), 0);
    EXPECT_TRUE(ReadDefaultsList(file, ChoiceBox::VideoSize).empty());
    const CodecSection codec = ReadCodecSection(file, "libx264");
    EXPECT_EQ(codec.extension, "");
    EXPECT_FALSE(codec.maxVideoSize);
}

TEST(ProfileFileTest, BitRateListsComeFromQualityKeys)
{
    ProfileFolder folder;
    const std::string file = folder.Write("iPad", test::kSampleProfile);
    EXPECT_EQ(ReadDefaultsList(file, ChoiceBox::AudioBitrate), (Entries{"96 kbps", "128 kbps"}));
    EXPECT_EQ(ReadDefaultsList(file, ChoiceBox::VideoBitrate), (Entries{"768 kbps", "1500 kbps"}));
}

TEST(ProfileFileTest, ProfileSectionGivesDefaultsForMissingKeys)
{
    ProfileFolder folder;
    const std::string file =
        folder.Write("iPad", "[Profile1]\nName=Only Size\nVideoSize=2\nVideoNoVideo=x\n");
    const ProfileSection section = ReadProfileSection(file, 1);
    EXPECT_EQ(section.name, "Only Size");
    EXPECT_EQ(section.indexes[Slot(ChoiceBox::VideoSize)], 2);
    EXPECT_EQ(section.indexes[Slot(ChoiceBox::AudioCodec)], -1);
    EXPECT_EQ(section.checks[Slot(CheckBox::AudioNoAudio)], 0);
    EXPECT_FALSE(section.checks[Slot(CheckBox::VideoNoVideo)]); // not a number: skipped by the caller
    EXPECT_EQ(ReadProfileName(file, 2), "");
    EXPECT_EQ(ProfileSectionName(12), "Profile12");
}

TEST(ProfileFileTest, CodecSectionLimitsAbsentUnlessNumbers)
{
    ProfileFolder folder;
    const std::string file = folder.Write("iPad", "[libx264]\nVideoFormat=mp4\nExtraParameters=-level 3.1\n"
                                                  "Extension=mp4\nMaxVideoSize=0\nMaxVideoQuality=high\n");
    const CodecSection codec = ReadCodecSection(file, "libx264");
    EXPECT_EQ(codec.videoFormat, "mp4");
    EXPECT_EQ(codec.extraParameters, "-level 3.1");
    EXPECT_EQ(codec.extension, "mp4");
    EXPECT_EQ(codec.maxVideoSize, 0);
    EXPECT_FALSE(codec.maxVideoQuality);
}

TEST(ProfileFileTest, LongValuesAreCut)
{
    ProfileFolder folder;
    const std::string file = folder.Write("iPad", "[Defaults]\nVideoSize=" + std::string(300, 'a') + "\n");
    const Entries entries = ReadDefaultsList(file, ChoiceBox::VideoSize);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries.front().size(), 254u);
}

} // namespace
} // namespace zantrove
