// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Cli.h"
#include "storage/FileUtilities.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>
#include <sstream>

namespace zantrove {
namespace {

struct CliRun
{
    int status;
    std::string out;
    std::string err;
};

CliRun Invoke(const std::vector<std::string>& arguments, const std::string& applicationFolder = ZANTROVE_APP_DIR)
{
    std::ostringstream out, err;
    CliContext context{out, err, applicationFolder};
    const int status = RunCli(arguments, context);
    return {status, out.str(), err.str()};
}

TEST(CliTest, VersionAndHelp)
{
    EXPECT_EQ(Invoke({"--version"}).out, "Zantrove 1.1\n");
    const CliRun help = Invoke({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("zantrove-cli devices"), std::string::npos);
}

TEST(CliTest, DevicesOnePerLine)
{
    const CliRun run = Invoke({"devices"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "iPod-Classic\niPod-Touch\niPod-Nano\niPhone\niPad\n");
}

TEST(CliTest, UnknownInputIsAOneLineUsageError)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, {"frobnicate"}, {"--frobnicate"}, {"devices", "extra"}}) {
        const CliRun run = Invoke(arguments);
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
    const CliRun run = Invoke({"profiles", "iPhone"}, folder);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "1\tMovie\n2\tTV Show\tdefault\n3\tAudio\n");
}

TEST(CliTest, ProfilesOfUnknownDeviceNamesTheFive)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"profiles", "ipad"}, {"profiles"}, {"profiles", "iPad", "iPhone"}}) {
        const CliRun run = Invoke(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("iPod-Classic, iPod-Touch, iPod-Nano, iPhone, iPad"), std::string::npos) << run.err;
    }
}

TEST(CliTest, ProfilesWithoutFileIsAnError)
{
    const CliRun run = Invoke({"profiles", "iPad"}, test::MakeTempFolder("empty"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("iPad.ini"), std::string::npos);
}

} // namespace
} // namespace zantrove
