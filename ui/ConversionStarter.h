// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/UserMessage.h"

#include <optional>

namespace zantrove {

class MainWindow;

// Convert on the last step: the start checks, the output folder, the script, then the progress
// window over the main window. The encoder check runs beside the window, which stays responsive
// while it does; the start goes on when its answer comes.
class ConversionStarter
{
public:
    explicit ConversionStarter(MainWindow& window) : m_window(window) {}
    void Start();

private:
    void Continue(const std::optional<UserMessage>& refusal);
    void ShowButtons();

    MainWindow& m_window;
};

} // namespace zantrove
