// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QVBoxLayout;

namespace zantrove {

// One wizard step: its title bar, its explanation and a content area below them.
class StepPanel : public QWidget
{
    Q_OBJECT
public:
    // description: sentences to show on lines of their own.
    StepPanel(int step, const QString& title, const QStringList& description, QWidget* parent = nullptr);

    QVBoxLayout* Content() const { return m_content; }
    // The step's first control in Tab order that can take the focus now, or nullptr.
    QWidget* FirstControl() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* m_background;
    QVBoxLayout* m_content;
};

} // namespace zantrove
