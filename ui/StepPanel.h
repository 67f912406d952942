// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QScrollArea;
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
    QLabel* TitleLabel() const { return m_title; }
    QLabel* Description() const { return m_description; }
    // Holds the description and the content, and scrolls them when the window is too small.
    QScrollArea* ScrollArea() const { return m_scroll; }
    // The step's first control in Tab order that can take the focus now, or nullptr.
    QWidget* FirstControl() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* m_background;
    QLabel* m_title;
    QLabel* m_description;
    QVBoxLayout* m_content;
    QScrollArea* m_scroll;
};

} // namespace zantrove
