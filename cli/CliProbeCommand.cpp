// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliCommands.h"
#include "media/AddFilesFlow.h"
#include "media/VideoListModel.h"
#include "platform/FileSystem.h"

namespace zantrove {

namespace {
// The probe fills a row for any path; only a codec or a play time shows it read a media file.
bool IsMediaRow(const VideoRow& row)
{
    return row.codec != kUnknownCodec || (!row.duration.empty() && row.duration != "00:00:00");
}
} // namespace

int RunProbeCommand(const std::vector<std::string>& arguments, CliContext& context)
{
    std::vector<std::string> files;
    bool onlyFiles = false;
    for (const std::string& argument : arguments) {
        if (!onlyFiles && argument == "--")
            onlyFiles = true;
        else
            files.push_back(argument);
    }
    if (files.empty())
        return CliUsageError(context, "probe needs at least one FILE");
    // The paths become rows exactly as dropped files do, so the lines show what the list would hold.
    VideoListModel list;
    AddFilesFlow flow(list, {}, {});
    flow.AddDroppedFiles(files);
    if (context.outIsTerminal) {
        VideoRow header;
        for (const auto& info : kVideoColumns)
            header.Field(info.column) = info.header;
        context.out << RowDumpLine(header) << " | Scan | Tracks\n";
    }
    int status = 0;
    for (const auto& row : list.Rows()) {
        context.out << RowDumpLine(row) << " | " << row.scan << " | " << row.tracks << '\n';
        if (IsMediaRow(row))
            continue;
        status = 1;
        context.err << "zantrove-cli: " << row.filepath
                    << (FileExists(row.filepath) || FolderExists(row.filepath) ? ": not a media file\n"
                                                                               : ": no such file\n");
    }
    return status;
}

} // namespace zantrove
