// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Cli.h"

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

CliRun Invoke(const std::vector<std::string>& arguments)
{
    std::ostringstream out, err;
    CliContext context{out, err, ZANTROVE_APP_DIR};
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

} // namespace
} // namespace zantrove
