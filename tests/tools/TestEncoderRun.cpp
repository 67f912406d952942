// SPDX-License-Identifier: GPL-3.0-or-later
// The built encoder against the real ffmpeg, on clips made here, staged under the name the program
// gives it.
#include "platform/FileSystem.h"
#include "tests/media/MediaClips.h"
#include "tests/support/TestHome.h"
#include "tests/tools/ToolProcess.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zantrove {
namespace {

std::string MakeClip(const std::string& name, const std::string& arguments)
{
    const std::string path = test::ClipFolder() + "/" + name;
    const std::string command = "ffmpeg -nostdin -v error -y " + arguments + " " + test::ShellQuote(path);
    return test::RunShell(command + " </dev/null") ? path : std::string();
}

const char* const kH264Aac = " -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac";

std::string TestClip(int s)
{
    return MakeClip("test" + std::to_string(s) + ".mp4",
                    "-f lavfi -i testsrc2=size=160x120:rate=10 -f lavfi -i sine -t " + std::to_string(s) +
                        kH264Aac);
}

std::string Probe(const std::string& file, const std::string& entries)
{
    return test::RunTool(
               {"ffprobe", "-v", "error", "-show_entries", entries, "-of", "default=nw=1:nk=1", file})
        .out;
}

// A stand-in ffmpeg beside the staged encoder: it proves the lookup, and lets the outcome be chosen.
void WriteFakeFfmpeg(const std::string& folder, const std::string& body)
{
    test::WriteTextFile(folder + "/ffmpeg", "#!/bin/sh\nprintf '%s\\n' \"$@\" >\"${0%/*}/args.txt\"\n"
                                            "for last; do :; done\nlast=${last#file:}\n" +
                                                body);
    ::chmod((folder + "/ffmpeg").c_str(), 0755);
}

class EncoderRunTest : public ::testing::Test
{
protected:
    // A copy named as the program stages it, in a folder of its own without an ffmpeg beside it.
    void SetUp() override
    {
        m_folder = test::MakeTempFolder("encode");
        m_encoder = m_folder + "/Zantrove.exe";
        std::filesystem::copy_file(ZANTROVE_APP_DIR "/Components/Zantrove.dll", m_encoder);
    }
    test::ToolResult Encode(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), m_encoder);
        return test::RunTool(arguments);
    }

    std::string m_folder;
    std::string m_encoder;
};

struct SizeCase
{
    int width, height;
    const char* sizeOptions;
};

class EncoderSizeTest : public EncoderRunTest, public ::testing::WithParamInterface<SizeCase>
{
};

// The source is black with a white box 7/8 of its width and height, so the box has the source's
// proportions; in the output the box is measured on a decoded frame.
TEST_P(EncoderSizeTest, KeepsTheSourceProportions)
{
    const SizeCase& size = GetParam();
    const std::string frame = std::to_string(size.width) + "x" + std::to_string(size.height);
    const std::string source = MakeClip(
        "box" + frame + ".mp4", "-f lavfi -i color=s=" + frame +
                                    ":r=5:d=1,drawbox=x=iw/16:y=ih/16:w=iw*7/8:h=ih*7/8:c=white:t=fill"
                                    " -f lavfi -i sine=d=1" +
                                    kH264Aac);
    ASSERT_FALSE(source.empty());
    const std::string output = m_folder + "/out " + frame + ".mp4";
    std::vector<std::string> arguments{"-i", source, "-vcodec", "libx264"};
    std::istringstream words(size.sizeOptions);
    for (std::string word; words >> word;)
        arguments.push_back(word);
    arguments.insert(arguments.end(), {"-b", "600kbps", "-acodec", "aac", "-ab", "96kbps", "-y", output});
    const test::ToolResult run = Encode(arguments);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Probe(output, "stream=width,height,sample_aspect_ratio"), "320\n240\n1:1\n");

    const std::string gray = test::RunTool({"ffmpeg", "-nostdin", "-v", "error", "-i", output, "-frames:v",
                                            "1", "-f", "rawvideo", "-pix_fmt", "gray", "-"})
                                 .out;
    ASSERT_EQ(gray.size(), 320u * 240u);
    // Each pixel counts by its brightness between video black (16) and white (235), so a blurred edge
    // still adds up to the box's true size, to a fraction of a pixel.
    const auto white = [&gray](int x, int y) {
        return std::clamp((static_cast<unsigned char>(gray[std::size_t(y * 320 + x)]) - 16) / 219.0, 0.0,
                          1.0);
    };
    double boxWidth = 0, boxHeight = 0;
    for (int i = 0; i < 320; ++i) {
        boxWidth += white(i, 120);
        boxHeight += i < 240 ? white(160, i) : 0;
    }
    ASSERT_GT(boxHeight, 10.0);
    EXPECT_NEAR(boxWidth / boxHeight * size.height / size.width, 1.0, 0.01) << boxWidth << "x" << boxHeight;
    // The box is 7/8 of the picture's width whatever the case, so the picture spans all 320 columns.
    EXPECT_NEAR(boxWidth, 280.0, 1.5);
}

INSTANTIATE_TEST_SUITE_P(Cases, EncoderSizeTest,
                         ::testing::Values(SizeCase{640, 272, "-s 320x136 -padtop 52 -padbottom 52"},
                                           SizeCase{352, 288, "-croptop 12 -cropbottom 10 -s 320x240"},
                                           SizeCase{640, 480, "-s 320x240"}),
                         [](const auto& row) {
                             return std::to_string(row.param.width) + "x" + std::to_string(row.param.height);
                         });

// The trimmed encode lasts the asked time; its progress goes to standard output as CR-ended status
// lines whose time the reader turns into a share of the clip.
TEST_F(EncoderRunTest, TrimmedEncodeLastsTheAskedTimeAndReportsProgress)
{
    const std::string output = m_folder + "/trim.m4v";
    const test::ToolResult run =
        Encode({"-i",      TestClip(3), "-f",  "ipod",   "-vcodec", "libx264",  "-s", "160x120",
                "-b",      "300kbps",   "-r",  "10",     "-ss",     "00:00:01", "-t", "00:00:01",
                "-acodec", "aac",       "-ab", "64kbps", "-y",      output});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NEAR(std::stod(Probe(output, "format=duration")), 1.05, 0.1);
    EXPECT_FALSE(FileExists(output + ".part"));
    ASSERT_TRUE(run.out.ends_with('\r') && run.out.find('\n') == std::string::npos) << run.out;
    const std::regex shape(
        "frame= *[0-9]+ fps= *[0-9.]+ q=-?[0-9.]+ size=( *[0-9]+kB|N/A) time=([0-9]+\\.[0-9]+) "
        "bitrate=( *[0-9.]+kbits/s|N/A) speed=( *[0-9.e+]+x|N/A)");
    double last = -1;
    std::istringstream pieces(run.out);
    for (std::string piece; std::getline(pieces, piece, '\r');) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(piece, match, shape)) << piece;
        last = std::stod(match[2].str());
    }
    EXPECT_NEAR(last, 1.0, 0.15);
}

// Sound alone, picture alone, and of a sound whose default track is the second, that one. Started
// with the standard streams closed, the progress stays out of the file written.
TEST_F(EncoderRunTest, WritesTheStreamsAsked)
{
    const std::string source = test::ShellQuote(TestClip(1));
    const std::string twoTracks = MakeClip(
        "two tracks.mkv", "-f lavfi -i sine=duration=1 -f lavfi -i sine=duration=1 -map 0 -map 1 -ac:a:0 1 "
                          "-ac:a:1 2 -c:a aac -disposition:a:0 0 -disposition:a:1 default");
    struct Row
    {
        std::string arguments;
        const char* entries;
        const char* probed;
    };
    for (const Row& row : std::vector<Row>{
             {"-i " + source + " -vn -acodec aac -ab 128kbps -ar 44100 -ac 2",
              "stream=codec_type,sample_rate,channels", "audio\n44100\n2\n"},
             {"-i " + source + " -f mp4 -vcodec mpeg4 -s 160x120 -b 200kbps -an",
              "stream=codec_type,codec_name", "mpeg4\nvideo\n"},
             {"-i " + test::ShellQuote(twoTracks) + " -vn -acodec aac", "stream=channels", "2\n"}}) {
        const std::string output = m_folder + "/out" + std::to_string(row.arguments.size()) + ".mp4";
        ASSERT_TRUE(test::RunShell(test::ShellQuote(m_encoder) + " " + row.arguments + " -y " +
                                   test::ShellQuote(output) + " <&- >&-"))
            << row.arguments;
        EXPECT_EQ(Probe(output, row.entries), row.probed) << row.arguments;
        EXPECT_EQ(test::ReadTextFile(output).find("time="), std::string::npos);
    }
}

// Every failure is one line on standard error filed under the source, and leaves no output.
TEST_F(EncoderRunTest, FailuresAreFiledUnderTheSourceAndWriteNothing)
{
    const std::string missing = m_folder + "/no such clip.avi";
    const std::string output = m_folder + "/never.mp4";
    const test::ToolResult run = Encode({"-i", missing, "-vcodec", "mpeg4", "-y", output});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.ends_with("\n" + missing +
                                  ": ffmpeg failed with status 1 (No such file or directory); " + output +
                                  " was not written\n"))
        << run.err;
    // Refused before ffmpeg runs.
    for (const std::vector<std::string>& refused :
         {std::vector<std::string>{"-i", missing, "-deinterlace", "-y", output},
          {"-i", missing, "-vn", "-an", "-y", output},
          {"-i", missing, "-y", m_folder + "/x."}}) {
        const test::ToolResult refusal = Encode(refused);
        EXPECT_NE(refusal.exitCode, 0);
        EXPECT_TRUE(refusal.err.starts_with(missing + ": ") &&
                    refusal.err.find('\n') == refusal.err.size() - 1)
            << refusal.err;
        EXPECT_TRUE(refusal.out.empty());
    }
    EXPECT_FALSE(FileExists(output));
}

class EncoderStopTest : public EncoderRunTest, public ::testing::WithParamInterface<int>
{
};

// However the encoder ends, its ffmpeg ends with it, and nothing is written under the final name.
TEST_P(EncoderStopTest, FfmpegEndsWithTheEncoder)
{
    // An input that ffmpeg reads live from a pipe for 20 s, so the encode is surely still running;
    // its writer ends when the reader does.
    const std::string fifo = m_folder + "/live.nut";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_TRUE(
        test::RunShell("timeout 30 ffmpeg -nostdin -v error -re -f lavfi -i testsrc2=size=320x240:rate=25 "
                       "-t 20 -c:v mpeg4 -f nut -y " +
                       test::ShellQuote(fifo) + " </dev/null >/dev/null 2>&1 &"));
    const std::string output = m_folder + "/live.mp4";
    test::RunningTool encoder =
        test::StartTool({m_encoder, "-i", fifo, "-vcodec", "libx264", "-s", "160x120", "-an", "-y", output},
                        m_folder + "/encoder.err");
    ASSERT_GT(encoder.pid, 0);
    const std::string progress = test::ReadUntil(encoder.outFd, "time=", 30);
    ASSERT_NE(progress.find("time="), std::string::npos) << test::ReadTextFile(m_folder + "/encoder.err");
    EXPECT_EQ(test::ProcessName(encoder.pid), "Zantrove.exe");
    const std::vector<pid_t> children = test::ChildrenOf(encoder.pid);
    ASSERT_EQ(children.size(), 1u);
    const pid_t ffmpeg = children[0];
    EXPECT_EQ(test::ProcessName(ffmpeg), "ffmpeg");

    ASSERT_EQ(::kill(encoder.pid, GetParam()), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(encoder.pid, &status, 0), encoder.pid);
    ::close(encoder.outFd);
    if (GetParam() == SIGKILL)
        EXPECT_TRUE(WIFSIGNALED(status));
    else
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + GetParam()) << status;
    for (int waited = 0; waited < 100 && test::IsRunning(ffmpeg); ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(test::IsRunning(ffmpeg)) << "ffmpeg " << ffmpeg << " outlived the encoder";
    if (test::IsRunning(ffmpeg))
        ::kill(ffmpeg, SIGKILL);
    EXPECT_FALSE(FileExists(output));
}

INSTANTIATE_TEST_SUITE_P(
    Signals, EncoderStopTest, ::testing::Values(SIGKILL, SIGTERM, SIGINT), [](const auto& row) {
        return std::string(row.param == SIGKILL ? "Kill" : row.param == SIGTERM ? "Terminate" : "Interrupt");
    });

TEST_F(EncoderRunTest, UsesTheFfmpegBesideItAndRenamesOnSuccess)
{
    WriteFakeFfmpeg(m_folder, "printf 'frame=5\\nout_time_us=1500000\\nprogress=end\\n'\n"
                              "printf 'data' > \"$last\"\nexit 0\n");
    const std::string output = m_folder + "/ok.mp4";
    const test::ToolResult run = Encode({"-i", "in.avi", "-vcodec", "mpeg4", "-y", output});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "frame=    5 fps=0.0 q=-1.0 size=N/A time=1.50 bitrate=N/A speed=N/A\r");
    EXPECT_EQ(test::ReadTextFile(output), "data");
    EXPECT_FALSE(FileExists(output + ".part"));
    EXPECT_TRUE(test::ReadTextFile(m_folder + "/args.txt")
                    .ends_with("\nfile:in.avi\n-map\n0:V:0?\n-map\n0:a:0?\n"
                               "-c:v\nmpeg4\n-f\nmp4\nfile:" +
                               output + ".part\n"));
}

TEST_F(EncoderRunTest, FfmpegFailureLeavesNothingAndTouchesNoOtherFile)
{
    WriteFakeFfmpeg(m_folder, "printf 'half' > \"$last\"\necho 'file:in.avi: broken' >&2\nexit 1\n");
    const std::string output = m_folder + "/half.mp4";
    test::WriteTextFile(output + ".part", "left by another run");
    const test::ToolResult run = Encode({"-i", "in.avi", "-y", output});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "file:in.avi: broken\nin.avi: ffmpeg failed with status 1 (broken); " + output +
                           " was not written\n");
    EXPECT_FALSE(FileExists(output));
    EXPECT_EQ(test::ReadTextFile(output + ".part"), "left by another run");
    // It wrote beside that file, and took its own away again.
    EXPECT_NE(test::ReadTextFile(m_folder + "/args.txt").find(output + ".2.part\n"), std::string::npos);
    EXPECT_FALSE(FileExists(output + ".2.part"));

    WriteFakeFfmpeg(m_folder, "exit 0\n"); // success without a file is a failure too
    const test::ToolResult empty = Encode({"-i", "in.avi", "-y", output});
    EXPECT_NE(empty.exitCode, 0);
    EXPECT_NE(empty.err.find("ffmpeg wrote nothing"), std::string::npos) << empty.err;
    EXPECT_FALSE(FileExists(output));
}

} // namespace
} // namespace zantrove
