// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CliCommands.h"
#include "media/AddFilesFlow.h"
#include "media/VideoListModel.h"

namespace zantrove {

int RunProbeCommand(const std::vector<std::string>& arguments, CliContext& context)
{
    if (arguments.empty())
        return CliUsageError(context, "probe needs at least one FILE");
    // The paths become rows exactly as dropped files do, so the lines show what the list would hold.
    VideoListModel list;
    AddFilesFlow flow(list, {}, {});
    flow.AddDroppedFiles(arguments);
    for (const auto& row : list.Rows())
        context.out << RowDumpLine(row) << '\n';
    return 0;
}

} // namespace zantrove
