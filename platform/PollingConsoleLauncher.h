// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ConsoleLauncher.h"
#include "platform/ScriptProcess.h"

namespace zantrove {

// A console launcher for programs without an event loop: the notifications run inside Pump, on
// the thread that calls it.
class PollingConsoleLauncher : public ConsoleLauncher
{
public:
    ~PollingConsoleLauncher() override;

    Expected<void, Error> Start() override;
    void Stop() override;
    bool IsRunning() const override { return m_process.IsRunning(); }
    int ProcessGroup() const override { return m_process.IsRunning() ? m_process.ProcessGroup() : -1; }

    // Waits up to timeoutMs (-1: without limit) for output and delivers what arrived, then the end
    // when the script has exited. False once the script has ended or was stopped.
    bool Pump(int timeoutMs);

private:
    ScriptProcess m_process;
    // Changes on every Start and Stop, so a handler that stops the run ends the delivery at once.
    unsigned m_generation = 0;
};

} // namespace zantrove
