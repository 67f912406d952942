// SPDX-License-Identifier: GPL-3.0-or-later
// Access without the mouse and the eyes: the keyboard behaviours our code adds (Enter on picture
// buttons and links, where the focus lands when a step, button or window is shown, Del and the list's
// menu keys) and what assistive technology reads from the windows.
#include "tests/ui/MainWindowFixture.h"
#include "ui/AboutWindow.h"
#include "ui/EditVideoSizeDialog.h"
#include "ui/ErrorWindow.h"
#include "ui/TrimVideoDialog.h"

#include <QAccessible>
#include <QKeySequence>
#include <QMenu>

#include <algorithm>
#include <functional>
#include <tuple>

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
        QApplication::setActiveWindow(m_window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }

    std::string m_clipPath = test::MakeTempFolder("clips") + "/clip.avi";
};

const QString kToStep2 = "bttnNext Space;";
const QString kToStep4 = "bttnNext Space; bttnNext Return; bttnNext Space;";

using KeyCase = std::tuple<const char*, std::function<void(MainWindow&)>, QString, std::function<bool()>>;

TEST_F(KeyboardTest, KeysActAndTheFocusFollowsWhatIsShown)
{
    const auto focus = [](const char* name) { return [name] { return FocusIn(name); }; };
    const auto adding = [](MainWindow& main) { test::Find(&main, "CancelOverlay")->show(); };
    const std::vector<KeyCase> cases = {
        {"tile by Enter", nullptr, "lblClickAreaIPhone Return;",
         [this] { return m_window->SelectedDevice() == "iPhone"; }},
        {"about link by Enter, on Close", nullptr, "lblAbout Return;", focus("cmdClose")},
        {"cancel link of an add by Enter", adding, "CancelLabel Return;",
         [this] { return !Find("CancelOverlay")->isVisible(); }},
        {"Del removes the selected row", nullptr, kToStep2 + "lvwVideoFiles Down; lvwVideoFiles Del;",
         [this] { return m_window->VideoList().Count() == 2 && Cell(1, 0) == "c"; }},
        {"Convert takes the focus from Next", nullptr, kToStep4, focus("bttnConvert")},
        {"hiding the panel focuses its button", nullptr,
         "bttnNext Space; bttnNext Space; bttnAdvancedSettings Space; bttnHideAdvancedSettings Return;",
         focus("bttnAdvancedSettings")},
    };
    for (const auto& [name, before, script, done] : cases) {
        SCOPED_TRACE(name);
        OpenMain();
        if (before)
            before(*m_window);
        ASSERT_NO_FATAL_FAILURE(Play(script));
        EXPECT_TRUE(done()) << "focus on " << Name().toStdString();
    }
}

// The menu key opens the list's menu at the current row, and an entry's letter picks it without Alt.
TEST_F(KeyboardTest, MenuKeyOpensTheListMenuAtTheCurrentRowAndLettersPick)
{
    OpenMain();
    ASSERT_NO_FATAL_FAILURE(Play(kToStep2 + "lvwVideoFiles Home; lvwVideoFiles Down;"));
    ASSERT_EQ(m_window->VideoList().CurrentRow(), 2);
    QTreeView* list = List();
    QTest::keyClick(list, Qt::Key_Menu);
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
    Press(Qt::Key_O);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(m_platform.opened, std::vector<std::string>{m_clipPath});
}

using AccessibilityTest = test::MainWindowTest;

// Every control Tab reaches has a name; where its caption is a picture, a description says what it shows.
// Each window a person meets on the way through is seen: the wizard on every step with the advanced
// panel open, then the dialogs.
TEST_F(AccessibilityTest, EveryFocusableControlIsNamedAndPicturesAreDescribed)
{
    int checked = 0;
    const auto check = [&checked](QWidget* window, const QString& where) {
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            // A combo box's inner line edit hands its focus to the combo box, which speaks for it.
            if (!widget->isVisible() || !(widget->focusPolicy() & Qt::TabFocus) || widget->focusProxy())
                continue;
            const QString what = where + " " + widget->metaObject()->className() + " " + widget->objectName();
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
            ASSERT_NE(accessible, nullptr) << what.toStdString();
            // A name of signs alone (">") is read out as the signs' names.
            const QString name = accessible->text(QAccessible::Name);
            EXPECT_TRUE(std::any_of(name.begin(), name.end(), [](QChar c) { return c.isLetterOrNumber(); }))
                << what.toStdString() << " '" << name.toStdString() << "'";
            // On Linux a combo box's name is its current entry; its caption comes through the label relation.
            EXPECT_TRUE(!qobject_cast<QComboBox*>(widget) ||
                        !accessible->relations(QAccessible::Label).isEmpty())
                << what.toStdString();
            const bool picture =
                qobject_cast<PictureButton*>(widget) || widget->property("role") == "clickArea";
            EXPECT_TRUE(!picture || !accessible->text(QAccessible::Description).isEmpty())
                << what.toStdString();
            ++checked;
        }
    };
    Find<PictureButton>("bttnAdvancedSettings")->click();
    for (int step = 1; step <= 4; ++step) {
        GoToStep(step);
        check(m_window.get(), QStringLiteral("step %1").arg(step));
    }
    AboutWindow about(m_window.get());
    ErrorWindow errors(m_window.get());
    EditVideoSizeDialog size(m_window->EncodingSettings(), m_window.get());
    TrimVideoDialog trim(m_window->VideoList(), 1, m_window.get());
    for (QWidget* dialog : std::initializer_list<QWidget*>{&about, &errors, &size, &trim}) {
        dialog->show();
        check(dialog, dialog->objectName());
        dialog->hide();
    }
    EXPECT_GT(checked, 30);

    // The step menu says in words what its pictures mark.
    GoToStep(2);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Find("pnlLeftMenu"))->text(QAccessible::Description),
              "Step 2 of 4, Add video files, is the current step");
}

} // namespace
} // namespace zantrove
