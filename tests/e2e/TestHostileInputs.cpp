// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile inputs through the whole pipeline: zantrove-cli convert probes the files, writes the script,
// runs the real encoder and ffmpeg, and reports. A batch puts the hostile file between two good ones.
// What must hold: the hostile file gets an entry of its own in the error log, the run does not exit
// with success, no final name holds anything but a complete conversion (only ".part" may be left),
// and the good files of the batch are converted all the same. Files that are no media at all, and
// an encoder that fails, are left to the command-line and encoder tests.
#include "platform/FileSystem.h"
#include "tests/e2e/PipelineSupport.h"
#include "tests/media/MediaClips.h"
#include "tests/support/TestHome.h"
#include "tests/support/ToolProcess.h"

#include <gmock/gmock.h>

#include <cmath>
#include <filesystem>
#include <sstream>

namespace zantrove {
namespace {

namespace fs = std::filesystem;

using test::CliRun;
using ::testing::UnorderedElementsAre;

// The same run as a program of its own whose files may not grow beyond maxBytes: a disk that fills up.
CliRun ConvertWithFileSizeLimit(const std::string& output, const std::vector<std::string>& files,
                                std::uintmax_t maxBytes, bool ignoreSignal)
{
    std::vector<std::string> argv{"prlimit", "--fsize=" + std::to_string(maxBytes),
                                  ZANTROVE_APP_DIR "/zantrove-cli"};
    if (ignoreSignal) // what the shell ignores stays ignored in what it runs
        argv.insert(argv.begin(), {"sh", "-c", "trap '' XFSZ; exec \"$@\"", "sh"});
    const std::vector<std::string> arguments = test::FastConvertArguments(output, files);
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

bool HasErrorEntry(const CliRun& run, const std::string& source, const std::string& words)
{
    std::istringstream lines(run.err);
    for (std::string line; std::getline(lines, line);)
        if (line.starts_with("zantrove-cli: " + source + ":") && line.find(words) != std::string::npos)
            return true;
    return false;
}

class HostileInputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
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

    // The hostile file got its entry, and the good ones around it were converted.
    void ExpectFailureBetweenGoodFiles(const CliRun& run, const std::string& hostile,
                                       const std::string& words)
    {
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_TRUE(HasErrorEntry(run, hostile, words)) << run.err;
        EXPECT_TRUE(IsCompleteConversion(OutputOf(m_out, m_first), 2.0));
        EXPECT_TRUE(IsCompleteConversion(OutputOf(m_out, m_last), 2.0));
    }

    const std::string m_clip = test::ClipPath(test::Clip::H264AacMp4); // 2 s
    std::string m_in = test::MakeTempFolder("in");
    std::string m_out = test::MakeTempFolder("out");
    std::string m_first;
    std::string m_last;
};

TEST_F(HostileInputTest, TruncatedMp4ConvertsAsFarAsReadableAndIsReported)
{
    // With the index first, the first half of a 4 s clip holds pictures and all it takes to find them.
    const std::string whole = test::MakeClip(m_in, "whole", 4), cut = m_in + "/cut.mp4";
    ASSERT_TRUE(test::Ffmpeg("-i " + test::ShellQuote(whole) + " -c copy -movflags +faststart " + cut));
    fs::resize_file(cut, fs::file_size(cut) / 2);
    const CliRun run = test::InvokeCli(test::FastConvertArguments(m_out, {m_first, cut, m_last}));
    ExpectFailureBetweenGoodFiles(run, cut, "damaged source");
    // What was kept is the readable part, converted: it decodes cleanly and is shorter than 4 s.
    const std::string converted = OutputOf(m_out, cut);
    EXPECT_TRUE(IsCompleteConversion(converted, 2.0, 1.5));
    EXPECT_THAT(FinalNames(m_out),
                UnorderedElementsAre(OutputOf(m_out, m_first), converted, OutputOf(m_out, m_last)));
}

TEST_F(HostileInputTest, OutputFolderThatCannotBeWritten)
{
    // Root may write anywhere, but no one can make a folder below a regular file.
    const std::string blocker = m_out + "/a file";
    test::WriteTextFile(blocker, "in the way");
    const std::string output = blocker + "/Converted";
    const CliRun run = test::InvokeCli(test::FastConvertArguments(output, {m_first, m_last}));
    // Refused before anything runs, naming the folder.
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err,
                ::testing::HasSubstr("The output folder " + output + " could not be created or written"));
    EXPECT_EQ(run.err.find("Processing File"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(test::ReadTextFile(blocker), "in the way");
}

TEST_F(HostileInputTest, FileTooLargeForTheLimitFailsAndTheOthersConvert)
{
    // The 2 s clips fit below the limit, the 8 s one does not.
    const std::string big = test::MakeClip(m_in, "big", 8);
    // Staged once without a limit, so the limited runs copy no component.
    ASSERT_EQ(test::InvokeCli(test::FastConvertArguments(test::MakeTempFolder("staging"), {m_first})).status,
              0);
    for (const bool ignored : {false, true}) {
        SCOPED_TRACE(ignored ? "signal ignored" : "signal default");
        m_out = test::MakeTempFolder("out");
        ExpectFailureBetweenGoodFiles(
            ConvertWithFileSizeLimit(m_out, {m_first, big, m_last}, 300 * 1024, ignored), big,
            ignored ? "File too large" : "File size limit exceeded");
        // A failure leaves nothing, not even its unfinished file.
        EXPECT_THAT(FinalNames(m_out),
                    UnorderedElementsAre(OutputOf(m_out, m_first), OutputOf(m_out, m_last)));
        EXPECT_FALSE(FileExists(OutputOf(m_out, big) + ".part"));
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

TEST_F(HostileInputTest, NamesThatSpellCodeOptionsOrProtocolsAreOnlyNames)
{
    // Relative, as typed: alone, "12:30" would name a protocol to ffmpeg, "-dash" an option.
    const test::ScopedCurrentFolder here(m_in);
    const std::string longFolder = m_in + "/" + std::string(200, 'd');
    CreateFolderPath(longFolder);
    CreateFolderPath(m_in + "/12:30");
    Copy("12:30.mp4", m_in + "/12:30");
    Copy("12:30.mp4");
    const std::vector<std::string> sources{
        Copy("it's \"quoted\".mp4"),
        Copy("$(touch injected) ${HOME} $1 `touch injected`; rm -rf x.mp4"),
        Copy("\xF0\x9F\x8E\xAC clip \xF0\x9F\x8E\x9E.mp4"),
        Copy("caf\xE9 latin-1.mp4"),
        Copy("x%FileName a %b% %Format%.avi"),
        Copy("swScaler: Zantrove.exe.mp4"),
        Copy(std::string(250, 'n') + ".mp4", longFolder),
        "12:30/12:30.mp4",
        "12:30.mp4",
    };
    const CliRun run = test::InvokeCli(test::FastConvertArguments("-dash", sources));
    EXPECT_EQ(run.status, 0) << run.err;
    // Words of the program's own output in a name count only as a name.
    EXPECT_EQ(run.err.find("Processing File: " + std::to_string(sources.size() + 1)), std::string::npos)
        << run.err;
    const std::string output = m_in + "/-dash";
    std::vector<std::string> outputs;
    for (const std::string& source : sources) {
        outputs.push_back(&source == &sources.back() ? output + "/12:30 (2).m4v" : OutputOf(output, source));
        EXPECT_TRUE(IsCompleteConversion(outputs.back(), 2.0));
    }
    EXPECT_THAT(FinalNames(output), ::testing::UnorderedElementsAreArray(outputs));
    // A name is only ever data: nothing it spells was run.
    for (const std::string& folder : {m_in, output, test::ClipFolder()})
        EXPECT_FALSE(fs::exists(folder + "/injected")) << folder;
}

} // namespace
} // namespace zantrove
