// SPDX-License-Identifier: GPL-3.0-or-later
// The choosers with the system's dialog itself (the window tests answer them through the seam): what
// the user picks in the dialog is what the caller gets, and a cancel gives nothing.
#include "platform/FileDialogs.h"
#include "tests/platform/WhenShown.h"
#include "tests/support/TestHome.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <functional>
#include <gtest/gtest.h>

namespace zantrove {
namespace {

class FileDialogsTest : public ::testing::Test
{
protected:
    void SetUp() override { FileDialogs::SetTestMode(false); }
    void TearDown() override { FileDialogs::SetTestMode(true); }
    static void WhenShown(std::function<void(QFileDialog*)> act) { test::WhenShown<QFileDialog>(act); }
    // Typed into the name field as a user types it: the dialog's listing of the folder may still load.
    static void TypeAndAccept(QFileDialog* dialog, const QString& text)
    {
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->setText(text);
        static_cast<QDialog*>(dialog)->accept();
    }
};

TEST_F(FileDialogsTest, TheFolderOrFilesPickedAreAnsweredAndACancelIsNothing)
{
    const std::string folder = test::MakeTempFolder("chosen");
    WhenShown([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Pick a folder");
        TypeAndAccept(dialog, QString::fromStdString(folder));
    });
    const auto chosen = FileDialogs::BrowseForFolder(nullptr, "Pick a folder");
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QDir(QString::fromStdString(*chosen)).canonicalPath().toStdString(), folder);

    WhenShown([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(FileDialogs::BrowseForFolder(nullptr, "Pick a folder"), std::nullopt);

    for (const char* name : {"a.avi", "b.mkv"})
        test::WriteTextFile(folder + "/" + name, "x");
    WhenShown([&](QFileDialog* dialog) {
        EXPECT_EQ(QDir(dialog->directory()).canonicalPath().toStdString(), folder);
        EXPECT_EQ(dialog->nameFilters(), QStringList({"Video (*.avi *.mkv)", "All (*)"}));
        EXPECT_EQ(dialog->selectedNameFilter(), "Video (*.avi *.mkv)");
        TypeAndAccept(dialog, "\"a.avi\" \"b.mkv\"");
    });
    const std::vector<std::string> files =
        FileDialogs::OpenFiles(nullptr, "Add", folder, {"Video (*.avi *.mkv)", "All (*)"});
    EXPECT_EQ(files, (std::vector<std::string>{folder + "/a.avi", folder + "/b.mkv"}));

    WhenShown([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_TRUE(FileDialogs::OpenFiles(nullptr, "Add", folder, {}).empty());
}

// Turning the seam on again forgets answers a test left queued, so they cannot answer another test.
TEST(FileDialogsSeam, TurningItOnAgainDropsQueuedAnswers)
{
    FileDialogs::SetNextFiles({"/left/over.avi"});
    FileDialogs::SetNextFolder(std::string("/left"));
    FileDialogs::SetTestMode(true);
    EXPECT_TRUE(FileDialogs::OpenFiles(nullptr, "Add", "/", {}).empty());
    EXPECT_EQ(FileDialogs::BrowseForFolder(nullptr, "Pick"), std::nullopt);
}

} // namespace
} // namespace zantrove
