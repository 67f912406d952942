// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ConsoleLauncher.h"
#include "platform/ScriptProcess.h"

class QSocketNotifier;

namespace zantrove {

// The console launcher of the windows: the event loop of the thread that started the script
// delivers its notifications, so handlers may touch widgets directly.
class QtConsoleLauncher : public ConsoleLauncher
{
public:
    QtConsoleLauncher() = default;
    ~QtConsoleLauncher() override;
    QtConsoleLauncher(const QtConsoleLauncher&) = delete;
    QtConsoleLauncher& operator=(const QtConsoleLauncher&) = delete;

    Expected<void, Error> Start() override;
    void Stop() override;
    bool IsRunning() const override { return m_process.IsRunning(); }
    int ProcessGroup() const override { return m_process.IsRunning() ? m_process.ProcessGroup() : -1; }

private:
    void OnReadable();
    void DropNotifier();

    ScriptProcess m_process;
    QSocketNotifier* m_notifier = nullptr;
    unsigned m_generation = 0;
    bool m_delivering = false;
};

} // namespace zantrove
