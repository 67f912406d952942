// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/VideoListModel.h"
#include "platform/FileDialogs.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "tests/support/FoldersOnlyPlatform.h"
#include "tests/support/TestHome.h"
#include "ui/MainWindow.h"
#include "ui/PictureButton.h"
#include "ui/ProcessingWindow.h"

// The widgets the window tests reach by name.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zantrove::test {

// The tests reach every widget by the object name the window gives it. A missing one fails the test
// with its name instead of crashing it.
template <typename T = QWidget> T* Find(const QObject* parent, const char* name)
{
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr)
        throw std::runtime_error(std::string("no ") + T::staticMetaObject.className() + " named " + name);
    return found;
}

// The main window on a data home of its own, so settings never leak between tests; message boxes
// and file dialogs are answered by the test, links are recorded instead of opened.
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Platform::SetInstance(&m_platform);
        Open();
    }
    void TearDown() override
    {
        m_window.reset();
        Flush();
        Platform::SetInstance(nullptr);
    }

    void Open(const std::string& applicationFolder = {}, const std::vector<std::string>& arguments = {})
    {
        m_window.reset();
        Flush();
        MessageBox::SetTestMode(true);
        MessageBox::ClearShown();
        FileDialogs::SetTestMode(true);
        m_data.reset();
        m_data.emplace("XDG_DATA_HOME", MakeTempFolder("data"));
        m_window = std::make_unique<MainWindow>(Clock::System(), nullptr, applicationFolder, m_makeLauncher);
        ASSERT_TRUE(m_window->Load(arguments));
        m_window->show();
    }

    // Closed windows are deleted later; let that happen so the next lookup finds only open ones.
    static void Flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // A row as the probe would give it, without probing: for tests that do not care what the file holds.
    void AddRow(const std::string& name, const std::string& duration = "00:00:02",
                const std::string& path = {})
    {
        const std::string filepath = path.empty() ? "/videos/" + name + ".avi" : path;
        m_window->VideoList().Append({name, "AVC", duration, "160x120", "", "", filepath, ""});
    }

    void GoToStep(int step)
    {
        if (m_window->VideoList().IsEmpty())
            AddRow("clip");
        while (m_window->CurrentStep() > step)
            m_window->bttnPrevious_Click();
        while (m_window->CurrentStep() < step)
            m_window->bttnNext_Click();
        ASSERT_EQ(m_window->CurrentStep(), step);
    }

    template <typename T = QWidget> T* Find(const char* name) const
    {
        return test::Find<T>(m_window.get(), name);
    }
    QTreeView* List() const { return Find<QTreeView>("lvwVideoFiles"); }

    QVariant Cell(int row, int column, int role = Qt::DisplayRole) const
    {
        return List()->model()->index(row, column).data(role);
    }

    QAction* MenuAction(const char* name) const { return m_window->findChild<QAction*>(name); }

    LinkRecordingPlatform m_platform{Platform::Instance()};
    // What the next window's progress windows run their scripts with.
    ProcessingWindow::LauncherFactory m_makeLauncher = ProcessingWindow::QtLauncher;
    std::optional<ScopedEnv> m_data; // put back once the window is gone
    std::unique_ptr<MainWindow> m_window;
};

} // namespace zantrove::test
