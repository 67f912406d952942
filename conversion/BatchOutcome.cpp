// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/BatchOutcome.h"

#include "storage/FileUtilities.h"

namespace zantrove {

BatchOutcome BatchOutcome::Of(const std::vector<std::string>& outputPaths)
{
    BatchOutcome outcome;
    for (const std::string& path : outputPaths)
        ++(FileExists(path) ? outcome.converted : outcome.failed);
    return outcome;
}

std::string BatchOutcome::Text() const
{
    return std::to_string(converted) + (converted == 1 ? " file" : " files") + " converted, " +
           std::to_string(failed) + " failed.";
}

} // namespace zantrove
