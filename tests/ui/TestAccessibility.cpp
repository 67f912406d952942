// SPDX-License-Identifier: GPL-3.0-or-later
// What assistive technology reads from the windows, and that a dark desktop palette changes none of
// the colours they are drawn in.
#include "tests/ui/MainWindowFixture.h"
#include "ui/AboutWindow.h"
#include "ui/EditVideoSizeDialog.h"
#include "ui/ErrorWindow.h"
#include "ui/Theme.h"
#include "ui/TrimVideoDialog.h"

#include <QAccessible>
#include <QStyle>
#include <QStyleFactory>
#include <QToolTip>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>

namespace zantrove {
namespace {

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
