// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zantrove {

class MainWindow;

// Convert on the last step: the start checks, the output folder, the script, then the progress
// window over the main window.
class ConversionStarter
{
public:
    explicit ConversionStarter(MainWindow& window) : m_window(window) {}
    void Start();

private:
    MainWindow& m_window;
};

} // namespace zantrove
