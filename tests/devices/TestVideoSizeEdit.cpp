// SPDX-License-Identifier: GPL-3.0-or-later
#include "devices/EncodingSettingsModel.h"
#include "devices/VideoSizeEdit.h"
#include "tests/devices/ProfileFixture.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

namespace zantrove {
namespace {

struct OpenCase
{
    const char* name;
    const char* sizeText;
    VideoSizeEntries expected;
};

class OpenVideoSizeTest : public ::testing::TestWithParam<OpenCase>
{
};

TEST_P(OpenVideoSizeTest, SplitsAtFirstLowerCaseX)
{
    EXPECT_EQ(OpenVideoSizeEntries(GetParam().sizeText), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, OpenVideoSizeTest,
    ::testing::Values(OpenCase{"Listed", "320x240", {"320", "240"}},
                      OpenCase{"LeadingZero", "0640x480", {"640", "480"}}, OpenCase{"Empty", "", {}},
                      OpenCase{"UpperCaseX", "320X240", {}}, OpenCase{"SecondX", "320x240x1", {}},
                      OpenCase{"Fraction", "400.5x300", {}}, OpenCase{"TooLarge", "99999x1", {}},
                      OpenCase{"Blank", "320 x240", {}}, OpenCase{"HalfMissing", "320x", {}}),
    [](const auto& p) { return std::string(p.param.name); });

struct NumberCase
{
    const char* text;
    bool accepted;
    friend void PrintTo(const NumberCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }
};

class VideoSizeNumberTest : public ::testing::TestWithParam<NumberCase>
{
};

TEST_P(VideoSizeNumberTest, AcceptsWholePositiveNumbersOnly)
{
    EXPECT_EQ(IsVideoSizeNumber(GetParam().text), GetParam().accepted) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Table, VideoSizeNumberTest,
                         ::testing::Values(NumberCase{"400", true}, NumberCase{"1", true},
                                           NumberCase{"32767", true}, NumberCase{"0400", true},
                                           NumberCase{"0", false}, NumberCase{"-16", false},
                                           NumberCase{"+16", false}, NumberCase{"400.5", false},
                                           NumberCase{"32768", false}, NumberCase{"", false},
                                           NumberCase{"abc", false}, NumberCase{" 400", false},
                                           NumberCase{"400;rm", false}),
                         [](const auto& row) { return test::CaseName(row.param.text, row.index); });

class ConfirmVideoSizeTest : public ::testing::Test
{
protected:
    ConfirmVideoSizeTest() : m_model(m_folder.Folder())
    {
        m_folder.Write("iPad", test::kSampleProfile);
        m_model.SwitchDevice("iPad");
    }

    test::ProfileFolder m_folder;
    EncodingSettingsModel m_model;
};

TEST_F(ConfirmVideoSizeTest, WritesTypedSizeWithoutTurningToCustom)
{
    EXPECT_TRUE(ConfirmVideoSize(m_model, {"400", "300"}));
    EXPECT_EQ(m_model.Text(ChoiceBox::VideoSize), "400x300");
    EXPECT_EQ(m_model.SelectedPosition(ChoiceBox::VideoSize), -1);
    EXPECT_EQ(m_model.ProfileEntries().at(m_model.SelectedProfile()), "Movie");
    EXPECT_FALSE(m_model.AllowVideoSizeChange());
}

TEST_F(ConfirmVideoSizeTest, RefusesNonNumbersAndWritesNothing)
{
    for (const VideoSizeEntries& entries :
         {VideoSizeEntries{"abc", "300"}, VideoSizeEntries{"400", ""}, VideoSizeEntries{"0", "300"}}) {
        const auto message = ConfirmVideoSize(m_model, entries);
        ASSERT_FALSE(message);
        EXPECT_EQ(message.error().title, "Error");
        EXPECT_EQ(message.error().icon, MessageIcon::Critical);
        EXPECT_EQ(message.error().text, kVideoSizeErrorText);
        EXPECT_EQ(m_model.Text(ChoiceBox::VideoSize), "640x480");
    }
}

} // namespace
} // namespace zantrove
