// SPDX-License-Identifier: GPL-3.0-or-later
// The profile file readers, the settings panel's model fed by them, and the custom size entry.
#include "devices/EncodingSettingsModel.h"
#include "devices/ProfileFile.h"
#include "devices/VideoSizeEdit.h"
#include "tests/devices/ProfileFixture.h"

#include <gtest/gtest.h>
#include <memory>
#include <tuple>

namespace zantrove {
namespace {
using Entries = std::vector<std::string>;

TEST(ProfileFile, ListsSplitAtEveryBarAndTheGeneralSectionGivesCountAndDefault)
{
    for (const auto& [value, expected] : {std::pair{"", ""},
                                          {"a||b", "[a][][b]"},
                                          {"a|b|", "[a][b][]"},
                                          {" 96 kbps | x", "[ 96 kbps ][ x]"}}) {
        std::string bracketed; // so that no entry and one empty entry differ
        for (const auto& entry : SplitProfileList(value))
            bracketed += "[" + entry + "]";
        EXPECT_EQ(bracketed, expected) << value;
    }
    test::ProfileFolder folder;
    using Row = std::tuple<const char*, std::int16_t, std::optional<std::int16_t>>;
    for (const auto& [general, profiles, defaultProfile] :
         {Row{"[Defaults]\nAudioCodec=aac\n", 0, 0},
          Row{"[General]\nNumberOfProfiles=three\nDefaultProfile=x\n", 0, std::nullopt},
          Row{"[General]\nNumberOfProfiles=40000\n", 0, 0},
          Row{"[general]\nnumberofprofiles = 3\nDEFAULTPROFILE=2\n", 3, 2}}) {
        const std::string file = folder.Write("iPad", general);
        EXPECT_EQ(ReadNumberOfProfiles(file), profiles) << general;
        EXPECT_EQ(ReadDefaultProfile(file), defaultProfile) << general;
    }
    EXPECT_EQ(ReadNumberOfProfiles(ProfileFilePath(folder.Folder(), "iPhone")), 0) << "no file";
    const std::string file = folder.Write("iPad", "[Defaults]\nVideoQuality=768 kbps\n");
    EXPECT_EQ(ReadDefaultsList(file, ChoiceBox::VideoBitrate), Entries{"768 kbps"}); // the Quality key
}

class SettingsModel : public ::testing::Test
{
protected:
    SettingsModel() : m_model(m_folder.Folder())
    {
        m_folder.Write("iPad", test::kSampleProfile);
        m_model.SwitchDevice("iPad");
    }

    // The sample with one text replaced.
    static std::string Sample(const std::string& from, const std::string& to)
    {
        std::string text = test::kSampleProfile;
        return text.replace(text.find(from), from.size(), to);
    }
    // A model that never saw another device, switched to one written with content.
    EncodingSettingsModel& Fresh(const std::string& content)
    {
        m_folder.Write("iPhone", content);
        m_fresh = std::make_unique<EncodingSettingsModel>(m_folder.Folder());
        m_fresh->SwitchDevice("iPhone");
        return *m_fresh;
    }
    std::string ProfileText() const { return m_model.ProfileEntries().at(m_model.SelectedProfile()); }

    test::ProfileFolder m_folder;
    EncodingSettingsModel m_model;
    std::unique_ptr<EncodingSettingsModel> m_fresh;
};

TEST_F(SettingsModel, SwitchDeviceFillsListsAndAppliesTheDefaultProfileByPosition)
{
    EXPECT_EQ(DeviceIndex(m_model.SelectedDevice()), 4);
    EXPECT_EQ(m_model.ProfileEntries(), (Entries{"Movie", "Audio Only", "Small", "Custom"}));
    EXPECT_EQ(ProfileText(), "Movie");
    EXPECT_EQ(m_model.Entries(ChoiceBox::VideoSize), (Entries{"320x240", "640x480", "1280x720"}));
    EXPECT_EQ(m_model.Text(ChoiceBox::VideoSize) + " " + m_model.Text(ChoiceBox::AudioBitrate),
              "640x480 128 kbps");
    EXPECT_TRUE(m_model.IsChecked(CheckBox::VideoKeepAspectRatio));
    EXPECT_EQ(m_model.LastVideoSizeIndex(), 1);

    m_folder.Write("iPod-Nano", Sample("DefaultProfile=0", "DefaultProfile=2"));
    m_model.SwitchDevice("iPod-Nano");
    EXPECT_EQ(ProfileText(), "Small");
    EXPECT_EQ(m_model.Text(ChoiceBox::VideoCodec) + " " + m_model.Text(ChoiceBox::VideoFrameRate),
              "mpeg4 30 fps");

    // A default equal to the count applies nothing, and a change then keeps the list as it is.
    EncodingSettingsModel& fresh = Fresh(Sample("DefaultProfile=0", "DefaultProfile=3"));
    EXPECT_FALSE(fresh.ProfileApplied());
    EXPECT_EQ(fresh.SelectedPosition(ChoiceBox::VideoSize), -1);
    fresh.SelectEntry(ChoiceBox::VideoSize, 2);
    EXPECT_EQ(fresh.SelectedProfile(), -1);
}

TEST_F(SettingsModel, MissingFileOrUnknownDeviceOffersOnlyCustomAndKeepsNoVideo)
{
    m_folder.Write("iPhone", "[General]\nNumberOfProfiles=1\n[Profile1]\nName=Plain\n");
    m_model.SelectProfile(1);           // "Audio Only" checks "No Video"
    m_model.SwitchDevice("iPod-Touch"); // no file: nothing applies "No Video"
    EXPECT_EQ(m_model.ProfileEntries(), Entries{"Custom"});
    EXPECT_TRUE(m_model.IsChecked(CheckBox::VideoNoVideo));
    for (ChoiceBox box : kChoiceBoxes)
        EXPECT_TRUE(m_model.Entries(box).empty());
    m_model.SwitchDevice("ipad");
    EXPECT_EQ(DeviceIndex(m_model.SelectedDevice()), -1);
    EXPECT_EQ(m_model.ProfileEntries(), Entries{"Custom"});
    m_model.SwitchDevice("iPhone"); // a profile without the key applies its default 0
    EXPECT_FALSE(m_model.IsChecked(CheckBox::VideoNoVideo));
    m_folder.Write("iPhone", "[General]\nNumberOfProfiles=1\n[Profile1]\nName=Edited\n");
    m_model.SwitchDevice("iPhone"); // an edited file counts at the next switch
    EXPECT_EQ(m_model.ProfileEntries(), (Entries{"Edited", "Custom"}));
}

TEST_F(SettingsModel, AChangeTurnsTheListToCustomUntilAProfileOrADeviceSwitchRestores)
{
    int calls = 0; // listeners run once after each outer change, and not for one that changes nothing
    const int id = m_model.AddListener([&] { ++calls; });
    m_model.SwitchDevice("iPad");
    m_model.SelectEntry(ChoiceBox::AudioSampleRate, 1);
    EXPECT_EQ(ProfileText() + " " + m_model.Text(ChoiceBox::AudioSampleRate), "Custom 48000");
    EXPECT_TRUE(m_model.SelectProfile(0));
    EXPECT_EQ(m_model.Text(ChoiceBox::AudioSampleRate), "44100");
    m_model.SelectProfile(3); // choosing Custom keeps every setting
    EXPECT_EQ(ProfileText() + " " + m_model.Text(ChoiceBox::AudioSampleRate), "Custom 44100");
    EXPECT_FALSE(m_model.SelectProfile(4));

    m_model.SelectEntry(ChoiceBox::VideoSize, 2);
    m_model.SetChecked(CheckBox::AudioNoAudio, true);
    m_model.SetChecked(CheckBox::AudioNoAudio, true);
    EXPECT_EQ(calls, 6);
    m_model.RemoveListener(id);
    m_model.SwitchDevice("iPad");
    EXPECT_EQ(m_model.Text(ChoiceBox::VideoSize), "640x480");
    EXPECT_FALSE(m_model.IsChecked(CheckBox::AudioNoAudio));
    EXPECT_EQ(ProfileText(), "Movie");
    EXPECT_EQ(calls, 6);
}

// Which boxes "No Audio" and "No Video" disable the profile fuzz target holds after every step.
TEST_F(SettingsModel, NoAudioTurnsToCustomAndNoVideoOverridesOriginalQuality)
{
    m_model.SetChecked(CheckBox::AudioNoAudio, true);
    EXPECT_FALSE(m_model.IsEnabled(ChoiceBox::AudioCodec));
    EXPECT_EQ(ProfileText(), "Custom");
    m_model.SetChecked(CheckBox::VideoOriginalQuality, true);
    EXPECT_FALSE(m_model.IsEnabled(ChoiceBox::VideoBitrate));
    m_model.SetChecked(CheckBox::VideoNoVideo, true);
    EXPECT_FALSE(m_model.IsEnabled(ChoiceBox::VideoBitrate));
    EXPECT_FALSE(m_model.IsEnabled(CheckBox::VideoOriginalQuality));
    m_model.SetChecked(CheckBox::VideoNoVideo, false);
    EXPECT_TRUE(m_model.IsEnabled(ChoiceBox::VideoBitrate));
    EXPECT_TRUE(m_model.IsChecked(CheckBox::VideoOriginalQuality));
}

TEST_F(SettingsModel, BadProfileValuesAreSkippedAndTheRestApplies)
{
    m_folder.Write("iPhone", "[General]\nNumberOfProfiles=2\n[Defaults]\nAudioCodec=aac\n"
                             "VideoSize=320x240|640x480\nVideoCodec=libx264\n"
                             "[Profile1]\nName=Good\nVideoSize=1\nVideoCodec=0\nAudioCodec=0\n"
                             "[Profile2]\nName=Bad\nVideoSize=7\nVideoCodec=zero\nAudioCodec=-1\n"
                             "AudioNoAudio=2\nVideoNoVideo=3\nVideoKeepAspectRatio=1\n"
                             "VideoOriginalQuality=1\n");
    m_model.SwitchDevice("iPhone");
    m_model.SelectProfile(1);
    EXPECT_EQ(m_model.Text(ChoiceBox::VideoSize), "640x480");       // outside its list: kept
    EXPECT_EQ(m_model.Text(ChoiceBox::VideoCodec), "libx264");      // not a number: kept
    EXPECT_EQ(m_model.SelectedPosition(ChoiceBox::AudioCodec), -1); // -1 clears
    EXPECT_TRUE(m_model.IsChecked(CheckBox::VideoKeepAspectRatio));
    EXPECT_TRUE(m_model.IsChecked(CheckBox::VideoOriginalQuality));
    // 2 is the greyed state: set as read, it disables the audio boxes but is not "on".
    EXPECT_EQ(m_model.CheckState(CheckBox::AudioNoAudio), kGreyed);
    EXPECT_FALSE(m_model.IsChecked(CheckBox::AudioNoAudio));
    EXPECT_FALSE(m_model.IsEnabled(ChoiceBox::AudioCodec));
    EXPECT_EQ(m_model.CheckState(CheckBox::VideoNoVideo), kUnchecked); // no state: kept
    EXPECT_EQ(ProfileText(), "Bad");

    // A profile named Custom cannot be applied.
    EncodingSettingsModel& fresh = Fresh("[General]\nNumberOfProfiles=1\n[Defaults]\nVideoSize=320x240\n"
                                         "[Profile1]\nName=Custom\nVideoSize=0\n");
    EXPECT_EQ(fresh.ProfileEntries(), (Entries{"Custom", "Custom"}));
    EXPECT_FALSE(fresh.ProfileApplied());
    EXPECT_EQ(fresh.SelectedPosition(ChoiceBox::VideoSize), -1);
}

TEST(VideoSizeEdit, OpensAtTheFirstLowerCaseXAndAcceptsWholePositiveNumbersOnly)
{
    EXPECT_EQ(OpenVideoSizeEntries("320x240"), (VideoSizeEntries{"320", "240"}));
    EXPECT_EQ(OpenVideoSizeEntries("0640x480"), (VideoSizeEntries{"640", "480"}));
    for (const char* bad : {"", "320X240", "320x240x1", "400.5x300", "99999x1", "320x"})
        EXPECT_EQ(OpenVideoSizeEntries(bad), VideoSizeEntries{}) << bad;
    for (const char* good : {"400", "1", "32767", "0400"})
        EXPECT_TRUE(IsVideoSizeNumber(good)) << good;
    for (const char* bad : {"0", "-16", "+16", "400.5", "32768", "", " 400", "400;rm"})
        EXPECT_FALSE(IsVideoSizeNumber(bad)) << bad;
}

TEST_F(SettingsModel, ATypedSizeIsRefusedAfterTheMessageAndTheChosenEntryComesBack)
{
    m_model.SelectEntry(ChoiceBox::VideoSize, 2);
    m_model.SelectProfile(0);       // back to the profile, whose size is position 1
    std::vector<std::string> shown; // the profile while each message is shown
    EXPECT_FALSE(m_model.EditVideoSizeText("1", [&](const UserMessage& message) {
        EXPECT_EQ(message.icon, MessageIcon::Exclamation);
        shown.push_back(ProfileText());
    }));
    EXPECT_EQ(shown, Entries{"Movie"}); // the message first, the entry after it
    EXPECT_EQ(m_model.Text(ChoiceBox::VideoSize), "640x480");
    EXPECT_EQ(ProfileText(), "Custom"); // the restoring choice is a choice like any other
    // Leaving the box with the size it shows is no edit: nothing is refused or said.
    EXPECT_TRUE(m_model.EditVideoSizeText("640x480", [](const UserMessage&) { ADD_FAILURE(); }));

    // With nothing chosen yet, the first entry comes back.
    EncodingSettingsModel& fresh = Fresh("[General]\nNumberOfProfiles=1\n[Profile1]\nName=No Size\n"
                                         "[Defaults]\nVideoSize=320x240|640x480\n");
    EXPECT_FALSE(fresh.EditVideoSizeText("9x9", {}));
    EXPECT_EQ(fresh.SelectedPosition(ChoiceBox::VideoSize), 0);
}

TEST_F(SettingsModel, AConfirmedSizeIsWrittenWithoutTurningToCustomAndBadOnesWriteNothing)
{
    for (const VideoSizeEntries& entries : {VideoSizeEntries{"abc", "300"}, {"400", ""}, {"0", "300"}}) {
        const auto message = ConfirmVideoSize(m_model, entries);
        EXPECT_EQ(message ? std::nullopt : std::optional(message.error().icon), MessageIcon::Critical);
        EXPECT_EQ(m_model.Text(ChoiceBox::VideoSize), "640x480");
    }
    EXPECT_TRUE(ConfirmVideoSize(m_model, {"400", "300"}));
    EXPECT_EQ(m_model.Text(ChoiceBox::VideoSize), "400x300");
    EXPECT_EQ(m_model.SelectedPosition(ChoiceBox::VideoSize), -1);
    EXPECT_EQ(ProfileText(), "Movie");
    EXPECT_FALSE(m_model.AllowVideoSizeChange());
}

} // namespace
} // namespace zantrove
