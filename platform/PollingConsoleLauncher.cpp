// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PollingConsoleLauncher.h"

#include <cerrno>
#include <poll.h>

namespace zantrove {

PollingConsoleLauncher::~PollingConsoleLauncher()
{
    m_process.Stop();
}

Expected<void, Error> PollingConsoleLauncher::Start()
{
    if (m_process.IsRunning())
        return AlreadyRunning();
    ++m_generation;
    if (const Expected<void, int> started = m_process.Start(Script()); !started)
        return NotStarted(started.error());
    return {};
}

void PollingConsoleLauncher::Stop()
{
    ++m_generation;
    m_process.Stop();
}

bool PollingConsoleLauncher::Pump(int timeoutMs)
{
    if (!m_process.IsRunning())
        return false;
    pollfd wait{m_process.Fd(), POLLIN, 0};
    int ready = 0;
    do {
        ready = ::poll(&wait, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0)
        return m_process.IsRunning();

    const unsigned generation = m_generation;
    const ScriptOutput output = m_process.ReadAvailable();
    for (const std::string& piece : output.pieces) {
        EmitData(piece);
        if (generation != m_generation)
            return m_process.IsRunning();
    }
    if (output.ended) {
        EmitEnded();
        return false;
    }
    return m_process.IsRunning();
}

} // namespace zantrove
