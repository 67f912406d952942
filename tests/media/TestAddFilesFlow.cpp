// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/AddFilesFlow.h"

#include "media/VideoListModel.h"
#include "platform/FileSystem.h"
#include "storage/IniFile.h"
#include "storage/UserSettings.h"
#include "tests/media/MediaClips.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

namespace zantrove {
namespace {

// A probe that answers at once with fields made from the path, so rows are easy to tell apart.
ProbeFields FakeProbe(const std::string& path)
{
    return {"name of " + path, "AVC", "00:00:02", "160x120"};
}

class AddFiles : public ::testing::Test
{
protected:
    std::string m_settings = test::MakeTempFolder("settings");
    std::string m_home = "/home/someone";
    VideoListModel m_list;
    std::vector<std::string> m_probed;
    AddFilesFlow m_flow{m_list, m_settings, m_home, [this](const std::string& path) {
                            m_probed.push_back(path);
                            if (onProbe)
                                onProbe(m_probed.size());
                            return FakeProbe(path);
                        }};
    std::function<void(std::size_t)> onProbe;

    AddFilesFlow::ChooseFiles Choose(std::vector<std::string> files)
    {
        return [this, files](const AddFilesDialogSetup& setup) {
            m_lastSetup = setup;
            return files;
        };
    }
    std::string StoredFolder() const
    {
        return ReadIniValue("Commondialog", "AddFiles", "<none>", SettingsFilePath(m_settings));
    }
    std::vector<std::string> Paths() const
    {
        std::vector<std::string> paths;
        for (const auto& row : m_list.Rows())
            paths.push_back(row.filepath);
        return paths;
    }

    AddFilesDialogSetup m_lastSetup;
};

TEST(AddFilesFilters, EightEntriesFirstShowsTodaysFileTypes)
{
    const std::vector<std::string> filters = AddFilesDialogFilters();
    ASSERT_EQ(filters.size(), 8u);
    EXPECT_EQ(filters[1], "MP3 Files (*.mp3)");
    EXPECT_EQ(filters[7], "All Files (*)");
    std::string all = filters[0];
    ASSERT_EQ(all.rfind("All Supported Files (", 0), 0u);
    all.back() = ' ';
    for (const char* type : {"mp3", "avi", "wmv", "mp4", "m4v", "mov", "mkv", "webm", "ts", "m2ts", "mts",
                             "vob", "ogv", "flv", "3gp"})
        EXPECT_NE(all.find(std::string("*.") + type + " "), std::string::npos) << type;
}

TEST(SelectionFolderRule, OneFileWithSeparatorSeveralWithoutRootsNeverDoubled)
{
    EXPECT_EQ(SelectionFolder({"/videos/a.avi"}), "/videos/");
    EXPECT_EQ(SelectionFolder({"/videos/a.avi", "/videos/b.avi"}), "/videos");
    EXPECT_EQ(SelectionFolder({"/a.avi"}), "/");
    EXPECT_EQ(SelectionFolder({"/x.avi", "/y.avi"}), "/");
    EXPECT_EQ(SelectionFolder({}), "");
}

TEST_F(AddFiles, DialogStartsInTheHomeFolderWithTitleAndFilters)
{
    m_flow.AddVideoFiles(Choose({}));
    EXPECT_EQ(m_lastSetup.title, "Add Video File(s)");
    EXPECT_EQ(m_lastSetup.startFolder, m_home);
    EXPECT_EQ(m_lastSetup.filters, AddFilesDialogFilters());
}

TEST_F(AddFiles, CancelledDialogChangesNothing)
{
    const AddFilesResult result = m_flow.AddVideoFiles(Choose({}));
    EXPECT_EQ(result.added, 0);
    EXPECT_TRUE(m_list.IsEmpty());
    EXPECT_FALSE(FileExists(SettingsFilePath(m_settings)));
    EXPECT_TRUE(m_probed.empty());
}

TEST_F(AddFiles, OneFileAddsItsRowAndRemembersItsFolderWithSeparator)
{
    std::vector<AddFilesProgress> shown;
    const AddFilesResult result = m_flow.AddVideoFiles(
        Choose({"/videos/a.avi"}), [&](const AddFilesProgress& p) { shown.push_back(p); });
    EXPECT_EQ(result.added, 1);
    ASSERT_EQ(m_list.Count(), 1);
    const VideoRow& row = *m_list.Row(1);
    EXPECT_EQ(row.filepath, "/videos/a.avi");
    EXPECT_EQ(row.filename, "name of /videos/a.avi");
    EXPECT_FALSE(row.IsTrimmed());
    EXPECT_EQ(StoredFolder(), "/videos/");

    ASSERT_EQ(shown.size(), 2u);
    for (const auto& p : shown) {
        EXPECT_EQ(p.statusText, "Adding File...");
        EXPECT_EQ(p.value, 1);
        EXPECT_EQ(p.maximum, 1);
        EXPECT_FALSE(p.pumpEvents) << "one dialog file is added without processing events";
    }
    EXPECT_FALSE(shown[0].finished);
    EXPECT_TRUE(shown[1].finished);
}

TEST_F(AddFiles, TheStartFolderItselfIsNotWrittenAgain)
{
    AddFilesFlow flow(m_list, m_settings, "/videos/", FakeProbe);
    flow.AddVideoFiles(Choose({"/videos/a.avi"}));
    EXPECT_EQ(m_list.Count(), 1);
    EXPECT_FALSE(FileExists(SettingsFilePath(m_settings)));
}

TEST_F(AddFiles, SeveralFilesKeepDialogOrderAndRememberTheFolderWithoutSeparator)
{
    std::vector<AddFilesProgress> shown;
    m_flow.AddVideoFiles(Choose({"/videos/a.avi", "/videos/b.avi", "/videos/c.avi"}),
                         [&](const AddFilesProgress& p) { shown.push_back(p); });
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/videos/a.avi", "/videos/b.avi", "/videos/c.avi"}));
    EXPECT_EQ(StoredFolder(), "/videos");
    // One third from the start of the first file, two thirds after the second, full after the third.
    ASSERT_EQ(shown.size(), 4u);
    const std::vector<std::pair<int, int>> bar{{0, 1}, {1, 1}, {2, 2}, {3, 3}};
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].statusText, "Adding Files...");
        EXPECT_EQ(shown[i].filesDone, bar[i].first);
        EXPECT_EQ(shown[i].value, bar[i].second);
        EXPECT_EQ(shown[i].maximum, 3);
        EXPECT_EQ(shown[i].finished, i == 3);
        EXPECT_EQ(shown[i].pumpEvents, i > 0);
    }
    // The setting is read back by the next dialog.
    m_flow.AddVideoFiles(Choose({}));
    EXPECT_EQ(m_lastSetup.startFolder, "/videos");
}

TEST_F(AddFiles, SeveralFilesInTheRootGetNoDoubledSeparator)
{
    m_flow.AddVideoFiles(Choose({"/x.avi", "/y.avi"}));
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/x.avi", "/y.avi"}));
    EXPECT_EQ(StoredFolder(), "/");
}

TEST_F(AddFiles, TheSameFileTwiceGivesTwoIdenticalRows)
{
    m_flow.AddVideoFiles(Choose({"/videos/a.avi"}));
    m_flow.AddVideoFiles(Choose({"/videos/a.avi"}));
    ASSERT_EQ(m_list.Count(), 2);
    EXPECT_EQ(RowDumpLine(*m_list.Row(1)), RowDumpLine(*m_list.Row(2)));
}

TEST_F(AddFiles, CancelDuringTheSecondOfFiveLeavesTwoCompleteRows)
{
    std::vector<std::string> seenRows;
    m_list.AddListener([&](const VideoListChange& change) {
        if (change.phase == VideoListChange::Phase::After &&
            change.kind == VideoListChange::Kind::RowsInserted)
            seenRows.push_back(RowDumpLine(*m_list.Row(change.first)));
    });
    onProbe = [this](std::size_t probing) {
        if (probing == 2)
            m_flow.Cancel(); // the click arrives while the second file is being worked on
    };
    const AddFilesResult result =
        m_flow.AddVideoFiles(Choose({"/v/1.avi", "/v/2.avi", "/v/3.avi", "/v/4.avi", "/v/5.avi"}));
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.added, 2);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/v/1.avi", "/v/2.avi"}));
    EXPECT_EQ(m_probed.size(), 2u);
    // Every row was complete the moment it appeared.
    ASSERT_EQ(seenRows.size(), 2u);
    EXPECT_EQ(seenRows[1], "name of /v/2.avi | AVC | 00:00:02 | 160x120 |  |  | /v/2.avi");
}

TEST_F(AddFiles, OneDialogFileCannotBeCancelled)
{
    onProbe = [this](std::size_t) { m_flow.Cancel(); };
    const AddFilesResult result = m_flow.AddVideoFiles(Choose({"/v/1.avi"}));
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(m_list.Count(), 1);
}

TEST_F(AddFiles, ANewOperationClearsAnEarlierCancel)
{
    m_flow.Cancel();
    m_flow.AddDroppedFiles({"/v/1.avi", "/v/2.avi"});
    EXPECT_EQ(m_list.Count(), 2);
}

TEST_F(AddFiles, DroppedPathsAreTakenUnfilteredAndOneDropShowsAddingFiles)
{
    std::vector<AddFilesProgress> shown;
    m_flow.AddDroppedFiles({"/v/notes.txt"}, [&](const AddFilesProgress& p) { shown.push_back(p); });
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].statusText, "Adding Files...");
    EXPECT_TRUE(shown[1].pumpEvents);
    EXPECT_TRUE(shown[1].finished);

    m_flow.AddDroppedFiles({"/v/folder", "/v/a.avi"});
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/v/notes.txt", "/v/folder", "/v/a.avi"}));
    EXPECT_FALSE(FileExists(SettingsFilePath(m_settings))) << "drops do not touch the remembered folder";
}

TEST(AddFilesReal, DroppedClipsAndAFolderAreProbedAndCancelAfterTheSecondStops)
{
    const std::string mp4 = test::ClipPath(test::Clip::H264AacMp4);
    const std::string avi = test::ClipPath(test::Clip::Mpeg4Avi);
    ASSERT_FALSE(mp4.empty());
    ASSERT_FALSE(avi.empty());
    const std::string folder = test::MakeTempFolder("dropped");
    VideoListModel list;
    AddFilesFlow flow(list, test::MakeTempFolder("settings"), "/home/someone");
    // The cancel click is seen when the window events are pumped after the second file.
    const AddFilesResult result =
        flow.AddDroppedFiles({mp4, avi, folder, mp4, avi}, [&](const AddFilesProgress& p) {
            if (p.pumpEvents && p.filesDone == 2)
                flow.Cancel();
        });
    EXPECT_TRUE(result.cancelled);
    ASSERT_EQ(list.Count(), 2);
    if (MediaInfoLibrary::Shared().IsLoaded()) {
        EXPECT_EQ(RowDumpLine(*list.Row(1)), "h264 | AVC | 00:00:02 | 160x120 |  |  | " + mp4);
        EXPECT_EQ(RowDumpLine(*list.Row(2)), "mpeg4 | MPEG-4 Visual | 00:00:01 | 160x120 |  |  | " + avi);
    }

    flow.AddDroppedFiles({folder});
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Row(3)->filepath, folder);
    EXPECT_EQ(list.Row(3)->codec, "UNKNOWN");
    EXPECT_EQ(list.Row(3)->videoSize, "0x0");
}

} // namespace
} // namespace zantrove
