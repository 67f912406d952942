// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WizardStatusBar.h"

#include "base/Version.h"
#include "ui/KeyboardLink.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStackedLayout>

namespace zantrove {

WizardStatusBar::WizardStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName("StatusBar");
    setSizeGripEnabled(true);

    // The first panel holds the version, with the add-files progress laid over it.
    auto* first = new QWidget;
    first->setFixedWidth(190);
    auto* stack = new QStackedLayout(first);
    stack->setStackingMode(QStackedLayout::StackAll);
    m_versionPanel = new QLabel(
        QString::fromLatin1("Version: %1").arg(QLatin1StringView(kVersion.data(), kVersion.size())));
    m_versionPanel->installEventFilter(this);
    m_addFilesProgress = new QProgressBar;
    m_addFilesProgress->setObjectName("AddFilesProgressBar");
    m_addFilesProgress->setTextVisible(false);
    m_addFilesProgress->setMaximumHeight(14);
    m_addFilesProgress->hide();
    stack->addWidget(m_versionPanel);
    stack->addWidget(m_addFilesProgress);

    m_cancelOverlay = new QWidget;
    m_cancelOverlay->setObjectName("CancelOverlay");
    auto* cancelLayout = new QHBoxLayout(m_cancelOverlay);
    cancelLayout->setContentsMargins(0, 0, 0, 0);
    m_cancelLabel = new QLabel("<a href=\"cancel\">(Cancel)</a>");
    m_cancelLabel->setObjectName("CancelLabel");
    m_cancelLabel->setToolTip("Cancel Operation");
    m_cancelLabel->setProperty("role", "link");
    KeyboardLink::Attach(m_cancelLabel, "cancel");
    cancelLayout->addWidget(m_cancelLabel);
    m_cancelOverlay->hide();

    m_statusText = new QLabel;
    m_statusText->setObjectName("StatusPanel2");
    addWidget(first);
    addWidget(m_cancelOverlay);
    addWidget(m_statusText, 1);
}

bool WizardStatusBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_versionPanel && event->type() == QEvent::MouseButtonDblClick) {
        emit AboutRequested();
        return true;
    }
    return QStatusBar::eventFilter(watched, event);
}

} // namespace zantrove
