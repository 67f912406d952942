// SPDX-License-Identifier: GPL-3.0-or-later
// The probe that fills a row's codec, duration and size: the conversion of the library's answers and
// the calls it makes; real clips are probed by the CLI's tests.
#include "media/MediaProbe.h"
#include "tests/support/TestHome.h"

#include <array>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <tuple>

namespace zantrove {
namespace {

std::string Row(const ProbeFields& f)
{
    return f.filename + " | " + f.codec + " | " + f.duration + " | " + f.videoSize;
}

TEST(ProbeConversion, PlayTimeRoundsHalfToEvenAndSizeIsTheDisplayedPictureWithPixelShapeAndTurn)
{
    const std::pair<const char*, const char*> durations[] = {
        {"5372000", "01:29:32"}, {"999", "00:00:01"},        {"500", "00:00:00"},
        {"1500", "00:00:02"},    {"2500.0", "00:00:02"},     {"1e3", "00:00:00"},
        {"-5000", "00:00:00"},   {"360000000", "100:00:00"}, {"3000000000", "00:00:00"}};
    for (const auto& [answer, duration] : durations)
        EXPECT_EQ(ConvertProbeAnswers({"", "", "", answer, "", "", "", "", ""}).duration, duration) << answer;
    const std::pair<const char*, std::int32_t> playTimes[] = {
        {"1500.5", 1500},  {"1501.5", 1502}, {" 42 ", 42}, {"2147483647", 2147483647},
        {"2147483648", 0}, {"12abc", 0},     {".", 0}};
    for (const auto& [answer, expected] : playTimes)
        EXPECT_EQ(ReadPlayTimeMilliseconds(answer), expected) << answer;
    // Width, height, pixel aspect, rotation: out-of-range and unreadable answers, DVD frames (16:9 PAL
    // and NTSC), phone clips held upright either way, and one upside down that stays landscape.
    const std::array<const char*, 5> sizes[] = {
        {"1920", "1080", "1.000", "", "1920x1080"}, {"", "", "", "", "0x0"},
        {"40000", "1080", "", "", "0x1080"},        {"32767", "x", "", "", "32767x0"},
        {"0640", "480", "", "", "640x480"},         {"720", "576", "1.422", "", "1024x576"},
        {"720", "480", "1.185", "", "853x480"},     {"1920", "1080", "1.000", "90.000", "1080x1920"},
        {"1920", "1080", "", "-90", "1080x1920"},   {"1920", "1080", "", "180.000", "1920x1080"},
        {"30000", "576", "1.422", "", "0x576"},     {"720", "576", "wide", "x", "720x576"}};
    for (const auto& [width, height, aspect, rotation, size] : sizes)
        EXPECT_EQ(ConvertProbeAnswers({"", "", "", "", width, height, aspect, rotation, ""}).videoSize, size)
            << width << "x" << height << " " << aspect << " " << rotation;
}

class RecordingLibrary : public MediaLibrary
{
public:
    std::vector<std::string> calls;
    std::map<std::string, std::string> answers; // by Inform template
    bool available = true;

    Handle New() override { return calls.push_back("New"), available ? this : nullptr; }
    void Option(Handle handle, std::string_view name, std::string_view value) override
    {
        calls.push_back("Option " + std::string(name) + "=" + std::string(value));
        if (handle != nullptr && name == "Inform")
            m_template = value;
    }
    bool Open(Handle, const std::string& path) override { return calls.push_back("Open " + path), true; }
    std::string Inform(Handle handle) override
    {
        return calls.push_back("Inform"), handle ? answers[m_template] : "";
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
    EXPECT_EQ(Row(ProbeMediaFile("/v/clip.mp4", library)), "clip | AVC | 00:00:02 | 1024x576");
    ASSERT_GE(library.calls.size(), 5u);
    EXPECT_EQ(library.calls[0] + ", " + library.calls[1] + ", " + library.calls[2] + " ... " +
                  library.calls.end()[-2] + ", " + library.calls.back(),
              "New, Option Internet=no, Open /v/clip.mp4 ... Close, Delete");

    // The scan as the file flags it: a camcorder's field order, pulldown film, and nothing said; the
    // tracks counted by kind from one answer; the codec, or else the format, as it is written.
    const std::tuple<std::string_view, const char*, std::string ProbeFields::*, const char*> answers[] = {
        {kScanTemplate, "MBAFF/TFF///|", &ProbeFields::scan, "Interlaced, top field first"},
        {kScanTemplate, "Interlaced/BFF///|", &ProbeFields::scan, "Interlaced, bottom field first"},
        {kScanTemplate, "Progressive/2:3 Pulldown/Interlaced/TFF|", &ProbeFields::scan, "Film with pulldown"},
        {kScanTemplate, "Progressive////|Interlaced/TFF///|", &ProbeFields::scan, "Progressive"},
        {kScanTemplate, "////|", &ProbeFields::scan, ""},
        {kTracksTemplate, "2|UTF-8 / UTF-8 / VobSub", &ProbeFields::tracks, "2 sound, 2 text, 1 picture"},
        {kTracksTemplate, "1|", &ProbeFields::tracks, "1 sound"},
        {kTracksTemplate, "|PGS / Timed Text", &ProbeFields::tracks, "1 text, 1 picture"},
        {kTracksTemplate, "0|", &ProbeFields::tracks, ""},
        {kTracksTemplate, "", &ProbeFields::tracks, ""},
        {"Video;%Format%|", "MPEG-4 Visual|JPEG|", &ProbeFields::codec, "MPEG-4 Visual"},
        {"Video;%Codec%|", " mpeg-4 Visual |", &ProbeFields::codec, " mpeg-4 Visual "}};
    for (const auto& [asked, answer, field, text] : answers) {
        library.answers = {{std::string(asked), answer}};
        EXPECT_EQ(ProbeMediaFile("/v/a.mkv", library).*field, text) << answer;
    }
    library.available = false;
    EXPECT_EQ(Row(ProbeMediaFile("/v/a.avi", library)), "a | UNKNOWN | 00:00:00 | 0x0");
}

TEST(WideText, Utf8RoundTripsByCodePointAndMalformedBytesBecomeReplacements)
{
    for (const std::string text :
         {"", "plain.avi", "/home/ü/Überraschung ñ.mp4", "日本語のビデオ.mkv", "emoji 🎬"})
        EXPECT_EQ(StringFromWidePointer(WideFromUtf8(text).c_str()), text);
    EXPECT_EQ(WideFromUtf8("é🎬").size(), sizeof(wchar_t) == 4 ? 2u : 3u); // a surrogate pair on 16 bits
    const std::string r = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> malformed[] = {
        {std::string("a\xFF") + "b", "a" + r + "b"},
        {"\xC3", r},                  // cut short
        {"\xC0\xAF", r + r},          // overlong
        {"\xED\xA0\x80", r + r + r}}; // an encoded surrogate is no character
    for (const auto& [bytes, text] : malformed)
        EXPECT_EQ(StringFromWidePointer(WideFromUtf8(bytes).c_str()), text);
    if constexpr (sizeof(wchar_t) == 4) {
        const wchar_t beyond[] = {static_cast<wchar_t>(0x110000), 0};
        EXPECT_EQ(StringFromWidePointer(beyond), r);
    }
    EXPECT_EQ(StringFromWidePointer(nullptr), "");
}

TEST(SharedLibrary, NullHandleCallsFailQuietlyAndAMissingLibraryGivesTheFallbackRow)
{
    MediaInfoLibrary& library = MediaInfoLibrary::Shared();
    EXPECT_EQ(&library, &MediaInfoLibrary::Shared());
    library.Option(nullptr, "Inform", "General;%FileName%");
    EXPECT_FALSE(library.Open(nullptr, "/nowhere"));
    // A file it cannot parse still opens; a missing file, a folder and a pipe do not, and the pipe
    // does not wait for a writer.
    const std::string folder = test::MakeTempFolder("open");
    test::WriteTextFile(folder + "/notes.avi", "not a video");
    ASSERT_EQ(::mkfifo((folder + "/pipe.avi").c_str(), 0600), 0);
    MediaInfoLibrary::Handle handle = library.New();
    for (const auto& [name, opens] :
         {std::pair{"/notes.avi", true}, {"/missing.avi", false}, {"", false}, {"/pipe.avi", false}}) {
        EXPECT_EQ(library.Open(handle, folder + name), opens) << name;
        library.Close(handle);
    }
    library.Delete(handle);
    EXPECT_EQ(library.Inform(nullptr), "");
    library.Close(nullptr);
    library.Delete(nullptr);

    MediaInfoLibrary missing("libzantrove-no-such-media-library.so.0");
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_EQ(missing.New(), nullptr);
    EXPECT_EQ(Row(ProbeMediaFile("/v/mpeg4.avi", missing)), "mpeg4 | UNKNOWN | 00:00:00 | 0x0");
}

} // namespace
} // namespace zantrove
