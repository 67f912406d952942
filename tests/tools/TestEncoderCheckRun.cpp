// SPDX-License-Identifier: GPL-3.0-or-later
// The built encoder's check mode against the ffmpeg of this machine. Every shipped profile must
// pass, so a profile naming an encoder or container the ffmpeg lacks fails here.
#include "devices/ProfileFile.h"
#include "tests/support/TestHome.h"
#include "tests/tools/ToolProcess.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zantrove {
namespace {

namespace fs = std::filesystem;

constexpr const char* kComponent = ZANTROVE_APP_DIR "/Components/Zantrove.dll";

test::ToolResult Check(const std::vector<std::string>& options, const std::string& component = kComponent)
{
    std::vector<std::string> argv{component, "--check"};
    argv.insert(argv.end(), options.begin(), options.end());
    return test::RunTool(argv);
}

// A copy of the component in a folder of its own, so what lies beside it is up to the test. Not
// named as staged: tests that cancel a run stop every process of that name.
std::string CopyComponent(const std::string& folder)
{
    const std::string copy = folder + "/encoder-copy";
    fs::copy_file(kComponent, copy, fs::copy_options::overwrite_existing);
    return copy;
}

std::vector<std::string> ShippedProfiles()
{
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(ZANTROVE_SOURCE_DIR "/profiles")) {
        if (entry.path().extension() == ".ini")
            files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(EncoderCheckRunTest, EveryShippedProfileFindsItsEncodersAndContainer)
{
    const std::vector<std::string> files = ShippedProfiles();
    ASSERT_GE(files.size(), 5u);
    for (const std::string& file : files) {
        const std::vector<std::string> videoCodecs = ReadDefaultsList(file, ChoiceBox::VideoCodec);
        const std::vector<std::string> audioCodecs = ReadDefaultsList(file, ChoiceBox::AudioCodec);
        ASSERT_FALSE(videoCodecs.empty()) << file;
        ASSERT_FALSE(audioCodecs.empty()) << file;
        for (const std::string& video : videoCodecs) {
            const std::string format = ReadCodecSection(file, video).videoFormat;
            EXPECT_FALSE(format.empty()) << file << " " << video;
            for (const std::string& audio : audioCodecs) {
                const test::ToolResult result = Check({"-f", format, "-vcodec", video, "-acodec", audio});
                EXPECT_EQ(result.exitCode, 0) << file << ": " << result.out << result.err;
                EXPECT_EQ(result.out, "") << file;
            }
        }
        // Audio-only runs check the audio codec alone.
        for (const std::string& audio : audioCodecs) {
            const test::ToolResult result = Check({"-vn", "-acodec", audio});
            EXPECT_EQ(result.exitCode, 0) << file << ": " << result.out << result.err;
        }
    }
}

TEST(EncoderCheckRunTest, NonsenseCodecIsReportedMissing)
{
    const test::ToolResult result = Check({"-f", "mp4", "-vcodec", "libnothing", "-acodec", "aac"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "video encoder libnothing is missing; it comes with the ffmpeg package\n");

    const test::ToolResult audio = Check({"-vn", "-acodec", "libnothing"});
    EXPECT_EQ(audio.exitCode, 1);
    EXPECT_EQ(audio.out, "audio encoder libnothing is missing; it comes with the ffmpeg package\n");

    const test::ToolResult muxer = Check({"-f", "nothingfmt"});
    EXPECT_EQ(muxer.exitCode, 1);
    EXPECT_EQ(muxer.out, "muxer nothingfmt is missing; it comes with the ffmpeg package\n");
}

TEST(EncoderCheckRunTest, SwitchedOffCodecIsNotAskedAbout)
{
    EXPECT_EQ(Check({"-vn", "-vcodec", "libnothing", "-acodec", "aac"}).exitCode, 0);
    EXPECT_EQ(Check({"-f", "ipod", "-vcodec", "libx264", "-an", "-acodec", "libnothing"}).exitCode, 0);
}

TEST(EncoderCheckRunTest, NoFfmpegOnPathNorBesideGivesTwo)
{
    const std::string copy = CopyComponent(test::MakeTempFolder("alone"));
    const std::string emptyPath = test::MakeTempFolder("nopath");
    const test::ToolResult result =
        test::RunTool({"/usr/bin/env", "PATH=" + emptyPath, copy, "--check", "-vcodec", "libx264"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Zantrove: no ffmpeg found; install the Debian package ffmpeg\n");
}

TEST(EncoderCheckRunTest, AsksTheFfmpegBesideItBeforeThePath)
{
    // A stand-in that knows only mpeg4 and mp4: libx264 must then be missing although the
    // ffmpeg on PATH has it.
    const std::string folder = test::MakeTempFolder("beside");
    const std::string copy = CopyComponent(folder);
    test::WriteTextFile(folder + "/ffmpeg",
                        "#!/bin/sh\n"
                        "case \"$2\" in\n"
                        "-encoders) printf ' V..... = Video\\n ------\\n V.S... mpeg4  MPEG-4 "
                        "Visual\\n A..... aac  AAC\\n' ;;\n"
                        "-muxers) printf ' .E = Muxing supported\\n --\\n  E mp4  MP4\\n' ;;\n"
                        "*) exit 9 ;;\n"
                        "esac\n");
    ASSERT_EQ(::chmod((folder + "/ffmpeg").c_str(), 0755), 0);

    EXPECT_EQ(Check({"-f", "mp4", "-vcodec", "mpeg4", "-acodec", "aac"}, copy).exitCode, 0);
    const test::ToolResult result = Check({"-f", "ipod", "-vcodec", "libx264", "-acodec", "aac"}, copy);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "muxer ipod is missing; it comes with the Debian package libavformat59 (ffmpeg)\n"
                          "video encoder libx264 is missing; it comes with the Debian package libavcodec59 "
                          "(ffmpeg)\n");
}

TEST(EncoderCheckRunTest, FfmpegThatCannotListCountsAsNone)
{
    const std::string folder = test::MakeTempFolder("broken");
    const std::string copy = CopyComponent(folder);
    test::WriteTextFile(folder + "/ffmpeg", "#!/bin/sh\nexit 1\n");
    ASSERT_EQ(::chmod((folder + "/ffmpeg").c_str(), 0755), 0);
    const test::ToolResult result = Check({"-vcodec", "libx264"}, copy);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("could not list its encoders (status 1)"), std::string::npos) << result.err;
}

TEST(EncoderCheckRunTest, UnknownOptionIsAUsageError)
{
    const test::ToolResult result = Check({"-b", "700kbps"});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find("not -b"), std::string::npos) << result.err;
}

} // namespace
} // namespace zantrove
