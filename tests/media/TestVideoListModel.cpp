// SPDX-License-Identifier: GPL-3.0-or-later
// The list of videos, its selection's operations, adding files to it, and the probe that fills a row's
// codec, duration and size from the library's answers and calls (the CLI's tests probe real clips).
#include "media/AddFilesFlow.h"
#include "media/ListOperations.h"
#include "media/MediaProbe.h"
#include "media/VideoListModel.h"
#include "platform/FileSystem.h"
#include "storage/UserSettings.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <tuple>

namespace zantrove {
namespace {

VideoRow Named(std::string name)
{
    return {std::move(name), "", "", "", "", "", "", ""};
}

VideoListModel FiveRows()
{
    VideoListModel list;
    for (const char* name : {"r1", "r2", "r3", "r4", "r5"})
        list.Append(VideoRow{name, "", "", "", "", "", std::string("/v/") + name, ""});
    return list;
}

TEST(VideoList, AppendKeepsOrderAllowsDuplicatesAndStopsAt32767Rows)
{
    VideoListModel list;
    for (std::int16_t index : {1, 2, 3})
        EXPECT_EQ(list.Append(Named(index == 2 ? "b" : "a")), index);
    EXPECT_EQ(list.Row(1)->filename + list.Row(2)->filename + list.Row(3)->filename, "aba");
    for (const std::int16_t outside : {0, 4, -1})
        EXPECT_EQ(list.Row(outside), nullptr) << outside;
    while (list.Count() < VideoListModel::kMaxRows)
        ASSERT_NE(list.Append(VideoRow{}), 0);
    EXPECT_EQ(list.Append(VideoRow{}), 0);
    EXPECT_EQ(list.Count(), 32767);
    EXPECT_NE(list.Row(32767), nullptr);
}

TEST(VideoList, RemovingFollowsTheSelectionAndTheCurrentRow)
{
    VideoListModel list = FiveRows();
    int notices = 0;
    list.AddListener([&](const VideoListChange&) { ++notices; });
    list.RemoveSelectedListItems(); // nothing selected: nothing changes
    EXPECT_EQ(notices, 0);
    list.SetCurrentRow(4);
    list.RemoveRow(2);
    EXPECT_EQ(list.Row(list.CurrentRow())->filename, "r4");
    list.RemoveRow(3);
    EXPECT_EQ(list.CurrentRow(), 0);
    list.SetCurrentRow(99);
    EXPECT_EQ(list.CurrentRow(), 0);
    EXPECT_FALSE(list.RemoveRow(4));
    EXPECT_FALSE(list.SetRow(4, Named("x")));
    EXPECT_FALSE(list.SetTrimTimes(0, "a", "b"));
    EXPECT_TRUE(list.SetRow(3, Named("other")));
    EXPECT_EQ(list.Row(3)->filename, "other");

    list.SelectOnly({2});
    list.SetCurrentRow(2);
    list.Clear();
    EXPECT_EQ(list.Count() + list.CurrentRow() + list.SelectedCount(), 0);
}

TEST(VideoList, EveryChangeIsAnnouncedBeforeAndAfter)
{
    VideoListModel list;
    std::vector<std::string> seen;
    // Before an insert the list still has its old count: what item models need.
    const int id = list.AddListener([&](const VideoListChange& change) {
        static const char* kinds[] = {"insert", "change", "remove", "reset"};
        seen.push_back(std::string(change.phase == VideoListChange::Phase::Before ? "before " : "after ") +
                       kinds[static_cast<int>(change.kind)] + " " + std::to_string(change.first) + "-" +
                       std::to_string(change.last) + " count " + std::to_string(list.Count()));
    });
    list.Append(Named("a"));
    list.Append(Named("b"));
    list.SetTrimTimes(2, "00:00:01", "00:00:02");
    list.SetRow(1, Named("A"));
    list.RemoveRow(1);
    list.Clear();
    list.RemoveListener(id);
    list.Append(Named("c"));
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "before insert 1-1 count 0", "after insert 1-1 count 1", "before insert 2-2 count 1",
                        "after insert 2-2 count 2", "before change 2-2 count 2", "after change 2-2 count 2",
                        "before change 1-1 count 2", "after change 1-1 count 2", "before remove 1-1 count 2",
                        "after remove 1-1 count 1", "before reset 1-1 count 1", "after reset 1-1 count 0"}));
}

TEST(ListOperations, ClearingAsksEvenWhenEmptyAndOpeningNeedsACurrentRowAndUsesOnlyIt)
{
    VideoListModel list;
    int asked = 0;
    ClearListItems(
        list, [&asked](const UserMessage& q) { return asked += q.icon == MessageIcon::Question, false; });
    EXPECT_EQ(asked, 1); // an empty list still asks
    list = FiveRows();
    std::vector<std::string> used;
    const auto use = [&](bool verdict) {
        return [&used, verdict](const std::string& path) { return used.push_back(path), verdict; };
    };
    const auto refusal = [](const auto& result) {
        return result ? std::nullopt : std::optional(result.error().icon);
    };
    EXPECT_EQ(refusal(OpenSelectedVideoFile(list, use(true))), MessageIcon::Information);
    EXPECT_EQ(refusal(ShowSelectedFileProperties(list, use(true))), MessageIcon::Exclamation);
    EXPECT_TRUE(used.empty());

    list.SelectOnly({1, 2, 3});
    list.SetCurrentRow(2);
    EXPECT_TRUE(OpenSelectedVideoFile(list, use(false))) << "a failed open is not reported";
    EXPECT_TRUE(ShowSelectedFileProperties(list, use(true)));
    EXPECT_EQ(refusal(ShowSelectedFileProperties(list, use(false))), MessageIcon::Critical);
    EXPECT_EQ(used, (std::vector<std::string>{"/v/r2", "/v/r2", "/v/r2"}));
}

using Paths = std::vector<std::string>;

// A probe that answers at once with fields made from the path, so rows are easy to tell apart.
ProbeFields FakeProbe(const std::string& path)
{
    return {"name of " + path, "AVC", "00:00:02", "160x120", ""};
}

class AddFiles : public ::testing::Test
{
protected:
    std::string m_settings = test::MakeTempFolder("settings");
    VideoListModel m_list;
    Paths m_probed;
    std::function<void(std::size_t)> m_onProbe;
    AddFilesFlow m_flow{m_list, m_settings, "/home/someone", [this](const std::string& path) {
                            m_probed.push_back(path);
                            if (m_onProbe)
                                m_onProbe(m_probed.size());
                            return FakeProbe(path);
                        }};
    AddFilesDialogSetup m_lastSetup;
    // The bar as "text done/value/maximum", with "+" when events are pumped and "." when finished.
    Paths m_shown;
    std::function<void(const AddFilesProgress&)> m_show = [this](const AddFilesProgress& p) {
        m_shown.push_back(std::string(p.statusText) + " " + std::to_string(p.filesDone) + "/" +
                          std::to_string(p.value) + "/" + std::to_string(p.maximum) +
                          (p.pumpEvents ? "+" : "") + (p.finished ? "." : ""));
    };

    AddFilesResult Add(Paths files)
    {
        return m_flow.AddVideoFiles(
            [this, files](const AddFilesDialogSetup& setup) { return m_lastSetup = setup, files; }, m_show);
    }
    std::string StoredFolder() const { return ReadAddFilesFolder(m_settings, "<none>"); }
    Paths ListPaths() const
    {
        Paths paths;
        for (const auto& row : m_list.Rows())
            paths.push_back(row.filepath);
        return paths;
    }
};

TEST(AddFilesRules, TheFolderRuleNeverDoublesTheSeparator)
{
    EXPECT_EQ(SelectionFolder({"/videos/a.avi"}) + " " + SelectionFolder({"/videos/a.avi", "/videos/b.avi"}) +
                  " " + SelectionFolder({"/a.avi"}) + " " + SelectionFolder({"/x.avi", "/y.avi"}) + " " +
                  SelectionFolder({}),
              "/videos/ /videos / / ");
}

TEST_F(AddFiles, ACancelledDialogChangesNothingAndOneFileIsAddedWithItsFolder)
{
    EXPECT_EQ(Add({}).added, 0);
    EXPECT_EQ(m_lastSetup.startFolder, "/home/someone");
    EXPECT_TRUE(m_lastSetup.filters == AddFilesDialogFilters());
    EXPECT_TRUE(m_list.IsEmpty());
    EXPECT_FALSE(FileExists(SettingsFilePath(m_settings)));
    // One dialog file is added without processing events, and cannot be cancelled.
    m_onProbe = [this](std::size_t) { m_flow.Cancel(); };
    const AddFilesResult result = Add({"/videos/a.avi"});
    EXPECT_EQ(result.added, 1);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(RowDumpLine(*m_list.Row(1)),
              "name of /videos/a.avi | AVC | 00:00:02 | 160x120 |  |  | /videos/a.avi");
    EXPECT_EQ(StoredFolder(), "/videos/");
    EXPECT_EQ(m_shown, (Paths{"Adding File... 0/1/1", "Adding File... 1/1/1."}));
    // The start folder itself is not written again.
    test::WriteTextFile(SettingsFilePath(m_settings), "");
    AddFilesFlow(m_list, m_settings, "/videos/", FakeProbe).AddVideoFiles([](const AddFilesDialogSetup&) {
        return Paths{"/videos/a.avi"};
    });
    EXPECT_EQ(m_list.Count(), 2);
    EXPECT_EQ(StoredFolder(), "<none>");
}

TEST_F(AddFiles, SeveralFilesKeepDialogOrderAndTheNextDialogStartsInTheirFolder)
{
    Add({"/videos/a.avi", "/videos/b.avi", "/videos/c.avi"});
    EXPECT_EQ(ListPaths(), (Paths{"/videos/a.avi", "/videos/b.avi", "/videos/c.avi"}));
    EXPECT_EQ(StoredFolder(), "/videos");
    // One third from the start of the first file, two thirds after the second, full after the third.
    EXPECT_EQ(m_shown, (Paths{"Adding Files... 0/1/3", "Adding Files... 1/1/3+", "Adding Files... 2/2/3+",
                              "Adding Files... 3/3/3+."}));
    Add({});
    EXPECT_EQ(m_lastSetup.startFolder, "/videos");
}

TEST_F(AddFiles, CancelDuringTheSecondOfFiveLeavesTwoCompleteRowsAndANewAddStartsAfresh)
{
    Paths seenRows;
    m_list.AddListener([&](const VideoListChange& change) {
        if (change.phase == VideoListChange::Phase::After &&
            change.kind == VideoListChange::Kind::RowsInserted)
            seenRows.push_back(RowDumpLine(*m_list.Row(change.first)));
    });
    m_onProbe = [this](std::size_t probing) {
        if (probing == 2)
            m_flow.Cancel(); // the click arrives while the second file is being worked on
    };
    const AddFilesResult result = Add({"/v/1.avi", "/v/2.avi", "/v/3.avi", "/v/4.avi", "/v/5.avi"});
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.added, 2);
    EXPECT_EQ(m_probed, (Paths{"/v/1.avi", "/v/2.avi"}));
    // Every row was complete the moment it appeared.
    EXPECT_EQ(seenRows, (Paths{"name of /v/1.avi | AVC | 00:00:02 | 160x120 |  |  | /v/1.avi",
                               "name of /v/2.avi | AVC | 00:00:02 | 160x120 |  |  | /v/2.avi"}));
    // A new add starts afresh; dropped paths are taken unfiltered and leave the remembered folder.
    m_onProbe = nullptr;
    m_flow.Cancel();
    m_flow.AddDroppedFiles({"/v/notes.txt", "/v/folder", "/v/a.avi"});
    EXPECT_EQ(ListPaths().back() + " " + std::to_string(m_list.Count()), "/v/a.avi 5");
    EXPECT_EQ(StoredFolder(), "/v");
}

TEST(ProbeConversion, PlayTimeRoundsHalfToEvenAndSizeIsTheDisplayedPictureWithPixelShapeAndTurn)
{
    const std::pair<const char*, const char*> durations[] = {
        {"5372000", "01:29:32"}, {"999", "00:00:01"},   {"500", "00:00:00"},
        {"1500", "00:00:02"},    {"-5000", "00:00:00"}, {"360000000", "100:00:00"}};
    for (const auto& [answer, duration] : durations)
        EXPECT_EQ(ConvertProbeAnswers({"", "", "", answer, "", "", "", "", ""}).duration, duration) << answer;
    const std::pair<const char*, std::int32_t> playTimes[] = {
        {"1500.5", 1500},  {"1501.5", 1502}, {" 42 ", 42}, {"2147483647", 2147483647},
        {"2147483648", 0}, {"12abc", 0},     {".", 0}};
    for (const auto& [answer, expected] : playTimes)
        EXPECT_EQ(ReadPlayTimeMilliseconds(answer), expected) << answer;
    // Width, height, pixel aspect, rotation: out-of-range and unreadable answers, DVD frames (16:9 PAL
    // and NTSC), phone clips held upright either way, and one upside down that stays landscape.
    const char* sizes[][5] = {
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
    const auto row = [](const ProbeFields& f) {
        return f.filename + " | " + f.codec + " | " + f.duration + " | " + f.videoSize;
    };
    // A cover picture or a second angle answers after the first stream.
    library.answers = {{"Video;%Codec%|", "AVC|V_MJPEG|"},
                       {"General;%PlayTime%", "2000"},
                       {"Video;%Width%|", "720|300|"},
                       {"Video;%Height%|", "576|300|"},
                       {"Video;%PixelAspectRatio%|", "1.422|1.000|"}};
    EXPECT_EQ(row(ProbeMediaFile("/v/clip.mp4", library)), "clip | AVC | 00:00:02 | 1024x576");
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
        {kTracksTemplate, "", &ProbeFields::tracks, ""},
        {"Video;%Format%|", "MPEG-4 Visual|JPEG|", &ProbeFields::codec, "MPEG-4 Visual"},
        {"Video;%Codec%|", " mpeg-4 Visual |", &ProbeFields::codec, " mpeg-4 Visual "}};
    for (const auto& [asked, answer, field, text] : answers) {
        library.answers = {{std::string(asked), answer}};
        EXPECT_EQ(ProbeMediaFile("/v/a.mkv", library).*field, text) << answer;
    }
    library.available = false;
    EXPECT_EQ(row(ProbeMediaFile("/v/a.avi", library)), "a | UNKNOWN | 00:00:00 | 0x0");
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
    EXPECT_EQ(missing.New(), nullptr); // the fallback row then comes as for an unavailable library above
}

} // namespace
} // namespace zantrove
