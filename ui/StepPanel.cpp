// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/StepPanel.h"

#include "ui/SvgPicture.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace zantrove {

StepPanel::StepPanel(int step, const QString& title, const QStringList& description, QWidget* parent)
    : QWidget(parent)
{
    const QString prefix = QStringLiteral("pnlWizard_Step%1").arg(step);
    setObjectName(prefix);

    auto* background = new SvgPicture(":/step/background.svg", SvgPicture::Fit::Stretch, this);
    background->setObjectName(prefix + "_Background");

    // The title bar is three slices, so its caps keep their shape at any width.
    auto* titleBar = new QWidget(this);
    titleBar->setFixedHeight(40);
    auto* titleGrid = new QGridLayout(titleBar);
    titleGrid->setContentsMargins(0, 0, 0, 0);
    titleGrid->setSpacing(0);
    auto* left = new SvgPicture(":/step/titlebar-left.svg", SvgPicture::Fit::Stretch);
    auto* center = new SvgPicture(":/step/titlebar-center.svg", SvgPicture::Fit::Stretch);
    auto* right = new SvgPicture(":/step/titlebar-right.svg", SvgPicture::Fit::Stretch);
    left->setObjectName(prefix + "_TitleBar_Left");
    center->setObjectName(prefix + "_TitleBar_Center");
    right->setObjectName(prefix + "_TitleBar_Right");
    left->setFixedWidth(18);
    right->setFixedWidth(18);
    titleGrid->addWidget(left, 0, 0);
    titleGrid->addWidget(center, 0, 1);
    titleGrid->addWidget(right, 0, 2);
    auto* titleLabel = new QLabel(title);
    titleLabel->setObjectName(prefix + "_TitleBar_Label");
    titleLabel->setProperty("role", "stepTitle");
    titleGrid->addWidget(titleLabel, 0, 1);

    auto* descriptionLabel = new QLabel(description.join('\n'));
    descriptionLabel->setObjectName(prefix + "_Description");
    descriptionLabel->setProperty("role", "stepDescription");
    descriptionLabel->setWordWrap(true);
    descriptionLabel->setTextFormat(Qt::PlainText);

    // On a small or highly scaled screen the step's content scrolls, so the window still fits and
    // its buttons stay in reach.
    auto* page = new QWidget;
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(12);
    pageLayout->addWidget(descriptionLabel);
    m_content = new QVBoxLayout;
    m_content->setSpacing(10);
    pageLayout->addLayout(m_content, 1);
    auto* scroll = new QScrollArea;
    scroll->setObjectName(prefix + "_Scroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    // The step's background shows through.
    scroll->viewport()->setAutoFillBackground(false);
    page->setAutoFillBackground(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 12);
    layout->setSpacing(12);
    layout->addWidget(titleBar);
    layout->addWidget(scroll, 1);

    background->lower();
    m_background = background;
}

QWidget* StepPanel::FirstControl() const
{
    QWidget* top = window();
    for (QWidget* widget = top->nextInFocusChain(); widget != top; widget = widget->nextInFocusChain()) {
        if (isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
            widget->isEnabled() && widget->isVisibleTo(top))
            return widget;
    }
    return nullptr;
}

void StepPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_background->setGeometry(rect());
}

} // namespace zantrove
