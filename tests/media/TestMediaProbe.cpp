// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/MediaProbe.h"

#include "media/VideoListModel.h"
#include "platform/FileSystem.h"
#include "tests/media/MediaClips.h"
#include "tests/support/CaseName.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <vector>

namespace zantrove {
namespace {

// --- The pure conversion ------------------------------------------------------------------------

struct PlayTimeCase
{
    const char* answer;
    const char* duration;
};

// Readable test names in CTest.
void PrintTo(const PlayTimeCase& c, std::ostream* os)
{
    *os << "answer " << (*c.answer ? c.answer : "empty");
}

class PlayTimeConversion : public ::testing::TestWithParam<PlayTimeCase>
{
};

TEST_P(PlayTimeConversion, GivesTheDurationText)
{
    ProbeAnswers answers;
    answers.playTime = GetParam().answer;
    EXPECT_EQ(ConvertProbeAnswers(answers).duration, GetParam().duration)
        << "answer '" << GetParam().answer << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlayTimeConversion,
    ::testing::Values(PlayTimeCase{"5372000", "01:29:32"}, PlayTimeCase{"999", "00:00:01"},
                      PlayTimeCase{"499", "00:00:00"}, PlayTimeCase{"500", "00:00:00"},
                      PlayTimeCase{"1500", "00:00:02"}, PlayTimeCase{"2500", "00:00:02"},
                      PlayTimeCase{"3500", "00:00:04"}, PlayTimeCase{"360000000", "100:00:00"},
                      PlayTimeCase{"", "00:00:00"}, PlayTimeCase{"abc", "00:00:00"},
                      // beyond signed 32 bits
                      PlayTimeCase{"3000000000", "00:00:00"},
                      // fractional answers of some library versions
                      PlayTimeCase{"1000.000", "00:00:01"}, PlayTimeCase{"2500.0", "00:00:02"},
                      PlayTimeCase{"1e3", "00:00:00"}, PlayTimeCase{"-5000", "00:00:00"}),
    [](const auto& row) { return test::CaseName(row.param.answer, row.index); });

TEST(PlayTimeReading, FractionsRoundToWholeMillisecondsHalfToEven)
{
    EXPECT_EQ(ReadPlayTimeMilliseconds("1000.000"), 1000);
    EXPECT_EQ(ReadPlayTimeMilliseconds("1500.5"), 1500);
    EXPECT_EQ(ReadPlayTimeMilliseconds("1501.5"), 1502);
    EXPECT_EQ(ReadPlayTimeMilliseconds(" 42 "), 42);
    EXPECT_EQ(ReadPlayTimeMilliseconds("2147483647"), 2147483647);
    EXPECT_EQ(ReadPlayTimeMilliseconds("2147483648"), 0);
    EXPECT_EQ(ReadPlayTimeMilliseconds("12abc"), 0);
    EXPECT_EQ(ReadPlayTimeMilliseconds("."), 0);
}

struct SizeCase
{
    const char* width;
    const char* height;
    const char* pixelAspect;
    const char* rotation;
    const char* size;
};

void PrintTo(const SizeCase& c, std::ostream* os)
{
    *os << c.width << "x" << c.height << " pixels " << c.pixelAspect << " turned " << c.rotation;
}

class SizeConversion : public ::testing::TestWithParam<SizeCase>
{
};

TEST_P(SizeConversion, GivesTheDisplayedWidthXHeight)
{
    ProbeAnswers answers;
    answers.width = GetParam().width;
    answers.height = GetParam().height;
    answers.pixelAspect = GetParam().pixelAspect;
    answers.rotation = GetParam().rotation;
    EXPECT_EQ(ConvertProbeAnswers(answers).videoSize, GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SizeConversion,
    ::testing::Values(SizeCase{"1920", "1080", "1.000", "", "1920x1080"}, SizeCase{"", "", "", "", "0x0"},
                      SizeCase{"40000", "1080", "", "", "0x1080"}, SizeCase{"32767", "x", "", "", "32767x0"},
                      SizeCase{"0640", "480", "", "", "640x480"},
                      // DVD frames: 16:9 and 4:3 PAL, 16:9 NTSC.
                      SizeCase{"720", "576", "1.422", "", "1024x576"},
                      SizeCase{"720", "576", "1.067", "", "768x576"},
                      SizeCase{"720", "480", "1.185", "", "853x480"},
                      // Phone clips held upright, either way; upside down stays landscape.
                      SizeCase{"1920", "1080", "1.000", "90.000", "1080x1920"},
                      SizeCase{"1920", "1080", "", "-90", "1080x1920"},
                      SizeCase{"1920", "1080", "", "180.000", "1920x1080"},
                      SizeCase{"30000", "576", "1.422", "", "0x576"},
                      SizeCase{"720", "576", "wide", "x", "720x576"}),
    [](const auto& row) {
        return test::CaseName(std::string(row.param.width) + "x" + row.param.height, row.index);
    });

TEST(CodecConversion, EmptyCodecFallsBackToFormatThenUnknown)
{
    ProbeAnswers answers;
    EXPECT_EQ(ConvertProbeAnswers(answers).codec, "UNKNOWN");
    answers.format = "AVC";
    EXPECT_EQ(ConvertProbeAnswers(answers).codec, "AVC");
    answers.codec = " mpeg-4 Visual ";
    EXPECT_EQ(ConvertProbeAnswers(answers).codec, " mpeg-4 Visual ") << "a codec answer is stored unchanged";
}

TEST(FileNameConversion, IsTheAnswerUnchanged)
{
    ProbeAnswers answers;
    answers.fileName = "My Clip";
    EXPECT_EQ(ConvertProbeAnswers(answers).filename, "My Clip");
}

// --- The library calls, in order -----------------------------------------------------------------

class RecordingLibrary : public MediaLibrary
{
public:
    std::vector<std::string> calls;
    std::map<std::string, std::string> answers; // by Inform template
    bool available = true;

    Handle New() override
    {
        calls.push_back("New");
        return available ? this : nullptr;
    }
    void Option(Handle handle, std::string_view name, std::string_view value) override
    {
        calls.push_back("Option " + std::string(name) + "=" + std::string(value));
        if (handle != nullptr && name == "Inform")
            m_template = value;
    }
    bool Open(Handle, const std::string& path) override
    {
        calls.push_back("Open " + path);
        return true;
    }
    std::string Inform(Handle handle) override
    {
        calls.push_back("Inform");
        return handle != nullptr ? answers[m_template] : std::string();
    }
    void Close(Handle) override { calls.push_back("Close"); }
    void Delete(Handle) override { calls.push_back("Delete"); }

private:
    std::string m_template;
};

TEST(ProbeCalls, NetworkOffBeforeOpenFirstVideoStreamOnlyThenRelease)
{
    RecordingLibrary library;
    // A cover picture or a second angle answers after the first stream.
    library.answers = {{"Video;%Codec%|", "AVC|V_MJPEG|"},
                       {"General;%PlayTime%", "2000"},
                       {"Video;%Width%|", "720|300|"},
                       {"Video;%Height%|", "576|300|"},
                       {"Video;%PixelAspectRatio%|", "1.422|1.000|"}};
    const ProbeFields fields = ProbeMediaFile("/v/clip.mp4", library);
    ASSERT_GE(library.calls.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(library.calls.begin(), library.calls.begin() + 3),
              (std::vector<std::string>{"New", "Option Internet=no", "Open /v/clip.mp4"}));
    EXPECT_EQ(std::vector<std::string>(library.calls.end() - 2, library.calls.end()),
              (std::vector<std::string>{"Close", "Delete"}));
    EXPECT_EQ(fields.filename, "clip");
    EXPECT_EQ(fields.codec, "AVC");
    EXPECT_EQ(fields.duration, "00:00:02");
    EXPECT_EQ(fields.videoSize, "1024x576");
}

TEST(ProbeCalls, EmptyCodecFallsBackToTheFirstStreamsFormat)
{
    RecordingLibrary library;
    library.answers = {{"Video;%Format%|", "MPEG-4 Visual|JPEG|"}};
    EXPECT_EQ(ProbeMediaFile("/v/a.avi", library).codec, "MPEG-4 Visual");
}

TEST(ProbeCalls, AFailingLibraryGivesTheFallbackRow)
{
    RecordingLibrary library;
    library.available = false;
    const ProbeFields fields = ProbeMediaFile("/v/a.avi", library);
    EXPECT_EQ(fields.filename, "a"); // the path's, whatever the library can do
    EXPECT_EQ(fields.codec, "UNKNOWN");
    EXPECT_EQ(fields.duration, "00:00:00");
    EXPECT_EQ(fields.videoSize, "0x0");
}

TEST(GetVideoFileInfo, IndexZeroProbesTheLastRowAndLeavesTrimAlone)
{
    RecordingLibrary library;
    library.answers = {{"Video;%Codec%|", "AVC|"}};
    VideoListModel list;
    for (const char* path : {"/v/1.mp4", "/v/2.mp4", "/v/3.mp4"}) {
        VideoRow row;
        row.filepath = path;
        row.beginTime = "00:00:01";
        row.endTime = "00:00:02";
        list.Append(row);
    }
    std::int16_t index = 0;
    GetVideoFileInfo(list, index, library);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(library.calls[2], "Open /v/3.mp4");
    EXPECT_EQ(list.Row(3)->filename, "3");
    EXPECT_EQ(list.Row(3)->codec, "AVC");
    EXPECT_EQ(list.Row(3)->beginTime, "00:00:01");
    EXPECT_EQ(list.Row(3)->endTime, "00:00:02");
    EXPECT_EQ(list.Row(1)->filename, "");
}

TEST(GetVideoFileInfo, AnIndexOutsideTheListDoesNothing)
{
    RecordingLibrary library;
    VideoListModel list;
    std::int16_t index = 0;
    GetVideoFileInfo(list, index, library);
    index = 5;
    GetVideoFileInfo(list, index, library);
    EXPECT_TRUE(library.calls.empty());
}

// --- Real files through libmediainfo ------------------------------------------------------------

class RealProbe : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!MediaInfoLibrary::Shared().IsLoaded())
            GTEST_SKIP() << "libmediainfo.so.0 is not installed";
    }

    static ProbeFields ProbeClip(test::Clip clip)
    {
        const std::string path = test::ClipPath(clip);
        EXPECT_FALSE(path.empty()) << "ffmpeg could not make the clip";
        return ProbeMediaFile(path);
    }
};

TEST_F(RealProbe, H264Mp4)
{
    const ProbeFields fields = ProbeClip(test::Clip::H264AacMp4);
    EXPECT_EQ(fields.filename, "h264");
    EXPECT_EQ(fields.codec, "AVC");
    EXPECT_EQ(fields.duration, "00:00:02");
    EXPECT_EQ(fields.videoSize, "160x120");
}

TEST_F(RealProbe, Mpeg4Avi)
{
    const ProbeFields fields = ProbeClip(test::Clip::Mpeg4Avi);
    EXPECT_EQ(fields.filename, "mpeg4");
    EXPECT_EQ(fields.codec, "MPEG-4 Visual");
    EXPECT_EQ(fields.duration, "00:00:01");
    EXPECT_EQ(fields.videoSize, "160x120");
}

TEST_F(RealProbe, Mp3WithoutVideoKeepsItsDuration)
{
    const ProbeFields fields = ProbeClip(test::Clip::Mp3Audio);
    EXPECT_EQ(fields.filename, "tone");
    EXPECT_EQ(fields.codec, "UNKNOWN");
    EXPECT_EQ(fields.duration, "00:00:02");
    EXPECT_EQ(fields.videoSize, "0x0");
}

TEST_F(RealProbe, FullHdSize)
{
    const ProbeFields fields = ProbeClip(test::Clip::FullHdMp4);
    EXPECT_EQ(fields.videoSize, "1920x1080");
    EXPECT_EQ(fields.duration, "00:00:01");
}

TEST_F(RealProbe, AnyFileNameIsOnlyData)
{
    // The test program never calls setlocale, so it runs in the "C" locale, where the library on
    // its own cannot open a non-ASCII name; one byte of Latin-1 is no UTF-8 at all; the library's
    // templates would expand what a name spells.
    const std::string clip = test::ClipPath(test::Clip::H264AacMp4);
    const std::string folder = test::MakeTempFolder();
    for (const std::string name : {"Überraschung ñ 日本", "caf\xe9", "x%FileName", "a %b% c", "%Format%"}) {
        const std::string path = JoinPath(folder, name + ".avi");
        std::filesystem::copy_file(clip, path);
        const ProbeFields fields = ProbeMediaFile(path);
        EXPECT_EQ(fields.filename, name);
        EXPECT_EQ(fields.codec, "AVC") << name;
        EXPECT_EQ(fields.duration, "00:00:02") << name;
        EXPECT_EQ(fields.videoSize, "160x120") << name;
    }
}

TEST_F(RealProbe, TextFileNamedAvi)
{
    const std::string path = JoinPath(test::MakeTempFolder(), "notes.avi");
    test::WriteTextFile(path, "this is not a video\n");
    const ProbeFields fields = ProbeMediaFile(path);
    EXPECT_EQ(fields.codec, "UNKNOWN");
    EXPECT_EQ(fields.duration, "00:00:00");
    EXPECT_EQ(fields.videoSize, "0x0");
    EXPECT_EQ(fields.filename, "notes");
}

TEST_F(RealProbe, MissingPathAndFolderGiveTheFallbackRow)
{
    const std::string folder = test::MakeTempFolder();
    for (const std::string& path : {JoinPath(folder, "missing.mp4"), folder}) {
        const ProbeFields fields = ProbeMediaFile(path);
        EXPECT_EQ(fields.codec, "UNKNOWN") << path;
        EXPECT_EQ(fields.duration, "00:00:00") << path;
        EXPECT_EQ(fields.videoSize, "0x0") << path;
    }
}

TEST(MissingLibrary, EveryCallFailsAndTheProbeGivesTheFallbackRow)
{
    MediaInfoLibrary missing("libzantrove-no-such-media-library.so.0");
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_EQ(missing.New(), nullptr);
    const std::string path = test::ClipPath(test::Clip::Mpeg4Avi);
    const ProbeFields fields = ProbeMediaFile(path, missing);
    EXPECT_EQ(fields.filename, "mpeg4");
    EXPECT_EQ(fields.codec, "UNKNOWN");
    EXPECT_EQ(fields.duration, "00:00:00");
    EXPECT_EQ(fields.videoSize, "0x0");
}

} // namespace
} // namespace zantrove
