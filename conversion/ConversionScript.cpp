// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ConversionScript.h"

#include "media/VideoListModel.h"
#include "platform/FileCopy.h"
#include "platform/FileSystem.h"
#include "storage/AtomicFile.h"

#include <cstdio>
#include <cstdlib>

namespace zantrove {

namespace {
std::string Quoted(const std::string& path)
{
    return '"' + path + "\".";
}

const char* TrueFalse(bool value)
{
    return value ? "True" : "False";
}

} // namespace

bool StageComponent(const std::string& applicationFolder, const std::string& settingsFolder,
                    std::string_view sourceName, std::string_view targetName)
{
    return RefreshCopy(JoinPath(JoinPath(applicationFolder, "Components"), std::string(sourceName)),
                       JoinPath(settingsFolder, std::string(targetName)));
}

std::string EncoderLineStart(const std::string& settingsFolder)
{
    return ShellQuotePath(JoinPath(settingsFolder, std::string(kStagedEncoderName))) + ' ';
}

std::string ConversionScriptText(const std::string& settingsFolder, const std::vector<EncoderLine>& lines,
                                 bool addToLibrary)
{
    const std::string encoder = EncoderLineStart(settingsFolder);
    const std::string library = ShellQuotePath(JoinPath(settingsFolder, std::string(kLibraryToolName)));
    std::string script;
    for (const EncoderLine& line : lines) {
        script += encoder + RenderShellArguments(line) + '\n';
        // Every device: the helper decides by what is connected (a video iPod, else the playlist).
        if (addToLibrary)
            script += library + ' ' + ShellQuotePath(line.outputPath) + '\n';
    }
    return script;
}

PreparedConversion PrepareConversion(const ConversionRequest& request, const DebugEntry& debug)
{
    const std::string& folder = request.settingsFolder;
    PreparedConversion prepared;
    prepared.scriptPath = JoinPath(folder, std::string(kScriptName));
    // No script without the encoder this program ships: neither a part copy nor an older one runs.
    if (!StageComponent(request.applicationFolder, folder, kEncoderComponentName, kStagedEncoderName)) {
        prepared.unstagedComponent = JoinPath(folder, std::string(kStagedEncoderName));
        return prepared;
    }
    // Our encoder needs no threading library; one is staged only when a build ships it.
    StageComponent(request.applicationFolder, folder, kThreadLibraryName, kThreadLibraryName);
    if (request.addToLibrary)
        StageComponent(request.applicationFolder, folder, kLibraryToolName, kLibraryToolName);

    if (debug) {
        const std::string dump = JoinPath(folder, std::string(kListDumpName));
        debug("Dump3 will be saved to: " + Quoted(dump));
        std::string text;
        for (const VideoRow& row : request.rows)
            text += RowDumpLine(row) + '\n';
        WriteFileAtomically(dump, text);
    }

    prepared.lines = BuildEncoderLines(request.rows, request.settings, request.profile, FileExists);
    const std::string script = ConversionScriptText(folder, prepared.lines, request.addToLibrary);
    prepared.scriptWritten = WriteFileAtomically(prepared.scriptPath, script);

    if (debug) {
        const std::string dump = JoinPath(folder, std::string(kScriptDumpName));
        debug("Dump1 will be saved to: " + Quoted(dump));
        if (prepared.scriptWritten)
            WriteFileAtomically(dump, script);
        debug(std::string("Zantrove Exists=") +
              TrueFalse(FileExists(JoinPath(folder, std::string(kStagedEncoderName)))));
        debug(std::string("PTGC2 Exists=") +
              TrueFalse(FileExists(JoinPath(folder, std::string(kThreadLibraryName)))));
        debug(std::string("BAT Exists=") + TrueFalse(FileExists(prepared.scriptPath)));
    }
    return prepared;
}

} // namespace zantrove
