// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WizardButtonBar.h"

#include "ui/KeyboardLink.h"
#include "ui/PictureButton.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedLayout>

namespace zantrove {

WizardButtonBar::WizardButtonBar(QWidget* parent) : BackdropPanel(":/side/bottom.svg", parent)
{
    setObjectName("pnlBottom");
    setFixedHeight(60);

    auto* about = new QLabel("<a href=\"about\">About</a>");
    about->setObjectName("lblAbout");
    about->setProperty("role", "link");
    KeyboardLink::Attach(about, "about");
    connect(about, &QLabel::linkActivated, this, &WizardButtonBar::AboutRequested);
    auto* translate = new QLabel("Translate text to:");
    translate->setObjectName("lblTranslate");
    m_languages = new QComboBox;
    m_languages->setObjectName("cmbLanguages");
    translate->setBuddy(m_languages);
    m_translate = new QPushButton(">");
    m_translate->setObjectName("cmdTranslate");
    // A screen reader would read the caption as "greater than".
    m_translate->setAccessibleName(QStringLiteral("Translate"));
    m_translate->setFixedWidth(34);

    m_previous = new PictureButton("bttnPrevious", ":/buttons/previous.svg", "Previous", 40);
    m_next = new PictureButton("bttnNext", ":/buttons/next.svg", "Next", 40);
    m_convert = new PictureButton("bttnConvert", ":/buttons/convert.svg", "Convert", 40);
    // Convert takes exactly the place and size of Next.
    auto* forward = new QWidget;
    auto* forwardLayout = new QStackedLayout(forward);
    forwardLayout->setStackingMode(QStackedLayout::StackAll);
    forwardLayout->addWidget(m_next);
    forwardLayout->addWidget(m_convert);
    m_convert->hide();
    forward->setFixedSize(m_next->sizeHint().expandedTo(m_convert->sizeHint()));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(18, 6, 18, 6);
    layout->setSpacing(8);
    layout->addWidget(about);
    layout->addSpacing(16);
    layout->addWidget(translate);
    layout->addWidget(m_languages);
    layout->addWidget(m_translate);
    layout->addStretch();
    layout->addWidget(m_previous);
    layout->addWidget(forward);
}

} // namespace zantrove
