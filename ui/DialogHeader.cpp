// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DialogHeader.h"

#include "ui/SvgPicture.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QResizeEvent>
#include <QVBoxLayout>

namespace zantrove {

DialogHeader::DialogHeader(const QString& title, const QString& subtitle, QWidget* parent) : QWidget(parent)
{
    setObjectName("lblWizardBackground");
    m_band = new SvgPicture(":/header/band.svg", SvgPicture::Fit::Stretch, this);
    m_band->lower();

    auto* picture = new SvgPicture(":/header/wizard.svg");
    picture->setObjectName("picWizard");
    picture->setFixedSize(44, 44);

    m_title = new QLabel(title);
    m_title->setObjectName("lblWizardText");
    QFont bold = m_title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    m_title->setFont(bold);
    m_subtitle = new QLabel(subtitle);
    m_subtitle->setObjectName("lblWizardSubText");
    m_subtitle->setProperty("role", "stepDescription");

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addStretch();
    texts->addWidget(m_title);
    texts->addWidget(m_subtitle);
    texts->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 10, 16, 10);
    layout->setSpacing(14);
    layout->addLayout(texts, 1);
    layout->addWidget(picture);
    setMinimumHeight(64);
}

void DialogHeader::resizeEvent(QResizeEvent* event)
{
    m_band->setGeometry(rect());
    QWidget::resizeEvent(event);
}

} // namespace zantrove
