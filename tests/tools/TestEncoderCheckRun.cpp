// SPDX-License-Identifier: GPL-3.0-or-later
// The built encoder's check mode against the ffmpeg of this machine. Every shipped profile must
// pass, so a profile naming an encoder or container the ffmpeg lacks fails here.
#include "devices/ProfileFile.h"
#include "tests/support/TestHome.h"
#include "tests/support/ToolProcess.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>

namespace zantrove {
namespace {

constexpr const char* kComponent = ZANTROVE_APP_DIR "/Components/Zantrove.dll";

test::ToolResult Check(const std::vector<std::string>& options, const std::string& component = kComponent)
{
    std::vector<std::string> argv{component, "--check"};
    argv.insert(argv.end(), options.begin(), options.end());
    return test::RunTool(argv);
}

TEST(EncoderCheckRunTest, EveryShippedProfileFindsItsEncodersAndContainer)
{
    int profiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ZANTROVE_SOURCE_DIR "/profiles")) {
        const std::string file = entry.path().string();
        if (entry.path().extension() != ".ini")
            continue;
        ++profiles;
        const std::vector<std::string> videoCodecs = ReadDefaultsList(file, ChoiceBox::VideoCodec);
        const std::vector<std::string> audioCodecs = ReadDefaultsList(file, ChoiceBox::AudioCodec);
        ASSERT_FALSE(videoCodecs.empty() || audioCodecs.empty()) << file;
        for (const std::string& audio : audioCodecs)
            for (const std::string& video : videoCodecs) {
                const std::string format = ReadCodecSection(file, video).videoFormat;
                const test::ToolResult result = Check({"-f", format, "-vcodec", video, "-acodec", audio});
                EXPECT_EQ(result.exitCode, 0) << file << " " << video << ": " << result.out << result.err;
            }
    }
    EXPECT_GE(profiles, 5);
}

// A copy in a folder of its own, so what lies beside it is up to the test. Not named as staged:
// tests that cancel a run stop every process of that name.
TEST(EncoderCheckRunTest, AsksTheFfmpegBesideItBeforeThePath)
{
    const std::string folder = test::MakeTempFolder("beside");
    const std::string copy = folder + "/encoder-copy";
    std::filesystem::copy_file(kComponent, copy);
    const auto fakeFfmpeg = [&folder](const std::string& body) {
        test::WriteTextFile(folder + "/ffmpeg", "#!/bin/sh\n" + body);
        return ::chmod((folder + "/ffmpeg").c_str(), 0755) == 0;
    };
    // One that cannot list counts as none.
    ASSERT_TRUE(fakeFfmpeg("exit 1\n"));
    const test::ToolResult broken = Check({"-vcodec", "libx264"}, copy);
    EXPECT_EQ(broken.exitCode, 2);
    EXPECT_NE(broken.err.find("could not list its encoders (status 1)"), std::string::npos) << broken.err;

    // Listings cut from Debian 12's ffmpeg 5.1, whose legends look like entries; libx264 is then
    // missing although the ffmpeg on PATH has it. Muxers may come as a comma list, and "-formats"
    // style lines count only when they mark muxing.
    ASSERT_TRUE(
        fakeFfmpeg("case \"$2\" in\n-encoders) cat <<'END'\nEncoders:\n V..... = Video\n A..... = Audio\n"
                   " ...X.. = Codec is experimental\n ------\n V....D libx264rgb  libx264 RGB (codec h264)\n"
                   " V.S... mpeg4  MPEG-4 Visual\n A..... aac  AAC (Advanced Audio Coding)\n"
                   " A....D libmp3lame  libmp3lame MP3 (codec mp3)\nEND\n;;\n-muxers) cat <<'END'\n"
                   "File formats:\n D. = Demuxing supported\n .E = Muxing supported\n --\n  E mp4  MP4\n"
                   "  E sdl,sdl2  SDL2 output device\n D  aa  Audible AA\n DE mov,m4a  QuickTime / MOV\n"
                   "END\n;;\n*) exit 9 ;;\nesac\n"));
    const std::string codec = " is missing; it comes with the Debian package libavcodec59 (ffmpeg)\n";
    const std::string muxer = " is missing; it comes with the Debian package libavformat59 (ffmpeg)\n";
    // The options, the exit status, and standard output, or for a usage error (3) a part of standard error.
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> answers{
        {{"-f", "mp4", "-vcodec", "mpeg4", "-acodec", "aac"}, 0, ""},
        // A codec name stands for its encoders; "copy" needs none.
        {{"-f", "sdl2", "-vcodec", "h264", "-acodec", "mp3"}, 0, ""},
        {{"-f", "m4a", "-vcodec", "copy", "-acodec", "copy"}, 0, ""},
        // A switched-off codec is not asked about; a bad argument is a usage error.
        {{"-vn", "-vcodec", "libnothing", "-acodec", "aac"}, 0, ""},
        {{"-f", "mp4", "-vcodec", "mpeg4", "-an", "-acodec", "libnothing"}, 0, ""},
        {{"libx264"}, 3, "not libx264"},
        {{"-vcodec"}, 3, "missing value for -vcodec"},
        {{"-f", "-vn"}, 3, "missing value for -f"},
        {{"-acodec", ""}, 3, "missing value for -acodec"},
        {{"-f", "ipod", "-vcodec", "libx264"}, 1, "muxer ipod" + muxer + "video encoder libx264" + codec},
        // An audio encoder is no video encoder, and the other way round.
        {{"-vcodec", "aac", "-acodec", "mpeg4"},
         1,
         "video encoder aac" + codec + "audio encoder mpeg4" + codec},
        {{"-f", "aa", "-acodec", "libopencore_amrnb"},
         1,
         "muxer aa is missing; it comes with the ffmpeg package\naudio encoder libopencore_amrnb is missing; "
         "it comes with the Debian package libavcodec-extra59 (in place of libavcodec59)\n"}};
    for (const auto& [options, exitCode, text] : answers) {
        const test::ToolResult result = Check(options, copy);
        EXPECT_EQ(result.exitCode, exitCode) << options[0] << " " << options.back();
        EXPECT_EQ(result.out, exitCode == 3 ? "" : text);
        EXPECT_NE(result.err.find(exitCode == 3 ? text : ""), std::string::npos) << result.err;
    }
}

} // namespace
} // namespace zantrove
