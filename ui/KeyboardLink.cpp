// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/KeyboardLink.h"

#include "ui/ClickLabel.h"

#include <QKeyEvent>
#include <QLabel>

namespace zantrove {

KeyboardLink::KeyboardLink(QLabel* label, QString link)
    : QObject(label), m_label(label), m_link(std::move(link))
{
}

void KeyboardLink::Attach(QLabel* label, const QString& link)
{
    label->setFocusPolicy(Qt::StrongFocus);
    label->installEventFilter(new KeyboardLink(label, link));
}

bool KeyboardLink::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_label && event->type() == QEvent::KeyPress &&
        ClickLabel::IsPressKey(*static_cast<QKeyEvent*>(event))) {
        emit m_label->linkActivated(m_link);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zantrove
