// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile inputs through the whole pipeline: zantrove-cli convert probes the files, writes the script,
// runs the real encoder and ffmpeg, and reports. Each batch puts the hostile file between two good
// ones. What must hold: the hostile file gets an entry of its own in the error log, the run does not
// exit with success, no final name holds anything but a complete conversion (only ".part" may be
// left), and the good files of the batch are converted all the same.
#include "platform/FileSystem.h"
#include "tests/e2e/PipelineSupport.h"
#include "tests/media/MediaClips.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TestHome.h"
#include "tests/support/ToolProcess.h"

#include <gmock/gmock.h>

#include <cmath>
#include <filesystem>
#include <sstream>

namespace zantrove {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using test::CliRun;
using ::testing::UnorderedElementsAre;

// With the fast profile of the iPod nano: MPEG-4 video with sound, so each good clip takes a moment.
std::vector<std::string> Arguments(const std::string& output, const std::vector<std::string>& files)
{
    std::vector<std::string> arguments{"convert", "--device", "iPod-Nano", "--profile",
                                       "6",       "--output", output};
    arguments.insert(arguments.end(), files.begin(), files.end());
    return arguments;
}

CliRun Convert(const std::string& output, const std::vector<std::string>& files)
{
    return test::InvokeCli(Arguments(output, files));
}

// The same run as a program of its own whose files may not grow beyond maxBytes: a disk that fills up.
CliRun ConvertWithFileSizeLimit(const std::string& output, const std::vector<std::string>& files,
                                std::uintmax_t maxBytes, bool ignoreSignal)
{
    std::vector<std::string> argv{"prlimit", "--fsize=" + std::to_string(maxBytes),
                                  ZANTROVE_APP_DIR "/zantrove-cli"};
    if (ignoreSignal) // what the shell ignores stays ignored in what it runs
        argv.insert(argv.begin(), {"sh", "-c", "trap '' XFSZ; exec \"$@\"", "sh"});
    const std::vector<std::string> arguments = Arguments(output, files);
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const test::ToolResult run = test::RunTool(argv);
    return {run.exitCode, run.out, run.err};
}

// The file is there, ffmpeg decodes all of it without a single error, there is a picture in it, and it
// lasts the seconds give or take the tolerance.
::testing::AssertionResult IsCompleteConversion(const std::string& path, double seconds,
                                                double tolerance = 0.35)
{
    if (!FileExists(path))
        return ::testing::AssertionFailure() << path << " is missing";
    const std::string errors =
        test::CaptureShell("ffmpeg -nostdin -v error -i " + test::ShellQuote(path) + " -f null - 2>&1");
    if (!errors.empty())
        return ::testing::AssertionFailure() << path << " does not decode cleanly: " << errors;
    const std::string streams = test::Probe(path, "stream=codec_type", "");
    if (streams.find("=video") == std::string::npos)
        return ::testing::AssertionFailure() << path << " has no video stream: " << streams;
    const double duration =
        std::atof(test::Entry(test::Probe(path, "format=duration", ""), "duration").c_str());
    if (std::fabs(duration - seconds) > tolerance)
        return ::testing::AssertionFailure() << path << " lasts " << duration << " s, not " << seconds;
    return ::testing::AssertionSuccess();
}

std::string OutputOf(const std::string& folder, const std::string& source)
{
    return folder + "/" + fs::path(source).stem().string() + ".m4v";
}

// Every file in the folder under a final name: all but the unfinished ".part" ones.
std::vector<std::string> FinalNames(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (!entry.path().string().ends_with(".part"))
            names.push_back(entry.path().string());
    return names;
}

bool HasErrorEntry(const CliRun& run, const std::string& source, const std::string& words = {})
{
    std::istringstream lines(run.err);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("zantrove-cli: " + source + ":") && line.find(words) != std::string::npos)
            return true;
    }
    return false;
}

class HostileInputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_clip = test::ClipPath(test::Clip::H264AacMp4); // 2 s
        ASSERT_FALSE(m_clip.empty());
        m_first = Copy("first.mp4");
        m_last = Copy("last.mp4");
    }

    std::string Copy(const std::string& name, const std::string& folder = {}) const
    {
        const std::string target = (folder.empty() ? m_in : folder) + "/" + name;
        fs::copy_file(m_clip, target, fs::copy_options::overwrite_existing);
        return target;
    }

    // A clip with sound of the given seconds, about 60 kB each.
    std::string MakeClip(const std::string& name, int seconds, const std::string& options = "") const
    {
        const std::string path = m_in + "/" + name;
        EXPECT_TRUE(test::Ffmpeg(
            "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i sine=frequency=440 -t " +
            std::to_string(seconds) + " -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac" + options +
            " " + test::ShellQuote(path)));
        return path;
    }

    // The first half of a 4 s clip with sound.
    std::string MakeHalfClip(const std::string& options) const
    {
        const std::string whole = MakeClip("whole.mp4", 4, options), cut = m_in + "/cut.mp4";
        fs::copy_file(whole, cut);
        fs::resize_file(cut, fs::file_size(whole) / 2);
        return cut;
    }

    // The common verdict for a batch first, hostile, last.
    void ExpectOneFailure(const CliRun& run, const std::string& hostile, const std::string& words = {},
                          double firstSeconds = 2.0)
    {
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_TRUE(HasErrorEntry(run, hostile, words)) << run.err;
        EXPECT_FALSE(FileExists(OutputOf(m_out, hostile)));
        EXPECT_FALSE(FileExists(OutputOf(m_out, hostile) + ".part")); // a failure leaves nothing
        EXPECT_TRUE(IsCompleteConversion(OutputOf(m_out, m_first), firstSeconds));
        EXPECT_TRUE(IsCompleteConversion(OutputOf(m_out, m_last), 2.0));
        EXPECT_THAT(FinalNames(m_out),
                    UnorderedElementsAre(OutputOf(m_out, m_first), OutputOf(m_out, m_last)));
    }

    std::string m_clip;
    std::string m_in = test::MakeTempFolder("in");
    std::string m_out = test::MakeTempFolder("out");
    std::string m_first;
    std::string m_last;
};

TEST_F(HostileInputTest, TruncatedMp4WithItsIndexAtTheEnd)
{
    // ffmpeg writes the index last, so the first half holds pictures but nothing to find them by.
    const std::string cut = MakeHalfClip("");
    ExpectOneFailure(Convert(m_out, {m_first, cut, m_last}), cut);
}

TEST_F(HostileInputTest, TruncatedMp4ConvertsAsFarAsReadableAndIsReported)
{
    // With the index first, the readable half converts; the damage must still be reported.
    const std::string cut = MakeHalfClip(" -movflags +faststart");
    const CliRun run = Convert(m_out, {m_first, cut, m_last});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_TRUE(HasErrorEntry(run, cut, "damaged source")) << run.err;
    const std::string converted = OutputOf(m_out, cut);
    // What was kept is the readable part, converted: it decodes cleanly and is shorter than 4 s.
    EXPECT_TRUE(IsCompleteConversion(converted, 2.0, 1.5));
    EXPECT_TRUE(IsCompleteConversion(OutputOf(m_out, m_first), 2.0));
    EXPECT_TRUE(IsCompleteConversion(OutputOf(m_out, m_last), 2.0));
    EXPECT_THAT(FinalNames(m_out),
                UnorderedElementsAre(OutputOf(m_out, m_first), converted, OutputOf(m_out, m_last)));
}

TEST_F(HostileInputTest, SourceDeletedAfterItWasAdded)
{
    // Probed with the others; gone by the time its turn comes, while the first, longer file converts.
    const std::string doomed = Copy("doomed.mp4"), root = test::MakeTempFolder("run");
    MakeClip("first.mp4", 20);
    const pid_t run = test::StartCliProcess(root, Arguments(m_out, {m_first, doomed, m_last}));
    const auto said = [&](const std::string& text) {
        return test::ReadTextFile(root + "/err.txt").find(text) != std::string::npos;
    };
    ASSERT_TRUE(
        test::WaitUntil([&] { return said("Processing File: 1 of 3") || !test::IsRunning(run); }, 60s));
    ASSERT_FALSE(said("Processing File: 2 of 3"));
    ASSERT_TRUE(fs::remove(doomed));
    const int status = test::WaitForCliProcess(run);
    ExpectOneFailure({status, test::ReadTextFile(root + "/out.txt"), test::ReadTextFile(root + "/err.txt")},
                     doomed, "No such file", 20.0);
}

TEST_F(HostileInputTest, OutputFolderThatCannotBeWritten)
{
    // Root may write anywhere, but no one can make a folder below a regular file.
    const std::string blocker = m_out + "/a file";
    test::WriteTextFile(blocker, "in the way");
    const std::string output = blocker + "/Converted";
    const CliRun run = Convert(output, {m_first, m_last});
    // Refused before anything runs, naming the folder.
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("The output folder " + output + " could not be created or written"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("Processing File"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(test::ReadTextFile(blocker), "in the way");
}

TEST_F(HostileInputTest, FileTooLargeForTheLimitFailsAndTheOthersConvert)
{
    // The 2 s clips fit below the limit, the 8 s one does not.
    const std::string big = MakeClip("big.mp4", 8);
    // Staged once without a limit, so the limited runs copy no component.
    ASSERT_EQ(Convert(test::MakeTempFolder("staging"), {m_first}).status, 0);
    for (const bool ignored : {false, true}) {
        SCOPED_TRACE(ignored ? "signal ignored" : "signal default");
        m_out = test::MakeTempFolder("out");
        ExpectOneFailure(ConvertWithFileSizeLimit(m_out, {m_first, big, m_last}, 300 * 1024, ignored), big,
                         ignored ? "File too large" : "File size limit exceeded");
    }
}

TEST_F(HostileInputTest, DiskFullWhileStagingTheEncoderRunsNothing)
{
    // A settings folder of its own, so the encoder must be staged; the disk fills up halfway.
    const std::string data = test::MakeTempFolder("data");
    const auto component = fs::file_size(ZANTROVE_APP_DIR "/Components/Zantrove.dll");
    const CliRun run = [&] {
        const test::ScopedEnv dataHome("XDG_DATA_HOME", data);
        return ConvertWithFileSizeLimit(m_out, {m_first}, component / 2, true);
    }();

    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("/Zantrove.exe could not be written ("), std::string::npos) << run.err;
    for (const auto& entry : fs::recursive_directory_iterator(data))
        EXPECT_EQ(entry.path().string().find("Zantrove.exe"), std::string::npos) << entry.path();
    EXPECT_TRUE(fs::is_empty(m_out));
}

TEST_F(HostileInputTest, NamesWithShellCharactersNewlinesEmojiAndLongComponents)
{
    const std::string longFolder = m_in + "/" + std::string(200, 'd');
    CreateFolderPath(longFolder);
    const std::vector<std::string> sources{
        Copy("it's \"quoted\".mp4"),
        Copy("$(touch injected) ${HOME} $1.mp4"),
        Copy("`touch injected`; rm -rf x.mp4"),
        Copy("two\nlines.mp4"),
        Copy("\xF0\x9F\x8E\xAC clip \xF0\x9F\x8E\x9E.mp4"),
        Copy("caf\xE9 latin-1.mp4"),
        Copy("x%FileName.avi"),
        Copy("a %b% c.avi"),
        Copy("%Format%.avi"),
        Copy("swScaler: Zantrove.exe.mp4"),
        Copy(std::string(250, 'n') + ".mp4", longFolder),
    };
    const CliRun run = Convert(m_out, sources);
    EXPECT_EQ(run.status, 0) << run.err;
    // Words of the program's own output in a name count only as a name.
    EXPECT_EQ(run.err.find("Processing File: 12"), std::string::npos) << run.err;
    std::vector<std::string> outputs;
    for (const std::string& source : sources) {
        outputs.push_back(OutputOf(m_out, source));
        EXPECT_TRUE(IsCompleteConversion(outputs.back(), 2.0));
    }
    EXPECT_THAT(FinalNames(m_out), ::testing::UnorderedElementsAreArray(outputs));
    // A name is only ever data: nothing it spells was run.
    for (const std::string& folder : {m_in, m_out, fs::current_path().string(), test::ClipFolder()})
        EXPECT_FALSE(fs::exists(folder + "/injected")) << folder;
}

TEST_F(HostileInputTest, RelativePathsFfmpegCouldTakeForProtocolsOrOptions)
{
    // As typed on a command line: alone, "12:30" would name a protocol to ffmpeg, "-dash" an option.
    const test::ScopedCurrentFolder here(m_in);
    fs::create_directory("12:30");
    Copy("12:30.mp4", m_in + "/12:30");
    Copy("12:30.mp4");
    const CliRun run = Convert("-dash", {"12:30/12:30.mp4", "12:30.mp4"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(IsCompleteConversion(m_in + "/-dash/12:30.m4v", 2.0));
    EXPECT_TRUE(IsCompleteConversion(m_in + "/-dash/12:30 (2).m4v", 2.0));
}

} // namespace
} // namespace zantrove
