// SPDX-License-Identifier: GPL-3.0-or-later
// The built encoder, staged under the name the program gives it, against the real ffmpeg or a
// stand-in beside it.
#include "platform/FileSystem.h"
#include "tests/media/MediaClips.h"
#include "tests/support/TestHome.h"
#include "tests/support/ToolProcess.h"
#include "tools/encoder/OutputClaim.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <regex>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

namespace zantrove {
namespace {

using test::ShellQuote;

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
    test::ToolResult Check(std::vector<std::string> options)
    {
        options.insert(options.begin(), "--check");
        return Encode(std::move(options));
    }
    // A stand-in ffmpeg beside the encoder that logs its arguments; $last is the file it writes.
    void FakeFfmpeg(const std::string& body)
    {
        test::WriteTextFile(m_folder + "/ffmpeg", "#!/bin/sh\nprintf '%s\\n' \"$@\" >\"${0%/*}/args.txt\"\n"
                                                  "for last; do :; done\nlast=${last#file:}\n" +
                                                      body);
        ::chmod((m_folder + "/ffmpeg").c_str(), 0755);
    }

    std::string m_folder;
    std::string m_encoder;
};

// A trimmed encode's progress goes to standard output as CR-ended status lines with the time written
// so far. Started with the standard streams closed, the progress stays out of the file written.
TEST_F(EncoderRunTest, ReportsTheProgressOfATrimmedEncodeOnItsOutputOnly)
{
    const std::string source = test::ClipPath(test::Clip::H264AacMp4); // 2 s
    ASSERT_FALSE(source.empty());
    const std::string output = m_folder + "/trim.m4v";
    const test::ToolResult run = Encode({"-i", source, "-vcodec", "libx264", "-ss", "00:00:01", "-t",
                                         "00:00:01", "-acodec", "aac", "-y", output});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(FileExists(output));
    EXPECT_FALSE(FileExists(output + ".part"));
    ASSERT_TRUE(run.out.ends_with('\r')) << run.out;
    ASSERT_EQ(run.out.find('\n'), std::string::npos) << run.out;
    std::smatch match;
    const std::string lastLine = run.out.substr(run.out.rfind('\r', run.out.size() - 2) + 1);
    ASSERT_TRUE(
        std::regex_match(lastLine, match, std::regex("frame= *[0-9]+ fps=.* time=([0-9.]+) bitrate=.*\r")));
    EXPECT_NEAR(std::stod(match[1].str()), 1.0, 0.15);

    ASSERT_TRUE(test::RunShell(ShellQuote(m_encoder) + " -i " + ShellQuote(source) + " -vn -acodec aac -y " +
                               ShellQuote(m_folder + "/out.m4a") + " <&- >&-"));
    EXPECT_EQ(test::ReadTextFile(m_folder + "/out.m4a").find("time="), std::string::npos);
}

class EncoderStopTest : public EncoderRunTest, public ::testing::WithParamInterface<int>
{
};

// However the encoder ends, its ffmpeg ends with it, and nothing is written under the final name.
TEST_P(EncoderStopTest, FfmpegEndsWithTheEncoder)
{
    // Fed live from a pipe for 20 s, so the encode is surely still running; the writer ends with it.
    const std::string fifo = m_folder + "/live.nut";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_TRUE(
        test::RunShell("timeout 30 ffmpeg -nostdin -v error -re -f lavfi -i testsrc2=size=320x240:rate=25 "
                       "-t 20 -c:v mpeg4 -f nut -y " +
                       ShellQuote(fifo) + " </dev/null >/dev/null 2>&1 &"));
    const std::string output = m_folder + "/live.mp4";
    test::RunningTool encoder =
        test::StartTool({m_encoder, "-i", fifo, "-vcodec", "libx264", "-s", "160x120", "-an", "-y", output},
                        m_folder + "/err");
    ASSERT_GT(encoder.pid, 0);
    ASSERT_NE(test::ReadUntil(encoder.outFd, "time=", 30).find("time="), std::string::npos)
        << test::ReadTextFile(m_folder + "/err");
    const pid_t ffmpeg =
        std::atoi(test::CaptureShell("pgrep -x -P " + std::to_string(encoder.pid) + " ffmpeg").c_str());
    ASSERT_GT(ffmpeg, 0);

    ASSERT_EQ(::kill(encoder.pid, GetParam()), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(encoder.pid, &status, 0), encoder.pid);
    ::close(encoder.outFd);
    EXPECT_TRUE(GetParam() == SIGKILL ? WIFSIGNALED(status)
                                      : WIFEXITED(status) && WEXITSTATUS(status) == 128 + GetParam())
        << status;
    EXPECT_TRUE(test::WaitUntil([&] { return !test::IsRunning(ffmpeg); }, std::chrono::seconds(5)))
        << "ffmpeg outlived the encoder";
    if (test::IsRunning(ffmpeg))
        ::kill(ffmpeg, SIGKILL);
    EXPECT_FALSE(FileExists(output));
}

INSTANTIATE_TEST_SUITE_P(Signals, EncoderStopTest, ::testing::Values(SIGKILL, SIGTERM, SIGINT),
                         [](const auto& row) { return std::string(sigabbrev_np(row.param)); });

// Every failure is one line on standard error filed under the source, and leaves no output.
TEST_F(EncoderRunTest, FailuresAreFiledUnderTheSourceAndWriteNothing)
{
    FakeFfmpeg("printf 'half' > \"$last\"\necho 'file:in.avi: broken' >&2\nexit 1\n");
    const std::string output = m_folder + "/half.mp4";
    test::WriteTextFile(output + ".part", "left by another run");
    const test::ToolResult run = Encode({"-i", "in.avi", "-y", output});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "file:in.avi: broken\nin.avi: ffmpeg failed with status 1 (broken); " + output +
                           " was not written\n");
    EXPECT_EQ(test::ReadTextFile(output + ".part"), "left by another run");
    // It wrote beside that file, and took its own away again.
    EXPECT_NE(test::ReadTextFile(m_folder + "/args.txt").find(output + ".2.part\n"), std::string::npos);
    EXPECT_FALSE(FileExists(output + ".2.part"));

    FakeFfmpeg("exit 0\n"); // success without a file is a failure too
    EXPECT_NE(Encode({"-i", "in.avi", "-y", output}).err.find("in.avi: ffmpeg wrote nothing"),
              std::string::npos);
    // Refused before ffmpeg runs.
    EXPECT_EQ(Encode({"-an", "-y", output}).err, "Zantrove: no input file (-i)\n");
    EXPECT_FALSE(FileExists(output));
}

// A folder that turns unwritable while the file is written keeps the unfinished file, and the message
// says where it is.
TEST_F(EncoderRunTest, AnOutputFolderTurnedUnwritableKeepsTheUnfinishedFileAndSaysWhere)
{
    const std::string folder = test::MakeTempFolder("out"), output = folder + "/film.mp4";
    // The immutable flag holds for root too; without it a mode does, for anyone else.
    FakeFfmpeg(
        "printf 'data' > \"$last\"\nchattr +i \"${last%/*}\" 2>/dev/null || chmod 555 \"${last%/*}\"\n");
    const test::ToolResult run = Encode({"-i", "in.avi", "-y", output});
    test::RunShell("chattr -i " + ShellQuote(folder) + " 2>/dev/null; chmod 755 " + ShellQuote(folder));
    if (run.exitCode == 0)
        GTEST_SKIP() << "this file system let the folder be written all the same";
    EXPECT_EQ(run.exitCode, 1);
    for (const std::string& part :
         {"in.avi: cannot rename " + output + ".part to " + output,
          "; what was written is kept in " + output + ".part, which could not be removed ("})
        EXPECT_NE(run.err.find(part), std::string::npos) << run.err;
    EXPECT_EQ(test::ReadTextFile(output + ".part"), "data");
}

TEST_F(EncoderRunTest, TheCheckAsksTheFfmpegBesideItBeforeThePath)
{
    // One that cannot list counts as none.
    FakeFfmpeg("exit 1\n");
    const test::ToolResult broken = Check({"-vcodec", "libx264"});
    EXPECT_EQ(broken.exitCode, 2);
    EXPECT_NE(broken.err.find("could not list its encoders (status 1)"), std::string::npos) << broken.err;

    // Listings cut from Debian 12's ffmpeg 5.1, whose legends look like entries; libx264 is then
    // missing although the ffmpeg on PATH has it. Muxers may come as a comma list, and "-formats"
    // style lines count only when they mark muxing.
    FakeFfmpeg("case \"$2\" in\n-encoders) cat <<'END'\nEncoders:\n V..... = Video\n A..... = Audio\n"
               " ...X.. = Codec is experimental\n ------\n V....D libx264rgb  libx264 RGB (codec h264)\n"
               " V.S... mpeg4  MPEG-4 Visual\n A..... aac  AAC (Advanced Audio Coding)\n"
               " A....D libmp3lame  libmp3lame MP3 (codec mp3)\nEND\n;;\n-muxers) cat <<'END'\n"
               "File formats:\n D. = Demuxing supported\n .E = Muxing supported\n --\n  E mp4  MP4\n"
               "  E sdl,sdl2  SDL2 output device\n D  aa  Audible AA\n DE mov,m4a  QuickTime / MOV\n"
               "END\n;;\n*) exit 9 ;;\nesac\n");
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
        const test::ToolResult result = Check(options);
        EXPECT_EQ(result.exitCode, exitCode) << options[0] << " " << options.back();
        EXPECT_EQ(result.out, exitCode == 3 ? "" : text);
        EXPECT_NE(result.err.find(exitCode == 3 ? text : ""), std::string::npos) << result.err;
    }
}

// On FAT there is neither the rename that keeps a taken name nor a hard link; a child process whose
// calls of both fail as they fail there publishes with the last check before a plain rename.
TEST(OutputClaimTest, WithoutNoReplaceRenameOrLinksATakenNameIsKept)
{
    const std::string folder = test::MakeTempFolder("claim");
    for (const bool taken : {false, true}) {
        const std::string output = folder + (taken ? "/taken.m4v" : "/free.m4v"), part = output + ".part";
        test::WriteTextFile(part, "new");
        if (taken)
            test::WriteTextFile(output, "old");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            sock_filter filter[] = {BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
                                    BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_renameat2, 2, 0),
                                    BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_link, 2, 0),
                                    BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
                                    BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EINVAL),
                                    BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EPERM)};
            const sock_fprog program{std::size(filter), filter};
            const bool filtered = ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
                                  ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
            ::_exit(filtered ? PublishWithoutReplacing(part, output) : 99);
        }
        EXPECT_EQ(test::WaitForExit(child), taken ? EEXIST : 0) << output;
        EXPECT_EQ(test::ReadTextFile(output), taken ? "old" : "new");
        EXPECT_EQ(std::filesystem::exists(part), taken);
    }
}

} // namespace
} // namespace zantrove
