// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ClickLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace zantrove {

ClickLabel::ClickLabel(const QString& objectName, const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setObjectName(objectName);
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(text);
}

void ClickLabel::SetColor(const QColor& color)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, color);
    setPalette(palette);
    // The style sheet's colour would win over the palette, so the colour is also set here.
    setStyleSheet(QStringLiteral("color: %1;").arg(color.name()));
}

bool ClickLabel::IsPressKey(const QKeyEvent& event)
{
    return event.key() == Qt::Key_Space || event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void ClickLabel::keyPressEvent(QKeyEvent* event)
{
    if (IsPressKey(*event)) {
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

} // namespace zantrove
