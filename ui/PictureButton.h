// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QToolButton>

namespace zantrove {

// A flat button showing one piece of artwork, with its purpose in the tool tip.
class PictureButton : public QToolButton
{
    Q_OBJECT
public:
    PictureButton(const QString& objectName, const QString& resource, const QString& toolTip, int size,
                  QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace zantrove
