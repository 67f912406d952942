// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ConversionScript.h"

#include "media/VideoListModel.h"
#include "storage/AtomicFile.h"
#include "storage/FileUtilities.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

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

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
           a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// Copy through a temporary name, keeping the source's mode and time, so a half-copied component is
// never run and the next comparison finds the copy identical.
bool CopyComponent(const std::string& source, const struct stat& sourceInfo, const std::string& target)
{
    std::ifstream in(source, std::ios::binary);
    if (!in)
        return false;
    const std::string temporary = target + ".staging";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << in.rdbuf();
        if (!out.flush())
            return std::remove(temporary.c_str()), false;
    }
    const timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
    if (::chmod(temporary.c_str(), (sourceInfo.st_mode & 07777) | S_IRUSR | S_IWUSR | S_IXUSR) != 0 ||
        ::utimensat(AT_FDCWD, temporary.c_str(), times, 0) != 0 ||
        std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
} // namespace

bool StageComponent(const std::string& applicationFolder, const std::string& settingsFolder,
                    std::string_view sourceName, std::string_view targetName)
{
    const std::string source = JoinPath(JoinPath(applicationFolder, "Components"), std::string(sourceName));
    const std::string target = JoinPath(settingsFolder, std::string(targetName));
    struct stat sourceInfo
    {
    };
    struct stat targetInfo
    {
    };
    const bool haveSource = ::stat(source.c_str(), &sourceInfo) == 0 && S_ISREG(sourceInfo.st_mode);
    const bool haveTarget = ::stat(target.c_str(), &targetInfo) == 0 && S_ISREG(targetInfo.st_mode);
    if (haveSource && !(haveTarget && SameFile(sourceInfo, targetInfo)))
        return CopyComponent(source, sourceInfo, target) || haveTarget;
    return haveTarget;
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
        // Every device: the library is the user's, not the device's.
        if (addToLibrary)
            script += library + ' ' + ShellQuotePath(line.outputPath) + '\n';
    }
    return script;
}

PreparedConversion PrepareConversion(const ConversionRequest& request, const DebugEntry& debug)
{
    const std::string& folder = request.settingsFolder;
    StageComponent(request.applicationFolder, folder, kEncoderComponentName, kStagedEncoderName);
    // Our encoder needs no threading library; one is staged only when a build ships it.
    StageComponent(request.applicationFolder, folder, kThreadLibraryName, kThreadLibraryName);
    if (request.addToLibrary)
        StageComponent(request.applicationFolder, folder, kLibraryToolName, kLibraryToolName);

    PreparedConversion prepared;
    prepared.scriptPath = JoinPath(folder, std::string(kScriptName));
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
