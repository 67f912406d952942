// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PictureButton.h"

#include "ui/Artwork.h"

#include <QIcon>
#include <QKeyEvent>

namespace zantrove {

PictureButton::PictureButton(const QString& objectName, const QString& resource, const QString& toolTip,
                             int size, QWidget* parent)
    : QToolButton(parent)
{
    ::InitZantroveArtwork();
    setObjectName(objectName);
    setProperty("picture", true);
    setIcon(QIcon(resource));
    setIconSize(QSize(size, size));
    setToolTip(toolTip);
    setAccessibleName(toolTip);
    setAutoRaise(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureButton::keyPressEvent(QKeyEvent* event)
{
    // A tool button takes only Space; these stand in for push buttons, so Enter presses them too.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
        click();
        return;
    }
    QToolButton::keyPressEvent(event);
}

} // namespace zantrove
