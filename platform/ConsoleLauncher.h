// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Error.h"
#include "base/Expected.h"

#include <cerrno>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace zantrove {

inline constexpr std::string_view kAlreadyConvertingText =
    "Zantrove is already converting one or more files!";

// Runs a conversion script and hands its console output back piece by piece. Implementations
// deliver both notifications on the thread that owns the launcher, one at a time.
class ConsoleLauncher
{
public:
    // Standard output and standard error merged, in order of arrival. A piece always ends at a line
    // end (CR or LF, kept in the text) or at the end of the stream, so no line is split in two.
    using DataReceived = std::function<void(const std::string& data)>;
    // Once, after the last DataReceived, when the script's process has exited.
    using ProcessEnded = std::function<void()>;

    virtual ~ConsoleLauncher() = default;

    void SetDataReceived(DataReceived handler) { m_dataReceived = std::move(handler); }
    void SetProcessEnded(ProcessEnded handler) { m_processEnded = std::move(handler); }

    // The script to run with /bin/sh -v, so every command is echoed before it runs.
    void SetScript(std::string scriptPath) { m_script = std::move(scriptPath); }
    const std::string& Script() const { return m_script; }

    // The error is what the window and the command line both show: a run of this launcher still
    // going, or the script that could not be started and why.
    [[nodiscard]] virtual Expected<void, Error> Start() = 0;
    // Ends the whole script at once: the shell and everything it started. No notification follows.
    virtual void Stop() = 0;
    virtual bool IsRunning() const = 0;
    // The script's process group while it runs (the shell and all it started), -1 otherwise.
    virtual int ProcessGroup() const { return -1; }

protected:
    static Unexpected<Error> AlreadyRunning() { return {{std::string(kAlreadyConvertingText), {}, EBUSY}}; }
    Unexpected<Error> NotStarted(int code) const
    {
        return {SystemError("The conversion script " + m_script + " could not be started", code)};
    }
    void EmitData(const std::string& data)
    {
        if (m_dataReceived)
            m_dataReceived(data);
    }
    void EmitEnded()
    {
        if (m_processEnded)
            m_processEnded();
    }

private:
    DataReceived m_dataReceived;
    ProcessEnded m_processEnded;
    std::string m_script;
};

} // namespace zantrove
