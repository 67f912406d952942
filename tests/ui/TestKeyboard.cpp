// SPDX-License-Identifier: GPL-3.0-or-later
// Every window by keyboard alone: the real Tab chain forwards and back, where the focus lands,
// Esc, Enter on the picture buttons and links, the list's menu.
#include "tests/ui/MainWindowFixture.h"
#include "ui/ErrorWindow.h"
#include "ui/FilePropertiesWindow.h"
#include "ui/ProcessingWindow.h"
#include "ui/ShutdownWindow.h"
#include "ui/VideoListActions.h"
#include "ui/VideoListBinder.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>
#include <QTest>

#include <functional>

namespace zantrove {
namespace {

// Focus often sits on an unnamed inner part (a combo box's line edit, a page view's surface).
QString Name(QWidget* widget = QApplication::focusWidget())
{
    while (widget != nullptr && widget->objectName().isEmpty())
        widget = widget->parentWidget();
    return widget != nullptr ? widget->objectName() : QStringLiteral("<none>");
}

void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* popup = QApplication::activePopupWidget();
    QTest::keyClick(popup != nullptr ? popup : QApplication::focusWidget(), key, modifiers);
}

// Tab until the named control has the focus; false when the chain never gets there.
bool TabTo(const QString& name)
{
    for (int i = 0; i < 60; ++i) {
        if (Name() == name)
            return true;
        Press(Qt::Key_Tab);
    }
    return false;
}

// From the initial focus, Tab visits order once round and Shift+Tab does so backwards.
void ExpectCycle(const QString& initial, const QStringList& order)
{
    ASSERT_EQ(Name().toStdString(), initial.toStdString());
    const auto at = static_cast<int>(order.indexOf(initial));
    const auto size = static_cast<int>(order.size());
    QStringList expected[2], walked[2];
    for (int back = 0; back < 2; ++back) {
        for (int i = 1; i <= size; ++i) {
            expected[back].append(order[((back ? at - i : at + i) % size + size) % size]);
            Press(back ? Qt::Key_Backtab : Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
            walked[back].append(Name());
        }
        EXPECT_EQ(walked[back].join(", ").toStdString(), expected[back].join(", ").toStdString())
            << (back ? "Shift+Tab" : "Tab");
    }
}

bool Gone(const QPointer<QWidget>& window)
{
    return QTest::qWaitFor([&] { return window.isNull() || !window->isVisible(); }, 1000);
}

class KeyboardTest : public test::MainWindowTest
{
protected:
    void SetUp() override
    {
        Platform::SetInstance(&m_platform);
        test::WriteTextFile(m_clipPath, "not really a clip");
        OpenMain();
    }

    // A fresh main window with three rows, shown and active; the windows of the last one go with it.
    void OpenMain()
    {
        Open();
        for (const char* name : {"a", "b", "c"})
            AddRow(name, "00:01:00", m_clipPath);
        QApplication::setActiveWindow(m_window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }

    // Opens a window the way the program does and makes it the active one.
    QDialog* OpenDialog(const QString& name)
    {
        if (name == "frmEditVideoSize")
            m_window->imgEditVideoSize_Click();
        if (name == "frmTrimVideo") {
            m_window->VideoListView()->Select({2}, 2);
            m_window->VideoListCommands()->mnuEdit_TrimVideoFile_Click();
        }
        if (name == "frmProcessing")
            m_window->MakeProcessingWindow(ConversionRun({{"00:00:40", "/in/a.avi"}}, "/s/Zantrove.bat"))
                ->show();
        if (name == "frmShutdown")
            (new ShutdownWindow(m_window.get()))->show();
        if (name == "frmError")
            (new ErrorWindow(m_window.get()))->show();
        if (name == "frmAbout")
            emit m_window->AboutRequested();
        if (name == "frmFileProperties")
            FilePropertiesWindow::Open(*m_window->VideoList().Row(1), m_window.get());
        auto* dialog = m_window->findChild<QDialog*>(name);
        QApplication::setActiveWindow(dialog);
        return dialog != nullptr && QTest::qWaitForWindowActive(dialog) ? dialog : nullptr;
    }

public: // the tables' checks read them
    using MainWindowTest::m_platform;
    using MainWindowTest::m_window;
    std::string m_clipPath = test::MakeTempFolder("clips") + "/clip.avi";
};

const QStringList kTiles = {"lblClickAreaIPodClassic", "lblClickAreaIPodTouch", "lblClickAreaIPodNano",
                            "lblClickAreaIPhone", "lblClickAreaIPad"};
const QStringList kBottom = {"lblAbout", "cmbLanguages", "cmdTranslate", "bttnPrevious"};
const QStringList kNext = {"bttnNext"};
const QStringList kStep1 = kTiles + kBottom + kNext;
const QStringList kStep2 =
    QStringList{"lvwVideoFiles", "bttnAddVideos", "bttnRemoveItems", "bttnTrimVideoFile"} + kBottom + kNext;
const QStringList kProfileRow = {"cmbProfiles", "imgHelp"};
const QStringList kFolderRows = {"txtOutputDirectory", "bttnChooseOutputDirectory", "chkAddToiTunes"};
const QStringList kPanelHeader = {"lblAudioSettings", "lblVideoSettings", "bttnHideAdvancedSettings"};
const QStringList kAudioPage = {"cmbAudioCodec", "cmbAudioBitrate", "cmbAudioSampleRate", "cmbAudioChannels",
                                "chkAudioNoAudio"};
const QStringList kVideoPage = {"cmbVideoCodec",           "cmbVideoSize",           "imgEditVideoSize",
                                "cmbVideoBitrate",         "cmbVideoFrameRate",      "chkVideoNoVideo",
                                "chkVideoOriginalQuality", "chkVideoKeepAspectRatio"};
const QStringList kStep3 = kProfileRow + QStringList{"bttnAdvancedSettings"} + kFolderRows + kBottom + kNext;
const QStringList kStep3Audio = kProfileRow + kPanelHeader + kAudioPage + kFolderRows + kBottom + kNext;
const QStringList kStep3Video = kProfileRow + kPanelHeader + kVideoPage + kFolderRows + kBottom + kNext;
const QStringList kStep4 = QStringList{"lblTipLink"} + kBottom + QStringList{"bttnConvert"};

// Scripts of "control key;" steps: Tab to the control, then the key as QKeySequence names it.
const QString kToStep2 = "bttnNext Space;";
const QString kToStep3 = "bttnNext Return; bttnNext Return;";
const QString kToStep4 = "bttnNext Space; bttnNext Space; bttnNext Space;";
const QString kToPanel = kToStep3 + "bttnAdvancedSettings Space;";

void Play(const QString& script)
{
    for (const QString& step : script.split(';', Qt::SkipEmptyParts)) {
        const QStringList parts = step.split(' ', Qt::SkipEmptyParts);
        ASSERT_EQ(parts.size(), 2) << step.toStdString();
        ASSERT_TRUE(TabTo(parts[0])) << parts[0].toStdString();
        const QKeyCombination key = QKeySequence(parts[1])[0];
        ASSERT_NE(key.key(), Qt::Key_unknown) << parts[1].toStdString();
        Press(key.key(), key.keyboardModifiers());
    }
}

struct StepCase
{
    const char* name;
    QString script;
    std::function<void(MainWindow&)> then;
    QString initial;
    QStringList order;
};

TEST_F(KeyboardTest, EveryWizardStateHasItsTabChainInReadingOrder)
{
    const auto finished = [](MainWindow& main) { main.ConvertCompleted(false); };
    const auto byMouse = [](MainWindow& main) { main.bttnNext_Click(); }; // the focus stays in step 1
    const auto adding = [](MainWindow& main) { main.CancelOverlay()->show(); };
    const std::vector<StepCase> cases = {
        {"step 1 at start", "", nullptr, "lblClickAreaIPodClassic", kStep1},
        {"step 2 by Space on Next", kToStep2, nullptr, "bttnNext", kStep2},
        {"step 3 by Enter on Next", kToStep3, nullptr, "bttnNext", kStep3},
        {"advanced panel", kToPanel, nullptr, "lblAudioSettings", kStep3Audio},
        {"video page", kToPanel + "lblVideoSettings Space;", nullptr, "lblVideoSettings", kStep3Video},
        {"panel hidden", kToPanel + "bttnHideAdvancedSettings Return;", nullptr, "bttnAdvancedSettings",
         kStep3},
        {"step 4: Convert takes Next's place", kToStep4, nullptr, "bttnConvert", kStep4},
        {"after a finished conversion", kToStep4, finished, "bttnNext", kStep1},
        {"step changed with the focus inside it", "", byMouse, "lvwVideoFiles", kStep2},
        {"while files are added", "", adding, "lblClickAreaIPodClassic", kStep1 + QStringList{"CancelLabel"}},
    };
    for (const StepCase& row : cases) {
        SCOPED_TRACE(row.name);
        OpenMain();
        ASSERT_NO_FATAL_FAILURE(Play(row.script));
        if (row.then)
            row.then(*m_window);
        ExpectCycle(row.initial, row.order);
    }
}

struct ActivationCase
{
    const char* name;
    std::function<void(MainWindow&)> before;
    QString script;
    std::function<bool(KeyboardTest&)> done;
};

TEST_F(KeyboardTest, ControlsActOnEnterAndSpaceAndTheListOnDelOnly)
{
    const auto adding = [](MainWindow& main) { main.CancelOverlay()->show(); };
    const auto shown = [](const char* window) {
        return [window](KeyboardTest&) { return Name(QApplication::activeModalWidget()) == window; };
    };
    const std::vector<ActivationCase> cases = {
        {"tile by Enter", nullptr, "lblClickAreaIPhone Return;",
         [](auto& t) { return t.m_window->SelectedDevice() == "iPhone"; }},
        {"about link by Enter", nullptr, "lblAbout Return;", shown("frmAbout")},
        {"edit size by Enter", nullptr, kToPanel + "lblVideoSettings Return; imgEditVideoSize Return;",
         shown("frmEditVideoSize")},
        {"tip link by Enter", nullptr, kToStep4 + "lblTipLink Return;",
         [](auto& t) { return t.m_platform.opened.size() == 1; }},
        {"cancel link of an add by Enter", adding, "CancelLabel Return;",
         [](auto& t) { return !t.m_window->CancelOverlay()->isVisible(); }},
        {"Enter on a row does nothing", nullptr, kToStep2 + "lvwVideoFiles Down; lvwVideoFiles Return;",
         [](auto& t) {
             return t.m_window->VideoList().Count() == 3 && t.m_window->CurrentStep() == 2 &&
                    MessageBox::Shown().empty() && QApplication::activeModalWidget() == nullptr &&
                    Name() == "lvwVideoFiles";
         }},
        {"Del removes the selected row", nullptr, kToStep2 + "lvwVideoFiles Down; lvwVideoFiles Del;",
         [](auto& t) {
             return t.m_window->VideoList().Count() == 2 && t.m_window->VideoList().Row(2)->filename == "c";
         }},
    };
    for (const ActivationCase& row : cases) {
        SCOPED_TRACE(row.name);
        OpenMain();
        m_platform.opened.clear();
        if (row.before)
            row.before(*m_window);
        ASSERT_NO_FATAL_FAILURE(Play(row.script));
        EXPECT_TRUE(row.done(*this));
    }
}

struct DialogCase
{
    const char* window;
    QString initial;
    QStringList order;
    bool escCloses; // otherwise Esc asks, as the Cancel button does
};

const QStringList kTrimChain =
    QStringList{"txtStartTimeHours", "txtStartTimeMinutes", "txtStartTimeSeconds", "txtEndTimeHours"} +
    QStringList{"txtEndTimeMinutes", "txtEndTimeSeconds", "cmdSet", "cmdDoNotTrim", "cmdClose"};
const QStringList kProcessingChain = {"txtStatus", "txtLogContents", "chkShutdownComputer", "cmdOpenFolder",
                                      "cmdCancel"};
const QStringList kAboutChain = {"lblEMailAddressValue", "lblWebsiteAddressValue", "cmdCredits", "cmdClose"};

TEST_F(KeyboardTest, EveryDialogOpensOnASensibleControlHasItsChainAndKnowsEsc)
{
    const std::vector<DialogCase> cases = {
        {"frmEditVideoSize", "txtWidth", {"txtWidth", "txtHeight", "cmdOk", "cmdCancel"}, true},
        {"frmTrimVideo", "txtStartTimeHours", kTrimChain, true},
        {"frmProcessing", "txtStatus", kProcessingChain, false},
        {"frmShutdown", "cmdCancel", {"cmdCancel"}, true},
        {"frmError", "txtErrors", {"txtErrors", "cmdClose"}, true},
        {"frmAbout", "cmdClose", kAboutChain, true},
        {"frmFileProperties", "cmdClose", {"cmdClose"}, true},
    };
    for (const DialogCase& row : cases) {
        SCOPED_TRACE(row.window);
        OpenMain();
        const QPointer<QWidget> dialog = OpenDialog(row.window);
        ASSERT_TRUE(dialog);
        ExpectCycle(row.initial, row.order);
        MessageBox::SetNextAnswer(MessageBox::No);
        Press(Qt::Key_Escape);
        EXPECT_EQ(Gone(dialog), row.escCloses);
        EXPECT_EQ(MessageBox::Shown().size(), row.escCloses ? 0u : 1u);
        for (const UserMessage& question : MessageBox::Shown())
            EXPECT_EQ(question.text.rfind("Are you sure you want to cancel?", 0), 0u);
    }
}

struct MenuCase
{
    const char* name;
    std::function<void(QTreeView*)> ask;
    QString letters; // then typed into the menu
    std::function<bool(KeyboardTest&)> done;
};

TEST_F(KeyboardTest, MenuKeyAndShiftF10OpenTheListMenuAtTheCurrentRowAndLettersPick)
{
    const auto menuKey = [](QTreeView* list) { QTest::keyClick(list, Qt::Key_Menu); };
    const auto shiftF10 = [](QTreeView* list) { QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier); };
    // What the desktop sends for the menu key: a keyboard event at the mouse or the list's centre.
    const auto desktop = [](QTreeView* list) {
        QContextMenuEvent event(QContextMenuEvent::Keyboard, list->rect().center(),
                                list->mapToGlobal(list->rect().center()));
        QApplication::sendEvent(list, &event);
    };
    const std::vector<MenuCase> cases = {
        {"menu key, Trim Video File", menuKey, "T",
         [](KeyboardTest& t) { return t.m_window->findChild<QDialog*>("frmTrimVideo") != nullptr; }},
        {"Shift+F10, Remove Items > Remove Selected", shiftF10, "RR",
         [](auto& t) { return t.m_window->VideoList().Count() == 2; }},
        {"desktop's event, Open Video File", desktop, "O",
         [](auto& t) { return t.m_platform.opened == std::vector<std::string>{t.m_clipPath}; }},
    };
    for (const MenuCase& row : cases) {
        SCOPED_TRACE(row.name);
        OpenMain();
        m_platform.opened.clear();
        ASSERT_NO_FATAL_FAILURE(Play(kToStep2 + "lvwVideoFiles Home; lvwVideoFiles Down;"));
        ASSERT_EQ(m_window->VideoList().CurrentRow(), 2);
        QTreeView* list = m_window->VideoFiles();
        row.ask(list);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->objectName(), "mnuEdit");
        const QRect item = list->visualRect(list->model()->index(1, 0));
        const QRect rowOnScreen(list->viewport()->mapToGlobal(item.topLeft()), item.size());
        EXPECT_TRUE(rowOnScreen.adjusted(0, 0, 0, 2).contains(menu->geometry().topLeft()));
        for (QChar letter : row.letters) // a menu entry's letter works without Alt
            Press(static_cast<Qt::Key>(letter.unicode()));
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        EXPECT_TRUE(row.done(*this));
    }
}

} // namespace
} // namespace zantrove
