// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PictureButton.h"

#include "ui/Artwork.h"

#include <QIcon>

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

} // namespace zantrove
