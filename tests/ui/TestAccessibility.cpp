// SPDX-License-Identifier: GPL-3.0-or-later
// Access without the mouse and the eyes: the keyboard behaviours our code adds (Enter on picture
// buttons and links, where the focus lands when a step, button or window is shown, Del and the list's
// menu keys), what assistive technology reads from the windows, and that a dark desktop palette
// changes none of the colours they are drawn in. Esc on the progress window is with its tests.
#include "tests/ui/MainWindowFixture.h"
#include "ui/AboutWindow.h"
#include "ui/EditVideoSizeDialog.h"
#include "ui/ErrorWindow.h"
#include "ui/Theme.h"
#include "ui/TrimVideoDialog.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QKeySequence>
#include <QMenu>
#include <QStyle>
#include <QStyleFactory>
#include <QToolTip>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>

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
    const std::vector<KeyCase> cases = {
        {"tile by Enter", nullptr, "lblClickAreaIPhone Return;",
         [this] { return m_window->SelectedDevice() == "iPhone"; }},
        {"about link by Enter, on Close", nullptr, "lblAbout Return;", focus("cmdClose")},
        {"edit size by Enter, on the width", nullptr,
         kToPanel + "lblVideoSettings Return; imgEditVideoSize Return;", focus("txtWidth")},
        {"cancel link of an add by Enter", adding, "CancelLabel Return;",
         [this] { return !Find("CancelOverlay")->isVisible(); }},
        {"Del removes the selected row", nullptr, kToStep2 + "lvwVideoFiles Down; lvwVideoFiles Del;",
         [this] { return m_window->VideoList().Count() == 2 && Cell(1, 0) == "c"; }},
        {"Convert takes the focus from Next", nullptr, kToStep4, focus("bttnConvert")},
        {"Next takes it back after a run", nullptr, kToStep4, focus("bttnNext"),
         [](MainWindow& main) { main.ConvertCompleted(false); }},
        {"hiding the panel focuses its button", nullptr, kToPanel + "bttnHideAdvancedSettings Return;",
         focus("bttnAdvancedSettings")},
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

class AccessibilityTest : public test::MainWindowTest
{
protected:
    // Each window a person meets on the way through: the wizard on every step with the advanced
    // panel open, then the dialogs; visit sees each once it is shown.
    void VisitWindows(const std::function<void(QWidget*, const QString&)>& visit)
    {
        Find<PictureButton>("bttnAdvancedSettings")->click();
        for (int step = 1; step <= 4; ++step) {
            GoToStep(step);
            visit(m_window.get(), QStringLiteral("step %1").arg(step));
        }
        AboutWindow about(m_window.get());
        ErrorWindow errors(m_window.get());
        EditVideoSizeDialog size(m_window->EncodingSettings(), m_window.get());
        TrimVideoDialog trim(m_window->VideoList(), 1, m_window.get());
        for (QWidget* dialog : std::initializer_list<QWidget*>{&about, &errors, &size, &trim}) {
            dialog->show();
            visit(dialog, dialog->objectName());
            dialog->hide();
        }
    }
};

// Every control Tab reaches has a name; where its caption is a picture, a description says what it shows.
TEST_F(AccessibilityTest, EveryFocusableControlIsNamedAndPicturesAreDescribed)
{
    int checked = 0;
    VisitWindows([&checked](QWidget* window, const QString& where) {
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
    });
    EXPECT_GT(checked, 30);

    // The step menu and the device tiles say in words what their pictures mark.
    GoToStep(2);
    const auto description = [this](const char* name) {
        return QAccessible::queryAccessibleInterface(m_window->findChild<QWidget*>(name))
            ->text(QAccessible::Description)
            .toStdString();
    };
    EXPECT_EQ(description("pnlLeftMenu"), "Step 2 of 4, Add video files, is the current step");
    m_window->SwitchDevice("iPad");
    EXPECT_TRUE(description("lblClickAreaIPad").ends_with("the selected device"))
        << description("lblClickAreaIPad");
    EXPECT_EQ(description("lblClickAreaIPodNano"), "Picture of the iPod Nano");
    // The marker beside the picture follows the same choice.
    EXPECT_FALSE(Find("imgIPadSelected")->isHidden());
    EXPECT_TRUE(Find("imgIPodNanoSelected")->isHidden());
}

// Every visible widget's colours, named by window, position and class, and the tool tips'.
using Visitor = std::function<void(QWidget*, const QString&)>;
std::map<std::string, std::string> ColoursOf(const std::function<void(const Visitor&)>& visitWindows)
{
    std::map<std::string, std::string> colours;
    const auto add = [&colours](const QString& key, const QPalette& palette) {
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Disabled})
            for (int role = QPalette::WindowText; role <= QPalette::PlaceholderText; ++role)
                colours[key.toStdString()] +=
                    palette.color(group, QPalette::ColorRole(role)).name().toStdString() + " ";
    };
    add("tool tip", QToolTip::palette());
    visitWindows([&add](QWidget* window, const QString& where) {
        int index = 0;
        for (QWidget* widget : window->findChildren<QWidget*>())
            if (widget->isVisible())
                add(QStringLiteral("%1 %2 %3").arg(where).arg(index++).arg(widget->metaObject()->className()),
                    widget->palette());
    });
    return colours;
}

// The artwork is light, so the theme draws every window the same on a dark desktop as on a light one:
// no light desktop text on our white lists, no dark desktop ground under our dark text.
TEST_F(AccessibilityTest, ADarkDesktopPaletteChangesNoColourOfAnyWindow)
{
    const QPalette saved = QApplication::palette();
    const QString savedStyle = QApplication::style()->name();
    const auto themed = [this](const QPalette& desktop) {
        qApp->setStyleSheet({});
        QApplication::setPalette(desktop);
        QToolTip::setPalette(desktop);
        ApplyTheme(*qApp);
        Open();
        return ColoursOf([this](const Visitor& visit) { VisitWindows(visit); });
    };
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion"));
    const auto light = themed(fusion->standardPalette());
    // Light text on dark ground, as a dark desktop theme gives it.
    QPalette dark(Qt::white, QColor("#353535"), Qt::gray, Qt::black, Qt::darkGray, Qt::white, Qt::white,
                  QColor("#202020"), QColor("#2A2A2A"));
    dark.setColor(QPalette::ToolTipBase, Qt::black);
    dark.setColor(QPalette::ToolTipText, Qt::white);
    const auto darkColours = themed(dark);
    qApp->setStyleSheet({});
    QApplication::setStyle(QStyleFactory::create(savedStyle));
    QApplication::setPalette(saved);
    QToolTip::setPalette(saved);

    ASSERT_EQ(light.size(), darkColours.size());
    EXPECT_GT(light.size(), 100u);
    for (const auto& [widget, colours] : light)
        EXPECT_EQ(darkColours.at(widget), colours) << widget;
}

} // namespace
} // namespace zantrove
