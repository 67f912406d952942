// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DialogHeader.h"

#include "ui/SvgPicture.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace zantrove {

DialogHeader::DialogHeader(const QString& title, const QString& subtitle, QWidget* parent)
    : BackdropPanel(":/header/band.svg", parent)
{
    setObjectName("lblWizardBackground");

    m_picture = new SvgPicture(":/header/wizard.svg");
    m_picture->setObjectName("picWizard");
    m_picture->setFixedSize(44, 44);

    auto* titleLabel = new QLabel(title);
    titleLabel->setObjectName("lblWizardText");
    QFont bold = titleLabel->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    titleLabel->setFont(bold);
    auto* subtitleLabel = new QLabel(subtitle);
    subtitleLabel->setObjectName("lblWizardSubText");
    subtitleLabel->setProperty("role", "stepDescription");

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addStretch();
    texts->addWidget(titleLabel);
    texts->addWidget(subtitleLabel);
    texts->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 10, 16, 10);
    layout->setSpacing(14);
    layout->addLayout(texts, 1);
    layout->addWidget(m_picture);
    setMinimumHeight(64);
}

} // namespace zantrove
