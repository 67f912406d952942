// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard behaviours our code adds: Enter on picture buttons and links, where the focus lands
// when a step, button or window is shown, Esc on the progress window, Del and the list's menu keys.
#include "tests/ui/MainWindowFixture.h"

#include <QContextMenuEvent>
#include <QKeySequence>
#include <QMenu>

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

// Scripts of "control key;" steps: Tab to the control, then the key as QKeySequence names it.
void Play(const QString& script)
{
    for (const QString& step : script.split(';', Qt::SkipEmptyParts)) {
        const QStringList parts = step.split(' ', Qt::SkipEmptyParts);
        ASSERT_EQ(parts.size(), 2) << step.toStdString();
        int tabs = 0;
        for (; tabs < 60 && Name() != parts[0]; ++tabs)
            Press(Qt::Key_Tab);
        ASSERT_LT(tabs, 60) << parts[0].toStdString();
        const QKeyCombination key = QKeySequence(parts[1])[0];
        ASSERT_NE(key.key(), Qt::Key_unknown) << parts[1].toStdString();
        Press(key.key(), key.keyboardModifiers());
    }
}

// The focus in the window just opened: the test makes it the active one, as the desktop would.
bool FocusIn(const QString& name)
{
    if (QWidget* modal = QApplication::activeModalWidget()) {
        QApplication::setActiveWindow(modal);
        EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
    }
    return Name() == name;
}

class KeyboardTest : public test::MainWindowTest
{
protected:
    // A fresh main window with three rows, shown and active; the windows of the last one go with it.
    void OpenMain()
    {
        Open();
        test::WriteTextFile(m_clipPath, "not really a clip");
        for (const char* name : {"a", "b", "c"})
            AddRow(name, "00:01:00", m_clipPath);
        m_platform.opened.clear();
        QApplication::setActiveWindow(m_window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }

    std::string m_clipPath = test::MakeTempFolder("clips") + "/clip.avi";
};

const QString kToStep2 = "bttnNext Space;";
const QString kToStep4 = "bttnNext Space; bttnNext Return; bttnNext Space;";
const QString kToPanel = "bttnNext Space; bttnNext Space; bttnAdvancedSettings Space;";

struct KeyCase
{
    const char* name;
    std::function<void(MainWindow&)> before;
    QString script;
    std::function<bool()> done;
    std::function<void(MainWindow&)> then = nullptr; // between the keys and the check
};

TEST_F(KeyboardTest, KeysActAndTheFocusFollowsWhatIsShown)
{
    const auto focus = [](const char* name) { return [name] { return FocusIn(name); }; };
    const auto adding = [](MainWindow& main) { test::Find(&main, "CancelOverlay")->show(); };
    const auto progress = [](MainWindow& main) {
        QWidget* window =
            main.MakeProcessingWindow(ConversionRun({{"00:00:40", "/in/a.avi"}}, "/s/Zantrove.bat"));
        window->show();
        QApplication::setActiveWindow(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    };
    const std::vector<KeyCase> cases = {
        {"tile by Enter", nullptr, "lblClickAreaIPhone Return;",
         [this] { return m_window->SelectedDevice() == "iPhone"; }},
        {"about link by Enter, on Close", nullptr, "lblAbout Return;", focus("cmdClose")},
        {"edit size by Enter, on the width", nullptr,
         kToPanel + "lblVideoSettings Return; imgEditVideoSize Return;", focus("txtWidth")},
        {"tip link by Enter", nullptr, kToStep4 + "lblTipLink Return;",
         [this] { return m_platform.opened.size() == 1; }},
        {"cancel link of an add by Enter", adding, "CancelLabel Return;",
         [this] { return !Find("CancelOverlay")->isVisible(); }},
        {"Del removes the selected row", nullptr, kToStep2 + "lvwVideoFiles Down; lvwVideoFiles Del;",
         [this] { return m_window->VideoList().Count() == 2 && Cell(1, 0) == "c"; }},
        {"Convert takes the focus from Next", nullptr, kToStep4, focus("bttnConvert")},
        {"Next takes it back after a run", nullptr, kToStep4, focus("bttnNext"),
         [](MainWindow& main) { main.ConvertCompleted(false); }},
        {"hiding the panel focuses its button", nullptr, kToPanel + "bttnHideAdvancedSettings Return;",
         focus("bttnAdvancedSettings")},
        {"Esc on the progress window asks, as Cancel does", progress, "",
         [this] {
             return MessageBox::Shown().size() == 1 &&
                    MessageBox::Shown()[0].text.starts_with("Are you sure you want to cancel?") &&
                    m_window->findChild<QWidget*>("frmProcessing")->isVisible();
         },
         [](MainWindow&) { MessageBox::SetNextAnswer(MessageBox::No), Press(Qt::Key_Escape); }},
        {"a step changed from inside keeps the focus in the steps",
         [](MainWindow& main) { main.bttnNext_Click(); }, "", focus("lvwVideoFiles")},
    };
    for (const KeyCase& row : cases) {
        SCOPED_TRACE(row.name);
        OpenMain();
        if (row.before)
            row.before(*m_window);
        ASSERT_NO_FATAL_FAILURE(Play(row.script));
        if (row.then)
            row.then(*m_window);
        EXPECT_TRUE(row.done()) << "focus on " << Name().toStdString();
    }
}

struct MenuCase
{
    const char* name;
    std::function<void(QTreeView*)> ask;
    QString letters; // then typed into the menu
    std::function<bool()> done;
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
        {"menu key, Trim Video File", menuKey, "T", [] { return FocusIn("txtStartTimeHours"); }},
        {"Shift+F10, Remove Items > Remove Selected", shiftF10, "RR",
         [this] { return m_window->VideoList().Count() == 2; }},
        {"desktop's event, Open Video File", desktop, "O",
         [this] { return m_platform.opened == std::vector<std::string>{m_clipPath}; }},
    };
    for (const MenuCase& row : cases) {
        SCOPED_TRACE(row.name);
        OpenMain();
        ASSERT_NO_FATAL_FAILURE(Play(kToStep2 + "lvwVideoFiles Home; lvwVideoFiles Down;"));
        ASSERT_EQ(m_window->VideoList().CurrentRow(), 2);
        QTreeView* list = List();
        row.ask(list);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        // Entries in their groups: a separator before each of the last three groups.
        QStringList entries;
        for (QAction* entry : menu->actions())
            entries.append(entry->isSeparator()       ? "-"
                           : entry->menu() != nullptr ? entry->menu()->objectName()
                                                      : entry->objectName());
        EXPECT_EQ(entries.join(" ").toStdString(),
                  "mnuEdit_OpenVideoFile - mnuEdit_RemoveItems - "
                  "mnuEdit_TrimVideoFile mnuEdit_PreviewVideoFile - mnuEdit_FileProperties");
        const QRect item = list->visualRect(list->model()->index(1, 0));
        const QRect rowOnScreen(list->viewport()->mapToGlobal(item.topLeft()), item.size());
        EXPECT_TRUE(rowOnScreen.adjusted(0, 0, 0, 2).contains(menu->geometry().topLeft()));
        for (QChar letter : row.letters) // a menu entry's letter works without Alt
            Press(static_cast<Qt::Key>(letter.unicode()));
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        EXPECT_TRUE(row.done()) << "focus on " << Name().toStdString();
    }
}

} // namespace
} // namespace zantrove
