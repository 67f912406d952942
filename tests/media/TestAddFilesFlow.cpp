// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/AddFilesFlow.h"

#include "media/VideoListModel.h"
#include "platform/FileSystem.h"
#include "storage/UserSettings.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

namespace zantrove {
namespace {

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
        const auto dialog = [this, files](const AddFilesDialogSetup& setup) {
            return m_lastSetup = setup, files;
        };
        return m_flow.AddVideoFiles(dialog, m_show);
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
    m_shown.clear();
    m_flow.AddDroppedFiles({"/v/notes.txt"}, m_show);
    EXPECT_EQ(m_shown, (Paths{"Adding Files... 0/1/1", "Adding Files... 1/1/1+."}));
    m_flow.AddDroppedFiles({"/v/folder", "/v/a.avi"});
    EXPECT_EQ(ListPaths().back() + " " + std::to_string(m_list.Count()), "/v/a.avi 5");
    EXPECT_EQ(StoredFolder(), "/v");
}

} // namespace
} // namespace zantrove
