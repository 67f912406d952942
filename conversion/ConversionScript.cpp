// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ConversionScript.h"

#include "conversion/ShellWords.h"
#include "media/VideoListModel.h"
#include "platform/FileCopy.h"
#include "platform/FileSystem.h"
#include "storage/AtomicFile.h"

#include <cerrno>

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

Expected<void, Error> StageComponent(const std::string& applicationFolder, const std::string& settingsFolder,
                                     std::string_view sourceName, std::string_view targetName)
{
    return RefreshCopy(JoinPath(JoinPath(applicationFolder, "Components"), std::string(sourceName)),
                       JoinPath(settingsFolder, std::string(targetName)));
}

std::string RunDumpPath(const std::string& scriptPath, std::string_view stem)
{
    const std::size_t slash = scriptPath.rfind(kPathSeparator);
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    const std::string name = scriptPath.substr(start);
    // "Zantrove-" + part + ".bat": the part is what the pattern's X's became.
    const std::string_view pattern = kScriptPattern;
    const std::size_t prefix = pattern.find('X');
    const std::size_t suffix = pattern.size() - pattern.rfind('X') - 1;
    const std::string part =
        name.size() > prefix + suffix ? name.substr(prefix, name.size() - prefix - suffix) : name;
    return scriptPath.substr(0, start) + std::string(stem) + '-' + part + ".log";
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
        // The component's own status counts: one that fails after writing, or dies, leaves a file.
        script += encoder + RenderShellArguments(line) +
                  " || printf '%s: " + std::string(kEncoderStatusText) + "%d\\n' " +
                  ShellQuotePath(line.sourcePath) + " \"$?\"\n";
        // Every device: the helper decides by what is connected (a video iPod, else the playlist).
        if (addToLibrary)
            script += library + ' ' + ShellQuotePath(line.outputPath) + '\n';
    }
    return script;
}

Expected<PreparedConversion, Error> PrepareConversion(const ConversionRequest& request,
                                                      const DebugEntry& debug)
{
    const std::string& folder = request.settingsFolder;
    // No script without the encoder this program ships: neither a part copy nor an older one runs.
    if (auto staged =
            StageComponent(request.applicationFolder, folder, kEncoderComponentName, kStagedEncoderName);
        !staged)
        return Unexpected{staged.error()};
    // Our encoder needs no threading library; one is staged only when a build ships it.
    if (auto staged =
            StageComponent(request.applicationFolder, folder, kThreadLibraryName, kThreadLibraryName);
        !staged && staged.error().code != ENOENT && debug)
        debug(staged.error().Text());
    // Without its helper every file of a library run would fail alike, with the shell's "not found".
    if (request.addToLibrary) {
        if (auto staged =
                StageComponent(request.applicationFolder, folder, kLibraryToolName, kLibraryToolName);
            !staged)
            return Unexpected{staged.error()};
    }

    PreparedConversion prepared;
    prepared.lines = BuildEncoderLines(request.rows, request.settings, request.profile, FileExists);
    const std::string script = ConversionScriptText(folder, prepared.lines, request.addToLibrary);
    const auto written =
        WriteNewFile(JoinPath(folder, std::string(kScriptPattern)), script, DefaultFilePermissions());
    if (!written)
        return Unexpected{
            SystemError("A conversion script could not be written in " + folder, written.error())};
    prepared.scriptPath = *written;

    if (debug) {
        debug("Script saved to: " + Quoted(prepared.scriptPath));
        const std::string listDump = RunDumpPath(prepared.scriptPath, kListDumpStem);
        debug("Dump3 will be saved to: " + Quoted(listDump));
        std::string text;
        for (const VideoRow& row : request.rows)
            text += RowDumpLine(row) + '\n';
        if (const auto dumped = WriteFileAtomically(listDump, text); !dumped)
            debug(dumped.error().Text());
        const std::string scriptDump = RunDumpPath(prepared.scriptPath, kScriptDumpStem);
        debug("Dump1 will be saved to: " + Quoted(scriptDump));
        if (const auto dumped = WriteFileAtomically(scriptDump, script); !dumped)
            debug(dumped.error().Text());
        debug(std::string("Zantrove Exists=") +
              TrueFalse(FileExists(JoinPath(folder, std::string(kStagedEncoderName)))));
        debug(std::string("PTGC2 Exists=") +
              TrueFalse(FileExists(JoinPath(folder, std::string(kThreadLibraryName)))));
        debug(std::string("BAT Exists=") + TrueFalse(FileExists(prepared.scriptPath)));
    }
    return prepared;
}

} // namespace zantrove
