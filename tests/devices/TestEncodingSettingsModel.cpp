// SPDX-License-Identifier: GPL-3.0-or-later
#include "devices/EncodingSettingsModel.h"
#include "tests/devices/ProfileFixture.h"

#include <chrono>
#include <gtest/gtest.h>

namespace zantrove {
namespace {
using test::kSampleProfile;
using test::ProfileFolder;
using Entries = std::vector<std::string>;

class EncodingSettingsModelTest : public ::testing::Test
{
protected:
    EncodingSettingsModelTest() : m_model(m_folder.Folder()) { m_folder.Write("iPad", kSampleProfile); }

    // The sample with another DefaultProfile.
    static std::string WithDefault(const std::string& value)
    {
        std::string text = kSampleProfile;
        const std::string key = "DefaultProfile=0";
        return text.replace(text.find(key), key.size(), "DefaultProfile=" + value);
    }

    std::string ProfileText() const { return m_model.ProfileEntries().at(m_model.SelectedProfile()); }

    ProfileFolder m_folder;
    EncodingSettingsModel m_model;
};

TEST_F(EncodingSettingsModelTest, SwitchDeviceFillsListsAndAppliesDefault)
{
    m_model.SwitchDevice("iPad");
    EXPECT_EQ(m_model.SelectedDevice(), "iPad");
    EXPECT_EQ(m_model.SelectedDeviceIndex(), 4);
    EXPECT_EQ(m_model.ProfileEntries(), (Entries{"Movie", "Audio Only", "Small", "Custom"}));
    EXPECT_EQ(m_model.SelectedProfile(), 0);
    EXPECT_TRUE(m_model.ProfileApplied());
    EXPECT_EQ(m_model.Entries(ChoiceBox::VideoSize), (Entries{"320x240", "640x480", "1280x720"}));
    EXPECT_EQ(m_model.Text(ChoiceBox::VideoSize), "640x480");
    EXPECT_EQ(m_model.Text(ChoiceBox::AudioBitrate), "128 kbps");
    EXPECT_EQ(m_model.SelectedPosition(ChoiceBox::AudioChannels), 1);
    EXPECT_TRUE(m_model.IsChecked(CheckBox::VideoKeepAspectRatio));
    EXPECT_EQ(m_model.LastVideoSizeIndex(), 1);
}

TEST_F(EncodingSettingsModelTest, DefaultProfileSelectsByPosition)
{
    m_folder.Write("iPod-Nano", WithDefault("2"));
    m_model.SwitchDevice("iPod-Nano");
    EXPECT_EQ(ProfileText(), "Small");
    EXPECT_EQ(m_model.Text(ChoiceBox::VideoCodec), "mpeg4");
    EXPECT_EQ(m_model.Text(ChoiceBox::VideoFrameRate), "30 fps");
}

TEST_F(EncodingSettingsModelTest, DefaultEqualToCountAppliesNothing)
{
    m_folder.Write("iPhone", WithDefault("3"));
    m_model.SwitchDevice("iPhone");
    EXPECT_EQ(m_model.ProfileEntries().size(), 4u);
    EXPECT_EQ(m_model.ProfileEntries().back(), "Custom");
    EXPECT_EQ(m_model.SelectedProfile(), -1);
    EXPECT_FALSE(m_model.ProfileApplied());
    EXPECT_EQ(m_model.SelectedPosition(ChoiceBox::VideoSize), -1);
    // No profile applied yet, so a change keeps the list as it is.
    m_model.SelectEntry(ChoiceBox::VideoSize, 2);
    EXPECT_EQ(m_model.SelectedProfile(), -1);
}

TEST_F(EncodingSettingsModelTest, MissingFileOffersOnlyCustom)
{
    m_model.SwitchDevice("iPod-Touch");
    EXPECT_EQ(m_model.ProfileEntries(), (Entries{"Custom"}));
    EXPECT_FALSE(m_model.ProfileApplied());
    for (ChoiceBox box : kChoiceBoxes)
        EXPECT_TRUE(m_model.Entries(box).empty());
}

TEST_F(EncodingSettingsModelTest, UnknownDeviceShowsNoMarkerAndRunsAllTheSame)
{
    m_model.SwitchDevice("ipad");
    EXPECT_EQ(m_model.SelectedDeviceIndex(), -1);
    EXPECT_EQ(m_model.SelectedDevice(), "ipad");
    EXPECT_EQ(m_model.ProfileEntries(), (Entries{"Custom"}));
}

TEST_F(EncodingSettingsModelTest, ChangeAfterProfileTurnsListToCustomAndProfileRestores)
{
    m_model.SwitchDevice("iPad");
    m_model.SelectEntry(ChoiceBox::AudioSampleRate, 1);
    EXPECT_EQ(ProfileText(), "Custom");
    EXPECT_EQ(m_model.Text(ChoiceBox::AudioSampleRate), "48000");
    EXPECT_TRUE(m_model.SelectProfile(0));
    EXPECT_EQ(ProfileText(), "Movie");
    EXPECT_EQ(m_model.Text(ChoiceBox::AudioSampleRate), "44100");
}

TEST_F(EncodingSettingsModelTest, ChoosingCustomKeepsEverySetting)
{
    m_model.SwitchDevice("iPad");
    m_model.SelectProfile(3);
    EXPECT_EQ(ProfileText(), "Custom");
    EXPECT_EQ(m_model.Text(ChoiceBox::VideoSize), "640x480");
    EXPECT_FALSE(m_model.SelectProfile(4));
}

TEST_F(EncodingSettingsModelTest, NoAudioDisablesAudioBoxes)
{
    m_model.SwitchDevice("iPad");
    m_model.SetChecked(CheckBox::AudioNoAudio, true);
    for (ChoiceBox box : {ChoiceBox::AudioCodec, ChoiceBox::AudioBitrate, ChoiceBox::AudioSampleRate,
                          ChoiceBox::AudioChannels})
        EXPECT_FALSE(m_model.IsEnabled(box));
    EXPECT_TRUE(m_model.IsEnabled(ChoiceBox::VideoCodec));
    EXPECT_EQ(ProfileText(), "Custom");
    m_model.SetChecked(CheckBox::AudioNoAudio, false);
    EXPECT_TRUE(m_model.IsEnabled(ChoiceBox::AudioCodec));
}

TEST_F(EncodingSettingsModelTest, NoVideoOverridesExtremeQualityForBitRate)
{
    m_model.SwitchDevice("iPad");
    m_model.SetChecked(CheckBox::VideoOriginalQuality, true);
    EXPECT_FALSE(m_model.IsEnabled(ChoiceBox::VideoBitrate));
    m_model.SetChecked(CheckBox::VideoNoVideo, true);
    for (ChoiceBox box :
         {ChoiceBox::VideoCodec, ChoiceBox::VideoSize, ChoiceBox::VideoBitrate, ChoiceBox::VideoFrameRate})
        EXPECT_FALSE(m_model.IsEnabled(box));
    EXPECT_FALSE(m_model.IsEditVideoSizeEnabled());
    EXPECT_FALSE(m_model.IsEnabled(CheckBox::VideoKeepAspectRatio));
    EXPECT_FALSE(m_model.IsEnabled(CheckBox::VideoOriginalQuality));
    EXPECT_TRUE(m_model.IsEnabled(CheckBox::VideoNoVideo));
    m_model.SetChecked(CheckBox::VideoNoVideo, false);
    EXPECT_TRUE(m_model.IsEnabled(ChoiceBox::VideoBitrate));
    EXPECT_TRUE(m_model.IsChecked(CheckBox::VideoOriginalQuality));
}

TEST_F(EncodingSettingsModelTest, TypedSizeIsRefusedAndChosenEntryComesBack)
{
    m_model.SwitchDevice("iPad");
    m_model.SelectEntry(ChoiceBox::VideoSize, 2);
    m_model.SelectProfile(0); // back to the profile, whose size is position 1
    std::vector<UserMessage> shown;
    std::string profileWhileShown;
    EXPECT_FALSE(m_model.EditVideoSizeText("1", [&](const UserMessage& message) {
        shown.push_back(message);
        profileWhileShown = ProfileText();
    }));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, kTypedVideoSizeMessage);
    EXPECT_EQ(shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(profileWhileShown, "Movie"); // the message first, the entry after it
    EXPECT_EQ(m_model.Text(ChoiceBox::VideoSize), "640x480");
    EXPECT_EQ(m_model.SelectedPosition(ChoiceBox::VideoSize), 1);
    // The restoring choice is a choice like any other.
    EXPECT_EQ(ProfileText(), "Custom");
}

TEST_F(EncodingSettingsModelTest, TypedSizeWithNothingChosenRestoresFirstEntry)
{
    m_folder.Write("iPhone", "[General]\nNumberOfProfiles=1\n[Profile1]\nName=No Size\n"
                             "[Defaults]\nVideoSize=320x240|640x480\n");
    m_model.SwitchDevice("iPhone");
    EXPECT_EQ(m_model.SelectedPosition(ChoiceBox::VideoSize), -1);
    EXPECT_FALSE(m_model.EditVideoSizeText("9x9", {}));
    EXPECT_EQ(m_model.SelectedPosition(ChoiceBox::VideoSize), 0);
    EXPECT_EQ(m_model.Text(ChoiceBox::VideoSize), "320x240");
}

TEST_F(EncodingSettingsModelTest, BadProfileValuesAreSkippedAndTheRestApplies)
{
    m_folder.Write("iPhone", "[General]\nNumberOfProfiles=2\n[Defaults]\nAudioCodec=aac\n"
                             "VideoSize=320x240|640x480\nVideoCodec=libx264\n"
                             "[Profile1]\nName=Good\nVideoSize=1\nVideoCodec=0\nAudioCodec=0\n"
                             "[Profile2]\nName=Bad\nVideoSize=7\nVideoCodec=zero\nAudioCodec=-1\n"
                             "AudioNoAudio=2\nVideoNoVideo=3\nVideoKeepAspectRatio=1\n");
    m_model.SwitchDevice("iPhone");
    m_model.SelectProfile(1);
    EXPECT_EQ(m_model.Text(ChoiceBox::VideoSize), "640x480");       // outside its list: kept
    EXPECT_EQ(m_model.Text(ChoiceBox::VideoCodec), "libx264");      // not a number: kept
    EXPECT_EQ(m_model.SelectedPosition(ChoiceBox::AudioCodec), -1); // -1 clears
    EXPECT_TRUE(m_model.IsChecked(CheckBox::VideoKeepAspectRatio));
    // 2 is the greyed state: set as read, it disables the audio boxes but is not "on".
    EXPECT_EQ(m_model.CheckState(CheckBox::AudioNoAudio), kGreyed);
    EXPECT_FALSE(m_model.IsChecked(CheckBox::AudioNoAudio));
    EXPECT_FALSE(m_model.IsEnabled(ChoiceBox::AudioCodec));
    EXPECT_EQ(m_model.CheckState(CheckBox::VideoNoVideo), kUnchecked); // no state: kept
    EXPECT_TRUE(m_model.ProfileApplied());
    EXPECT_EQ(ProfileText(), "Bad");
}

TEST_F(EncodingSettingsModelTest, ProfileNamedCustomCannotBeApplied)
{
    m_folder.Write("iPhone", "[General]\nNumberOfProfiles=1\n[Defaults]\nVideoSize=320x240\n"
                             "[Profile1]\nName=Custom\nVideoSize=0\n");
    m_model.SwitchDevice("iPhone");
    EXPECT_EQ(m_model.ProfileEntries(), (Entries{"Custom", "Custom"}));
    EXPECT_FALSE(m_model.ProfileApplied());
    EXPECT_EQ(m_model.SelectedPosition(ChoiceBox::VideoSize), -1);
}

TEST_F(EncodingSettingsModelTest, NoVideoAcrossDeviceSwitches)
{
    m_folder.Write("iPhone", "[General]\nNumberOfProfiles=1\n[Profile1]\nName=Plain\n");
    m_model.SwitchDevice("iPad");
    m_model.SelectProfile(1); // "Audio Only" checks "No Video"
    ASSERT_TRUE(m_model.IsChecked(CheckBox::VideoNoVideo));
    m_model.SwitchDevice("iPod-Classic"); // no file: nothing applies "No Video"
    EXPECT_TRUE(m_model.IsChecked(CheckBox::VideoNoVideo));
    m_model.SwitchDevice("iPhone"); // a profile without the key applies its default 0
    EXPECT_FALSE(m_model.IsChecked(CheckBox::VideoNoVideo));
    EXPECT_TRUE(m_model.IsEnabled(ChoiceBox::VideoSize));
}

TEST_F(EncodingSettingsModelTest, SwitchingAgainDropsManualChanges)
{
    m_model.SwitchDevice("iPad");
    m_model.SelectEntry(ChoiceBox::VideoSize, 2);
    m_model.SetChecked(CheckBox::AudioNoAudio, true);
    m_model.SwitchDevice("iPad");
    EXPECT_EQ(m_model.Text(ChoiceBox::VideoSize), "640x480");
    EXPECT_FALSE(m_model.IsChecked(CheckBox::AudioNoAudio));
    EXPECT_EQ(ProfileText(), "Movie");
}

TEST_F(EncodingSettingsModelTest, EditedFileCountsAtNextSwitch)
{
    m_model.SwitchDevice("iPad");
    m_folder.Write("iPad", "[General]\nNumberOfProfiles=1\n[Profile1]\nName=Edited\n");
    m_model.SwitchDevice("iPad");
    EXPECT_EQ(m_model.ProfileEntries(), (Entries{"Edited", "Custom"}));
}

TEST_F(EncodingSettingsModelTest, ManyProfilesAreReadInOnePass)
{
    std::string text = kSampleProfile;
    text.replace(text.find("NumberOfProfiles=3"), 18, "NumberOfProfiles=2000");
    for (int number = 4; number <= 2000; ++number)
        text += "[Profile" + std::to_string(number) +
                "]\nName=P\nAudioCodec=0\nAudioQuality=1\nAudioSampleRate=0\n"
                "AudioChannels=1\nVideoCodec=0\nVideoSize=1\nVideoQuality=0\nVideoFrameRate=0\n";
    m_folder.Write("iPad", text);
    const auto start = std::chrono::steady_clock::now();
    m_model.SwitchDevice("iPad");
    // Reading the file once per key took many seconds here.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(m_model.ProfileEntries().size(), 2001u);
    EXPECT_EQ(m_model.Text(ChoiceBox::VideoSize), "640x480");
}

TEST_F(EncodingSettingsModelTest, ListenersRunOnceAfterEachOuterChange)
{
    int calls = 0;
    const int id = m_model.AddListener([&] { ++calls; });
    m_model.SwitchDevice("iPad");
    EXPECT_EQ(calls, 1);
    m_model.SetChecked(CheckBox::AudioNoAudio, true);
    EXPECT_EQ(calls, 2);
    m_model.SetChecked(CheckBox::AudioNoAudio, true); // no change, no reaction
    EXPECT_EQ(calls, 2);
    m_model.RemoveListener(id);
    m_model.SelectProfile(0);
    EXPECT_EQ(calls, 2);
}

} // namespace
} // namespace zantrove
