// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ConversionStart.h"
#include "devices/EncodingSettingsModel.h"
#include "devices/VideoSizeEdit.h"
#include "tests/devices/ProfileFixture.h"

#include <gtest/gtest.h>

namespace zantrove {
namespace {

// Sizes 320x240|640x480|1280x720|1920x1080, rates 500|1000|2000 kbps; libx264 allows up to the third
// size and the second rate, mpeg4 has no limits.
constexpr const char* kLimits = R"([General]
NumberOfProfiles=1
[Defaults]
VideoCodec=libx264|mpeg4|
VideoSize=320x240|640x480|1280x720|1920x1080
VideoQuality=500 kbps|1000 kbps|2000 kbps
[Profile1]
Name=Movie
VideoCodec=0
VideoSize=0
VideoQuality=0
[libx264]
MaxVideoSize=2
MaxVideoQuality=1
[mpeg4]
Extension=mp4
)";

class ConversionStartTest : public ::testing::Test
{
protected:
    ConversionStartTest() : m_settings(m_folder.Folder())
    {
        m_folder.Write("iPhone", kLimits);
        m_settings.SwitchDevice("iPhone");
    }

    std::optional<UserMessage> Check(std::size_t rows = 1)
    {
        const Verdict verdict =
            CheckConversionStart(rows, m_settings, ProfileFileLookup(m_settings.ProfileFile()));
        return verdict ? std::nullopt : std::optional(verdict.error());
    }

    test::ProfileFolder m_folder;
    EncodingSettingsModel m_settings;
};

TEST_F(ConversionStartTest, EmptyListIsRefusedFirst)
{
    m_settings.SelectEntry(ChoiceBox::VideoSize, 3);
    const auto message = Check(0);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text, "Please, add one or more files to your list first.");
    EXPECT_EQ(message->icon, MessageIcon::Exclamation);
}

TEST_F(ConversionStartTest, SizeAboveTheCodecLimitNamesTheLargestAllowed)
{
    m_settings.SelectEntry(ChoiceBox::VideoSize, 3);
    m_settings.SelectEntry(ChoiceBox::VideoBitrate, 2); // the size check comes first
    const auto message = Check();
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text, "The maximum video size for the selected videocodec is: 1280x720");
}

TEST_F(ConversionStartTest, QualityAboveTheLimitWhenTheSizePasses)
{
    m_settings.SelectEntry(ChoiceBox::VideoSize, 2);
    m_settings.SelectEntry(ChoiceBox::VideoBitrate, 2);
    const auto message = Check();
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text, "The maximum video quality for the selected videocodec is: 1000 kbps");
    m_settings.SetChecked(CheckBox::VideoNoVideo, true); // checked with video off too
    EXPECT_TRUE(Check());
}

TEST_F(ConversionStartTest, NoLimitsOrNoCodecNeverRefuse)
{
    m_settings.SelectEntry(ChoiceBox::VideoSize, 3);
    m_settings.SelectEntry(ChoiceBox::VideoBitrate, 2);
    m_settings.SelectEntry(ChoiceBox::VideoCodec, 1); // mpeg4: no keys
    EXPECT_FALSE(Check());
    m_settings.SelectEntry(ChoiceBox::VideoCodec, 2); // empty codec text
    EXPECT_FALSE(Check());
}

TEST_F(ConversionStartTest, CustomSizeHasNoPositionAndPasses)
{
    // Typed into the size dialog; equal to the listed fourth size, which alone would be refused.
    EXPECT_TRUE(ConfirmVideoSize(m_settings, {"1920", "1080"}));
    EXPECT_EQ(m_settings.SelectedPosition(ChoiceBox::VideoSize), -1);
    EXPECT_FALSE(Check());
}

TEST(ConversionCancelledTest, CriticalTwoLines)
{
    const UserMessage message = ConversionCancelledMessage();
    EXPECT_EQ(message.icon, MessageIcon::Critical);
    EXPECT_EQ(message.text,
              "The conversion was cancelled!\r\nYou can go back and change your settings, or try to "
              "convert your video files again.");
}

} // namespace
} // namespace zantrove
