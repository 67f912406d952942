// SPDX-License-Identifier: GPL-3.0-or-later
// zantrove-cli's commands run in this process: help, listings, the encoder line, probe, and the
// refusals that come before anything is converted.
#include "media/MediaInfoLibrary.h"
#include "platform/FileSystem.h"
#include "tests/media/MediaClips.h"
#include "tests/support/CliRun.h"
#include "tests/support/TestHome.h"

#include <algorithm>
#include <filesystem>
#include <gmock/gmock.h>
#include <iterator>
#include <sstream>

namespace zantrove {
namespace {
using test::CliRun;
using test::InvokeCli;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// The words of a command line without quotes.
std::vector<std::string> Words(const std::string& line)
{
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// Most commands are given the short clip, made before a test hides ffmpeg.
class CliTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_FALSE(m_clip.empty()) << "ffmpeg could not make the clip"; }
    const std::string m_clip = test::ClipPath(test::Clip::H264AacMp4); // 2 s
};

TEST_F(CliTest, HelpAndDevices)
{
    // Anywhere before "--", whatever else is given; after it, "--help" is a file name.
    for (const char* line :
         {"convert --device iPad -h", "line --help", "probe x.avi --help", "devices --help", "profiles -h"}) {
        const CliRun run = InvokeCli(Words(line));
        EXPECT_EQ(run.status, 0) << line;
        EXPECT_THAT(run.out, StartsWith("Usage: zantrove-cli " + Words(line)[0]));
        EXPECT_EQ(run.err, "");
    }
    EXPECT_EQ(InvokeCli({"probe", "--", "--help"}).status, 1);
    EXPECT_EQ(InvokeCli({"devices"}).out, "iPod-Classic\niPod-Touch\niPod-Nano\niPhone\niPad\n");
}

// A usage error is one line on the error stream that names what is wrong, and nothing on the output.
TEST_F(CliTest, UsageErrorsNameTheOptionOrValueAtFault)
{
    const std::string devices = "iPod-Classic, iPod-Touch, iPod-Nano, iPhone, iPad";
    const std::string needed = "--device, --output and at least one FILE are needed";
    const std::pair<std::string, std::string> cases[] = {
        {"", "no command given"},
        {"frobnicate", "unknown command 'frobnicate'"},
        {"--frobnicate", "unknown option '--frobnicate'"},
        {"devices extra", "devices takes no arguments"},
        {"probe", "probe needs at least one FILE"},
        {"profiles ipad", "unknown device 'ipad'; the devices are " + devices},
        {"profiles", "profiles takes one device: " + devices},
        {"line --device iPad --output /o", needed},
        {"line --device iPad x.avi", needed},
        {"line --device ipad --output /o x.avi", "unknown device 'ipad'; the devices are " + devices},
        {"line --device iPad --profile 99 --output /o x.avi",
         "device iPad has no profile '99'; see zantrove-cli profiles iPad"},
        {"convert --device iPad --output /o --profile 0 x.avi",
         "device iPad has no profile '0'; see zantrove-cli profiles iPad"},
        {"line --device iPad --output /o --trim 1-2 x.avi", "--trim takes hh:mm:ss-hh:mm:ss"},
        {"line --device iPad --output /o --fast x.avi", "unknown option '--fast'"},
        {"line --device", "--device needs a value"},
        // The trim dialog's refusal, on one line, with the clip's own length.
        {"convert --device iPhone --trim 00:00:01-00:00:05 --output /o " + m_clip,
         "--trim 00:00:01-00:00:05 for " + m_clip +
             ": The End Time you've entered is not valid. Reason: The End Time cannot exceed the Total "
             "Duration of: 00:00:02"},
    };
    for (const auto& [line, named] : cases) {
        const CliRun run = InvokeCli(Words(line));
        EXPECT_EQ(run.status, 2) << line;
        EXPECT_EQ(run.out, "") << line;
        EXPECT_THAT(run.err, StartsWith("zantrove-cli: " + named + " (try 'zantrove-cli "));
        EXPECT_EQ(std::ranges::count(run.err, '\n'), 1) << run.err;
    }
}

TEST_F(CliTest, ProfilesAndTheLineOfEach)
{
    EXPECT_THAT(InvokeCli({"profiles", "iPhone"}).out,
                StartsWith("1\tMovie - Standard Quality\tdefault\n2\t"));
    const std::string stem = std::filesystem::path(m_clip).stem().string();
    const CliRun movie =
        InvokeCli({"line", "--device", "iPhone", "--trim", "00:00:01-00:00:02", "--output", "/out", m_clip});
    EXPECT_EQ(movie.status, 0) << movie.err;
    EXPECT_THAT(movie.out, HasSubstr(" -r 30 -ss 00:00:01 -t 00:00:01 -profile:v high "));
    EXPECT_THAT(movie.out, EndsWith(" -ar 48000 -ac 2 -y \"/out/" + stem + ".mp4\"\n"));
}

TEST_F(CliTest, OutputThatCannotBeWrittenIsAFailure)
{
    const std::string cli = test::ShellQuote(ZANTROVE_APP_DIR "/zantrove-cli");
    const std::string err = test::MakeTempFolder("err") + "/err";
    const std::string clip = test::ShellQuote(m_clip);
    for (const std::string& command :
         {"probe " + clip, "convert --dry-run --device iPad --output /out " + clip}) {
        EXPECT_TRUE(test::RunShell(cli + " " + command + " >/dev/null")) << command;
        EXPECT_FALSE(test::RunShell(cli + " " + command + " >/dev/full 2>" + err)) << command;
        // A dry run's size estimate comes before, on the error stream too.
        EXPECT_THAT(test::ReadTextFile(err),
                    EndsWith("zantrove-cli: the output could not be written: No space left on device\n"));
    }
}

// A profile file that cannot serve is named with what is wrong, before anything runs, and no line
// with empty values is printed.
TEST_F(CliTest, UnusableProfileFilesAreRefused)
{
    const std::string utf16("\xFF\xFE[\0G\0e\0n\0e\0r\0a\0l\0]\0", 18);
    const std::pair<std::string, const char*> files[] = {
        {"", "is missing"},
        {utf16, "is not plain text (binary or UTF-16)"},
        {"[General]\n;" + std::string(1024 * 1024, 'x'),
         "is 1.0 MB, far larger than any profile file, and was not read"},
        {"[General]\nNumberOfProfiles=1\n[Profile1]\nName=Nothing\nVideoCodec=3\n",
         "holds no valid profile"}};
    for (const auto& [content, problem] : files) {
        SCOPED_TRACE(problem);
        const std::string app = test::MakeTempFolder("app"), file = app + "/Profiles/iPad.ini";
        std::filesystem::create_directories(app + "/Profiles");
        if (!content.empty())
            test::WriteTextFile(file, content);
        const std::string named = file + " " + problem;
        const CliRun profiles = InvokeCli({"profiles", "iPad"}, app);
        EXPECT_EQ(profiles.status, 1);
        EXPECT_EQ(profiles.err, "zantrove-cli: the profile file " + named + "\n");
        for (const char* command : {"line", "convert"}) {
            const CliRun run = InvokeCli({command, "--device", "iPad", "--output", "/out", m_clip}, app);
            EXPECT_EQ(run.status, 1) << command;
            EXPECT_EQ(run.out, "") << command;
            EXPECT_THAT(run.err, HasSubstr("The profile file " + named + "."));
        }
    }
}

TEST_F(CliTest, ProbeGivesOneLinePerFileInArgumentOrderUnreadableOnesIncludedAndFailing)
{
    const std::string mp3 = test::ClipPath(test::Clip::Mp3Audio);
    ASSERT_FALSE(mp3.empty());
    const std::string missing = test::MakeTempFolder() + "/missing.avi";
    const std::string notes = test::MakeTempFolder() + "/notes.txt";
    test::WriteTextFile(notes, "not a video");
    const CliRun run = InvokeCli({"probe", m_clip, missing, mp3, notes});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(InvokeCli({"probe", m_clip}).status, 0);
    if (!MediaInfoLibrary::Shared().IsLoaded())
        GTEST_SKIP() << "libmediainfo.so.0 is not installed";
    EXPECT_EQ(run.err,
              "zantrove-cli: " + missing + ": no such file\nzantrove-cli: " + notes + ": not a media file\n");
    EXPECT_EQ(run.out, "h264 | AVC | 00:00:02 | 160x120 |  |  | " + m_clip + " | Progressive | 1 sound\n" +
                           "missing | UNKNOWN | 00:00:00 | 0x0 |  |  | " + missing + " |  | \n" +
                           "tone | UNKNOWN | 00:00:02 | 0x0 |  |  | " + mp3 + " |  | 1 sound\n" +
                           "notes | UNKNOWN | 00:00:00 | 0x0 |  |  | " + notes + " |  | \n");
}

// convert refuses to start before anything is written, and names what is missing.
TEST_F(CliTest, MissingProfilesComponentOrFfmpegRefusesTheStart)
{
    const std::string folder = test::MakeTempFolder("app");
    const std::string output = test::MakeTempFolder("out") + "/new";
    const auto expectRefusal = [&](const std::string& app, const std::string& named) {
        const CliRun run = InvokeCli({"convert", "--device", "iPhone", "--output", output, m_clip}, app);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_THAT(run.err, HasSubstr(named));
    };
    std::filesystem::copy(ZANTROVE_APP_DIR "/Profiles", folder + "/Profiles");
    expectRefusal(folder, "missing: " + folder + "/Components/Zantrove.dll\n");
    // The build's Components/ holds no ffmpeg, so an empty PATH leaves the component none.
    ASSERT_FALSE(FileExists(ZANTROVE_APP_DIR "/Components/ffmpeg"));
    {
        const test::ScopedEnv path("PATH", test::MakeTempFolder("nopath"));
        expectRefusal(ZANTROVE_APP_DIR, "no ffmpeg found");
    }
    EXPECT_FALSE(FolderExists(output));
}

} // namespace
} // namespace zantrove
