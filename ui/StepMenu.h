// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/BackdropPanel.h"

#include <array>

class QLabel;

namespace zantrove {

// pnlLeftMenu: the program's name above the wizard's four steps, the current one marked.
class StepMenu : public BackdropPanel
{
    Q_OBJECT
public:
    explicit StepMenu(QWidget* parent = nullptr);

    // step: 1 to 4.
    void MarkCurrent(int step);

private:
    std::array<QLabel*, 4> m_marks{};
};

} // namespace zantrove
