// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Cli.h"
#include "platform/FileSystem.h"
#include "tests/support/CliRun.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>
#include <sstream>

namespace zantrove {
namespace {
using test::CliRun;
using test::InvokeCli;

TEST(CliTest, VersionAndHelpOfEveryCommand)
{
    EXPECT_EQ(InvokeCli({"--version"}).out, "Zantrove 1.1\n");
    const CliRun help = InvokeCli({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* line :
         {"\n  convert   ", "\n  devices   ", "\n  line      ", "\n  probe     ", "\n  profiles  "})
        EXPECT_NE(help.out.find(line), std::string::npos) << line;
    // Anywhere before "--", whatever else is given; after it, "--help" is a file name.
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"convert", "--help"},
                                                      {"convert", "--device", "iPad", "-h"},
                                                      {"line", "--help"},
                                                      {"probe", "-h"},
                                                      {"probe", "x.avi", "--help"},
                                                      {"devices", "--help"},
                                                      {"profiles", "-h"}}) {
        const CliRun run = InvokeCli(arguments);
        EXPECT_EQ(run.status, 0) << arguments.back();
        EXPECT_TRUE(run.out.starts_with("Usage: zantrove-cli " + arguments.front())) << run.out;
        EXPECT_NE(run.out.find("\nExample:\n  zantrove-cli " + arguments.front()), std::string::npos);
        EXPECT_EQ(run.err, "");
    }
    EXPECT_EQ(InvokeCli({"probe", "--", "--help"}).status, 1);
}

TEST(CliTest, DevicesOnePerLine)
{
    const CliRun run = InvokeCli({"devices"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "iPod-Classic\niPod-Touch\niPod-Nano\niPhone\niPad\n");
}

TEST(CliTest, UnknownInputIsAOneLineUsageError)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, {"frobnicate"}, {"--frobnicate"}, {"devices", "extra"}}) {
        const CliRun run = InvokeCli(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.empty());
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
}

TEST(CliTest, ProfilesNumberedWithTheDefaultMarked)
{
    const std::string folder = test::MakeTempFolder("app");
    CreateFolderPath(folder + "/Profiles");
    test::WriteTextFile(folder + "/Profiles/iPhone.ini", "[General]\nNumberOfProfiles=3\nDefaultProfile=1\n"
                                                         "[Profile1]\nName=Movie\n[Profile2]\nName=TV Show\n"
                                                         "[Profile3]\nName=Audio\n");
    const CliRun run = InvokeCli({"profiles", "iPhone"}, folder);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "1\tMovie\n2\tTV Show\tdefault\n3\tAudio\n");
}

TEST(CliTest, ProfilesOfUnknownDeviceNamesTheFive)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"profiles", "ipad"}, {"profiles"}, {"profiles", "iPad", "iPhone"}}) {
        const CliRun run = InvokeCli(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("iPod-Classic, iPod-Touch, iPod-Nano, iPhone, iPad"), std::string::npos)
            << run.err;
    }
}

TEST(CliTest, LineUsesTheDefaultOrNamedProfile)
{
    const std::string folder = test::MakeTempFolder("app");
    CreateFolderPath(folder + "/Profiles");
    test::WriteTextFile(
        folder + "/Profiles/iPhone.ini",
        "[General]\nNumberOfProfiles=2\nDefaultProfile=0\n"
        "[Defaults]\nAudioCodec=aac\nAudioQuality=128 kbps\nAudioSampleRate=44100\n"
        "AudioChannels=Mono|Stereo\nVideoCodec=libx264\nVideoSize=480x320\nVideoQuality=1000 kbps\n"
        "VideoFrameRate=30 fps\n"
        "[Profile1]\nName=Movie\nAudioCodec=0\nAudioQuality=0\nAudioSampleRate=0\nAudioChannels=1\n"
        "VideoCodec=0\nVideoSize=0\nVideoQuality=0\nVideoFrameRate=0\n"
        "[Profile2]\nName=Audio\nAudioCodec=0\nAudioQuality=0\nAudioSampleRate=0\nAudioChannels=0\n"
        "VideoNoVideo=1\n"
        "[libx264]\nVideoFormat=mp4\nExtension=mp4\nExtraParameters=-pix_fmt yuv420p\n"
        "[aac]\nExtension=m4a\n");
    const std::string missing = folder + "/no such clip.avi";
    const CliRun movie = InvokeCli({"line", "--device", "iPhone", "--output", "/out", missing}, folder);
    EXPECT_EQ(movie.status, 0) << movie.err;
    // An unreadable file still gets its line, named after its path.
    EXPECT_EQ(movie.out, "-i \"" + missing +
                             "\" -f mp4 -vcodec libx264 -s 480x320 -b 950kbps -r 30 -pix_fmt yuv420p "
                             "-acodec aac -ab 128kbps -ar 44100 -ac 2 -y \"/out/no such clip.mp4\"\n");
    // Its duration is 0, so a trim can only be empty.
    const CliRun audio = InvokeCli({"line", "--device", "iPhone", "--profile", "2", "--trim",
                                    "00:00:00-00:00:00", "--output", "/out", missing},
                                   folder);
    EXPECT_EQ(audio.out, "-i \"" + missing +
                             "\" -vn -ss 00:00:00 -t 00:00:00 -acodec aac -ab 128kbps -ar 44100 "
                             "-ac 1 -y \"/out/no such clip.m4a\"\n");
}

TEST(CliTest, LineRefusesWhatItCannotBuild)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"line", "--device", "iPad", "--output", "/o"},
          {"line", "--device", "ipad", "--output", "/o", "x.avi"},
          {"line", "--device", "iPad", "--profile", "99", "--output", "/o", "x.avi"},
          {"line", "--device", "iPad", "--profile", "Custom", "--output", "/o", "x.avi"},
          {"line", "--device", "iPad", "x.avi"},
          {"line", "--device", "iPad", "--output", "/o", "--trim", "1-2", "x.avi"},
          {"line", "--device", "iPad", "--output", "/o", "--fast", "x.avi"}}) {
        const CliRun run = InvokeCli(arguments);
        EXPECT_EQ(run.status, 2) << arguments.back();
        EXPECT_TRUE(run.out.empty());
    }
}

TEST(CliTest, ProfilesWithoutFileIsAnError)
{
    const CliRun run = InvokeCli({"profiles", "iPad"}, test::MakeTempFolder("empty"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("iPad.ini"), std::string::npos);
}

} // namespace
} // namespace zantrove
