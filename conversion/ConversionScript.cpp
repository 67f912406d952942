// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ConversionScript.h"

#include "media/VideoListModel.h"
#include "platform/FileSystem.h"
#include "storage/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
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

bool CopyAll(int in, int out)
{
    char buffer[64 * 1024];
    while (true) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buffer + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                return false;
            done += put;
        }
    }
}

// Copy through a temporary name of this copy's own, keeping the source's mode and time, so a
// half-copied component (a full disk) is never run, two programs staging at once never write into
// one file, and the next comparison finds the copy identical.
bool CopyComponent(const std::string& source, const struct stat& sourceInfo, const std::string& target)
{
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    std::string temporary = target + ".staging-XXXXXX";
    const int out = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (out < 0) {
        ::close(in);
        return false;
    }
    bool copied = CopyAll(in, out);
    ::close(in);
    struct stat written
    {
    };
    // A write the file system took back later shows as a short file.
    copied =
        copied && ::fsync(out) == 0 && ::fstat(out, &written) == 0 && written.st_size == sourceInfo.st_size;
    copied = ::close(out) == 0 && copied;
    const timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
    if (!copied ||
        ::chmod(temporary.c_str(), (sourceInfo.st_mode & 07777) | S_IRUSR | S_IWUSR | S_IXUSR) != 0 ||
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
        return CopyComponent(source, sourceInfo, target);
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
