// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/StepMenu.h"

#include "ui/SvgPicture.h"

#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

namespace zantrove {

namespace {
const char* const kStepNames[] = {"Select your device", "Add video files", "Choose output settings",
                                  "Review and convert"};
} // namespace

StepMenu::StepMenu(QWidget* parent) : BackdropPanel(":/side/left-menu.svg", parent)
{
    setObjectName("pnlLeftMenu");
    setFixedWidth(196);
    setAccessibleName(QStringLiteral("Wizard steps"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 22, 12, 18);
    layout->setSpacing(10);
    auto* logo = new SvgPicture(":/app/zantrove.svg");
    logo->setFixedSize(56, 56);
    auto* name = new QLabel("Zantrove");
    name->setProperty("role", "brand");
    layout->addWidget(logo);
    layout->addWidget(name);
    layout->addSpacing(20);
    for (int i = 0; i < 4; ++i) {
        m_marks[i] = new QLabel(QStringLiteral("%1  %2").arg(i + 1).arg(kStepNames[i]));
        m_marks[i]->setProperty("role", "stepMark");
        m_marks[i]->setWordWrap(true);
        layout->addWidget(m_marks[i]);
    }
    layout->addStretch();
}

void StepMenu::MarkCurrent(int step)
{
    // The mark is only a lighter band: its words are for those who cannot see it.
    if (step >= 1 && step <= 4)
        setAccessibleDescription(
            QStringLiteral("Step %1 of 4, %2, is the current step").arg(step).arg(kStepNames[step - 1]));
    for (int i = 0; i < 4; ++i) {
        m_marks[i]->setAccessibleDescription(i + 1 == step ? QStringLiteral("Current step") : QString());
        // The style sheet reads the property only when the label is polished again.
        m_marks[i]->setProperty("current", i + 1 == step);
        m_marks[i]->style()->unpolish(m_marks[i]);
        m_marks[i]->style()->polish(m_marks[i]);
    }
}

} // namespace zantrove
