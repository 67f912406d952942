// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/BatchOutcome.h"

#include "base/UserMessage.h"
#include "platform/FileSystem.h"

namespace zantrove {

namespace {
bool HasEntryFor(const std::string& errorLog, const std::string& source)
{
    const std::string entry = "-" + source + ":";
    return errorLog.starts_with(entry) || errorLog.find("\n" + entry) != std::string::npos;
}
} // namespace

std::string BatchOutcome::CountText() const
{
    return std::to_string(converted) + " converted, " + std::to_string(failed) + " failed";
}

std::string BatchOutcome::NotificationText() const
{
    return std::to_string(converted) + (converted == 1 ? " file" : " files") + " converted, " +
           std::to_string(failed) + " failed.";
}

BatchOutcome JudgeBatch(const std::vector<std::string>& sources, const std::vector<std::string>& outputs,
                        const std::string& errorLog)
{
    BatchOutcome outcome;
    outcome.errorLog = errorLog;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const std::string output = i < outputs.size() ? outputs[i] : std::string();
        const std::optional<std::uint64_t> size = output.empty() ? std::nullopt : FileSize(output);
        // An empty file is no conversion, whatever the encoder's status said.
        const bool written = size && *size > 0;
        const bool reported = HasEntryFor(errorLog, sources[i]);
        // The library helper names the output: a file it could not add is a failure too.
        const bool converted = written && !reported && !HasEntryFor(errorLog, output);
        outcome.rowConverted.push_back(converted);
        ++(converted ? outcome.converted : outcome.failed);
        if (!written && !reported)
            outcome.errorLog += "-" + sources[i] + ": not converted; " + output +
                                (size ? " was written empty" : " was not written") + kCrLf;
    }
    return outcome;
}

} // namespace zantrove
