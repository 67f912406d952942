// SPDX-License-Identifier: GPL-3.0-or-later
// zantrove-cli convert refuses to start when the encoder check fails, before anything is written.
#include "cli/Cli.h"
#include "platform/FileSystem.h"
#include "tests/media/MediaClips.h"
#include "tests/support/CliRun.h"
#include "tests/support/TestHome.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace zantrove {
namespace {
using test::CliRun;
using test::InvokeCli;

namespace fs = std::filesystem;

TEST(CliEncoderCheckTest, MissingComponentRefusesTheStart)
{
    const std::string clip = test::ClipPath(test::Clip::H264AacMp4);
    ASSERT_FALSE(clip.empty());
    // The profiles without the components beside them.
    const std::string folder = test::MakeTempFolder("app");
    fs::copy(ZANTROVE_APP_DIR "/Profiles", folder + "/Profiles");
    const std::string output = test::MakeTempFolder("out") + "/new";
    const CliRun run = InvokeCli({"convert", "--device", "iPhone", "--output", output, clip}, folder);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(
                  "zantrove-cli: The conversion could not be started.\nThe encoder component is missing: " +
                  folder + "/Components/Zantrove.dll\n"),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(FolderExists(output));
}

TEST(CliEncoderCheckTest, NoFfmpegRefusesTheStartAndSaysWhichPackage)
{
    const std::string clip = test::ClipPath(test::Clip::H264AacMp4); // made while ffmpeg is still found
    ASSERT_FALSE(clip.empty());
    ASSERT_FALSE(FileExists(ZANTROVE_APP_DIR "/Components/ffmpeg"));
    const std::string output = test::MakeTempFolder("out") + "/new";
    const char* saved = std::getenv("PATH");
    const std::string path = saved ? saved : "";
    ::setenv("PATH", test::MakeTempFolder("nopath").c_str(), 1);
    const CliRun run =
        InvokeCli({"convert", "--device", "iPod-Classic", "--output", output, "--dry-run", clip});
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "zantrove-cli: The conversion could not be started.\nno ffmpeg found; install the "
                       "Debian package ffmpeg\n");
    EXPECT_FALSE(FolderExists(output));
}

} // namespace
} // namespace zantrove
