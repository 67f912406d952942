// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;

namespace zantrove {

// The band at the top of every dialog: a picture, a bold title and a subtitle.
class DialogHeader : public QWidget
{
    Q_OBJECT
public:
    DialogHeader(const QString& title, const QString& subtitle, QWidget* parent = nullptr);

    QLabel* Title() const { return m_title; }
    QLabel* Subtitle() const { return m_subtitle; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* m_band;
    QLabel* m_title;
    QLabel* m_subtitle;
};

} // namespace zantrove
