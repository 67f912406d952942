// SPDX-License-Identifier: GPL-3.0-or-later
// What refuses a start: an empty list, the codec's limits, and the component's encoder check.
#include "conversion/ConversionStart.h"
#include "conversion/EncoderAvailability.h"
#include "devices/EncodingSettingsModel.h"
#include "devices/ProfileFile.h"
#include "devices/VideoSizeEdit.h"
#include "tests/devices/ProfileFixture.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zantrove {
namespace {
namespace fs = std::filesystem;

// The refusal's text, or "" when the start may go on.
std::string Refusal(const Verdict& verdict, MessageIcon icon = MessageIcon::Critical)
{
    if (verdict)
        return "";
    EXPECT_EQ(verdict.error().icon, icon);
    return verdict.error().text;
}

TEST(ConversionStartTest, EmptyListThenSizeThenQualityLimits)
{
    // libx264 allows up to the third size and the second rate, libxvid only the first rate; mpeg4
    // and the empty codec have no limits.
    test::ProfileFolder folder;
    folder.Write("iPhone", "[General]\nNumberOfProfiles=1\n[Defaults]\nVideoCodec=libx264|mpeg4|libxvid|\n"
                           "VideoSize=320x240|640x480|1280x720|1920x1080\n"
                           "VideoQuality=500 kbps|1000 kbps|2000 kbps\n[Profile1]\nName=Movie\nVideoCodec=0\n"
                           "VideoSize=0\nVideoQuality=0\n[libx264]\nMaxVideoSize=2\nMaxVideoQuality=1\n"
                           "[libxvid]\nMaxVideoQuality=0\n");
    EncodingSettingsModel settings(folder.Folder());
    settings.SwitchDevice("iPhone");
    const auto check = [&](std::size_t rows = 1) {
        return Refusal(CheckConversionStart(rows, settings, ProfileFileLookup(settings.ProfileFile())),
                       MessageIcon::Exclamation);
    };
    settings.SelectEntry(ChoiceBox::VideoSize, 3);
    settings.SelectEntry(ChoiceBox::VideoBitrate, 2);
    EXPECT_EQ(check(0), "Please, add one or more files to your list first.");
    EXPECT_EQ(check(), "The maximum video size for the selected videocodec is: 1280x720");
    settings.SelectEntry(ChoiceBox::VideoSize, 2);
    const std::string quality = "The maximum video quality for the selected videocodec is: ";
    EXPECT_EQ(check(), quality + "1000 kbps");
    settings.SetChecked(CheckBox::VideoNoVideo, true); // checked with video off too
    EXPECT_EQ(check(), quality + "1000 kbps");
    for (const int codec : {1, 3}) {
        settings.SelectEntry(ChoiceBox::VideoCodec, codec);
        EXPECT_EQ(check(), "") << codec;
    }
    settings.SelectEntry(ChoiceBox::VideoCodec, 2);
    EXPECT_EQ(check(), quality + "500 kbps");
    // Typed into the size dialog, equal to the refused fourth size: no position, so it passes.
    settings.SelectEntry(ChoiceBox::VideoCodec, 0);
    settings.SelectEntry(ChoiceBox::VideoBitrate, 0);
    EXPECT_TRUE(ConfirmVideoSize(settings, {"1920", "1080"}));
    EXPECT_EQ(check(), "");
}

EncoderSettings Codecs(std::string video, std::string audio, bool videoOff = false, bool audioOff = false)
{
    return {videoOff, video, "", false, "", "", false, audioOff, audio, "", "", -1, ""};
}

std::string Profile(std::string_view section, std::string_view key)
{
    return key != "VideoFormat" ? "" : section == "libx264" ? "mp4" : section == "mpeg4" ? "ipod" : "";
}

TEST(EncoderAvailabilityTest, ArgumentsFollowTheRunsSettings)
{
    using Arguments = std::vector<std::string>;
    EXPECT_EQ(EncoderCheckArguments(Codecs("libx264", "aac"), Profile),
              (Arguments{"--check", "-f", "mp4", "-vcodec", "libx264", "-acodec", "aac"}));
    // A codec without a VideoFormat leaves the container to the output's extension.
    EXPECT_EQ(EncoderCheckArguments(Codecs("libvpx", "aac", true), Profile),
              (Arguments{"--check", "-vn", "-acodec", "aac"}));
    EXPECT_EQ(EncoderCheckArguments(Codecs("libvpx", "aac", false, true), Profile),
              (Arguments{"--check", "-vcodec", "libvpx", "-an"}));
    EXPECT_EQ(EncoderCheckArguments(Codecs("", ""), Profile), (Arguments{"--check"}));
}

TEST(EncoderAvailabilityTest, TheComponentsAnswerBecomesTheRefusal)
{
    // Components/Zantrove.dll is an empty executable file: only the fake runner answers for it.
    const std::string folder = test::MakeTempFolder("app");
    CreateFolderPath(folder + "/Components");
    test::WriteTextFile(folder + "/Components/Zantrove.dll", "");
    fs::permissions(folder + "/Components/Zantrove.dll", fs::perms::owner_all);
    const std::string lacks =
        "video encoder libx264 is missing; it comes with the Debian package libavcodec59";
    // The component's exit status, timeout and output, and what the refusal names after its first line.
    const std::tuple<int, bool, std::string, std::string> answers[] = {
        {0, false, "", ""},
        {1, false, lacks + "\r\nZantrove: audio encoder aac is missing\n\n",
         "The installed ffmpeg lacks what these settings need:\r\n" + lacks +
             "\r\naudio encoder aac is missing"},
        {2, false, "Zantrove: no ffmpeg found\n", "no ffmpeg found"},
        {3, false, "bad\n", "The encoder check failed (status 3)\r\nbad"},
        {0, true, "", "The encoder check did not finish"},
    };
    for (const auto& [exitCode, timedOut, output, named] : answers) {
        const auto runner = [&](const std::string&,
                                const std::vector<std::string>&) -> Expected<CapturedRun, Error> {
            if (timedOut)
                return Unexpected{Error{"stopped", {}, kTimedOutCode}};
            return CapturedRun{exitCode, output};
        };
        const std::string refusal =
            Refusal(CheckEncoderAvailability(folder, Codecs("libx264", "aac"), Profile, runner));
        EXPECT_TRUE(named.empty() ? refusal.empty()
                                  : refusal.starts_with("The conversion could not be started.\r\n" + named))
            << refusal;
    }
    // No "#!" line and no executable format: exec refuses it.
    test::WriteTextFile(folder + "/Components/Zantrove.dll", std::string("\x7f"
                                                                         "ELF-not-really",
                                                                         16));
    EXPECT_NE(Refusal(CheckEncoderAvailability(folder, Codecs("libx264", "aac"), Profile))
                  .find("The encoder component could not be run: "),
              std::string::npos);
}

} // namespace
} // namespace zantrove
