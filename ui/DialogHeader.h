// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/BackdropPanel.h"

class QLabel;

namespace zantrove {

// The band at the top of every dialog: a picture, a bold title and a subtitle.
class DialogHeader : public BackdropPanel
{
    Q_OBJECT
public:
    DialogHeader(const QString& title, const QString& subtitle, QWidget* parent = nullptr);

    // picWizard, unless the dialog names it otherwise.
    QWidget* Picture() const { return m_picture; }

private:
    QWidget* m_picture;
};

} // namespace zantrove
