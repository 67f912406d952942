// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PictureButton.h"

#include "ui/Artwork.h"

#include <QHash>
#include <QIcon>
#include <QKeyEvent>

namespace zantrove {

namespace {
// What each picture shows, for those who cannot see it; the tool tip names what it does.
QString PictureDescription(const QString& resource)
{
    static const QHash<QString, QString> descriptions{
        {":/buttons/add-videos.svg", "Picture of a film strip with a green plus sign"},
        {":/buttons/advanced.svg", "Picture of three sliders"},
        {":/buttons/choose-folder.svg", "Picture of a folder"},
        {":/buttons/convert.svg", "Picture of a green circle with an arrow that turns down"},
        {":/buttons/edit-size.svg", "Picture of a picture frame with a pencil"},
        {":/buttons/help.svg", "Picture of a question mark in a blue circle"},
        {":/buttons/next.svg", "Picture of an arrow pointing forward"},
        {":/buttons/previous.svg", "Picture of an arrow pointing back"},
        {":/buttons/remove-items.svg", "Picture of a waste bin with a red minus sign"},
        {":/buttons/trim.svg", "Picture of scissors cutting along a dashed line"},
    };
    return descriptions.value(resource, QStringLiteral("Picture button"));
}
} // namespace

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
    setAccessibleDescription(PictureDescription(resource));
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
