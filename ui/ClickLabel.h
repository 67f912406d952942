// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace zantrove {

// A caption that acts like a link: clicked by mouse, or by Space/Enter when it has the focus.
class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    ClickLabel(const QString& objectName, const QString& text, QWidget* parent = nullptr);
    void SetColor(const QColor& color);
    // The keys that press a focused label, this one or a rich-text link label.
    static bool IsPressKey(const QKeyEvent& event);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace zantrove
