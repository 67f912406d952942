// SPDX-License-Identifier: GPL-3.0-or-later
// The encoder the conversion script calls once per file: the classic option set in, a current
// ffmpeg run out. Progress goes to stdout as status lines ended by "\r"; the result appears under
// its final name only when ffmpeg wrote it completely. Every failure, refused arguments included, ends
// with one line of ours that begins "<source>: ": that is how the progress window's error log finds
// it. ffmpeg's own lines name the source after "file:", so they never count twice.
// A source ffmpeg read only in part (it still exits with 0) keeps what was converted, reported, with
// status 3. A failed file leaves nothing behind; a stopped one keeps its unfinished file.
#include "tools/encoder/CheckMode.h"
#include "tools/encoder/EncoderCheck.h"
#include "tools/encoder/EncoderOptions.h"
#include "tools/encoder/FfmpegRunner.h"
#include "tools/encoder/OutputClaim.h"
#include "tools/encoder/ProgressReport.h"
#include "tools/encoder/SourceScan.h"
#include "tools/encoder/SourceStreams.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

void Fail(const std::string& line)
{
    std::fprintf(stderr, "%s\n", line.c_str());
}

// ffmpeg's last line without the "file:<path>: " it begins with when it is about one of our files.
std::string Reason(const std::string& lastErrorLine, const std::vector<std::string>& paths)
{
    if (lastErrorLine.empty())
        return {};
    for (const std::string& path : paths) {
        const std::string start = zantrove::FileUrl(path) + ": ";
        if (lastErrorLine.starts_with(start))
            return " (" + lastErrorLine.substr(start.size()) + ")";
    }
    return " (" + lastErrorLine + ")";
}

// Decodes a written file to nowhere; false at its first error, or when it cannot be opened at all.
bool ReadsBackWhole(const std::string& ffmpeg, const std::string& path)
{
    const zantrove::FfmpegOutcome check = zantrove::RunFfmpeg(
        ffmpeg, {"-nostdin", "-v", "quiet", "-xerror", "-i", zantrove::FileUrl(path), "-f", "null", "-"},
        [](std::string_view) {});
    return check.Succeeded() && !check.reportedErrors;
}

// The ffprobe beside ffmpeg; empty when there is none.
std::string FfprobeBeside(const std::string& ffmpeg)
{
    std::string ffprobe = ffmpeg;
    const std::size_t name = ffprobe.rfind("ffmpeg");
    if (name == std::string::npos || name + 6 != ffprobe.size())
        return {};
    ffprobe.replace(name, 6, "ffprobe");
    // A folder with ffmpeg alone beside us: the first track it is, without a complaint in the log.
    if (ffprobe.find('/') != std::string::npos && ::access(ffprobe.c_str(), X_OK) != 0)
        return {};
    return ffprobe;
}

// What program answers on its standard output; nullopt when it failed.
std::optional<std::string> Ask(const std::string& program, const std::vector<std::string>& arguments)
{
    std::string answer;
    const zantrove::FfmpegOutcome outcome =
        zantrove::RunFfmpeg(program, arguments, [&answer](std::string_view chunk) { answer += chunk; });
    if (!outcome.Succeeded())
        return std::nullopt;
    return answer;
}

// One look at the source: which of its streams go into the output, its default sound track, and how
// its pictures were taken, from their flags and from the pictures themselves where the flags may be
// wrong; the request gets the streams, the track, the filters that make the pictures progressive and
// their rate. What is left out is said without the source's name: it is no error of the file.
void LookAtSource(const std::string& ffmpeg, const std::string& ffprobe, zantrove::EncoderRequest& request)
{
    const auto answer = Ask(ffprobe, zantrove::SurveyArguments(zantrove::FileUrl(request.input)));
    if (!answer)
        return;
    const zantrove::SourceSurvey survey = zantrove::ReadSourceSurvey(*answer);
    const std::size_t slash = request.input.rfind('/');
    std::string stem = request.input.substr(slash == std::string::npos ? 0 : slash + 1);
    if (const std::size_t dot = stem.rfind('.'); dot != std::string::npos && dot > 0)
        stem.erase(dot);
    request.streams = zantrove::PlanStreams(zantrove::ReadStreamSurvey(*answer), stem);
    for (const std::string& note : request.streams.notes)
        Fail("Note: " + note);
    if (!request.audioOff)
        request.audioTrack = survey.audioTrack;
    if (request.videoOff)
        return;
    std::optional<zantrove::FieldStatistics> pictures;
    if (zantrove::NeedsPictureCheck(survey.video)) {
        if (const auto printout =
                Ask(ffmpeg, zantrove::FieldCheckArguments(zantrove::FileUrl(request.input), request.start,
                                                          zantrove::FramesToCheck(survey))))
            pictures = zantrove::ReadFieldStatistics(*printout);
    }
    const zantrove::ScanDecision scan = zantrove::DecideScan(survey.video, pictures);
    const zantrove::FrameRate rate = zantrove::ProgressiveRate(survey.video, scan);
    request.scanFilters = zantrove::ScanFilters(scan, rate);
    if (rate.Known())
        request.sourceRate = rate.Text();
}

// Started with a standard stream closed, the first file or pipe opened here would take its number,
// and the progress text would end up inside it.
void OpenStandardStreams()
{
    int fd = -1;
    do {
        fd = ::open("/dev/null", O_RDWR);
    } while (fd >= 0 && fd <= STDERR_FILENO);
    if (fd > STDERR_FILENO)
        ::close(fd);
}

} // namespace

int main(int argc, char** argv)
{
    OpenStandardStreams();
    // The script's shell runs us: when it goes, so does this file's conversion. A shell that is
    // gone already has left us to init.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() == 1)
        return 128 + SIGTERM;
    // A progress reader that went away must not take the conversion with it.
    std::signal(SIGPIPE, SIG_IGN);

    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty() && arguments.front() == zantrove::kCheckOption)
        return zantrove::RunCheckMode({arguments.begin() + 1, arguments.end()}, argv[0]);
    const auto parsed = zantrove::ParseEncoderArguments(arguments);
    if (!parsed) {
        const zantrove::ArgumentRefusal& refusal = parsed.error();
        Fail((refusal.input.empty() ? "Zantrove" : refusal.input) + ": " + refusal.text);
        return 2;
    }
    zantrove::EncoderRequest request = *parsed;
    int claimError = 0;
    const std::string part = zantrove::ClaimUnfinishedFile(request.output, claimError);
    if (part.empty()) {
        Fail(request.input + ": cannot create " + zantrove::UnfinishedPath(request.output) + ": " +
             std::strerror(claimError) + "; " + request.output + " was not written");
        return 1;
    }
    request.unfinished = part;

    zantrove::ProgressReader reader;
    bool progressSeen = false;
    long long pictures = 0; // ffmpeg's frame count: video frames only, absent without video
    const std::string ffmpeg = zantrove::FindFfmpeg(argv[0]);
    // A source read ahead of the conversion must be there to be read again: a pipe would be used up.
    struct stat source
    {
    };
    const bool readTwice = ::stat(request.input.c_str(), &source) == 0 && S_ISREG(source.st_mode);
    if (const std::string ffprobe = FfprobeBeside(ffmpeg); !ffprobe.empty() && readTwice)
        LookAtSource(ffmpeg, ffprobe, request);
    const zantrove::FfmpegOutcome outcome =
        zantrove::RunFfmpeg(ffmpeg, zantrove::BuildFfmpegArguments(request), [&](std::string_view chunk) {
            for (const zantrove::ProgressBlock& block : reader.Feed(chunk)) {
                progressSeen = true;
                pictures = std::max(pictures, block.frame);
                std::fputs(zantrove::FormatProgressLine(block).c_str(), stdout);
                std::fflush(stdout);
            }
        });
    // Only this run's own file goes; what a failed encode wrote is of no use to anyone.
    // A folder that turned unwritable keeps it all the same; then the user must learn where it is.
    const auto FailFile = [&request, &part](const std::string& line) {
        const int error = std::remove(part.c_str()) == 0 ? 0 : errno;
        if (error != 0 && error != ENOENT)
            Fail(request.input + ": " + line + "; what was written is kept in " + part +
                 ", which could not be removed (" + std::strerror(error) + ")");
        else
            Fail(request.input + ": " + line);
    };
    const std::string reason = Reason(outcome.lastErrorLine, {request.input, part});

    if (!outcome.started || !outcome.error.empty()) {
        FailFile(outcome.error);
        return 1;
    }
    if (outcome.receivedSignal != 0) {
        // A cancelled file keeps what was converted, as the unfinished file.
        Fail(request.input + ": stopped by " + strsignal(outcome.receivedSignal) + "; " + request.output +
             " was not written");
        return 128 + outcome.receivedSignal;
    }
    if (outcome.childSignal != 0) {
        FailFile(std::string("ffmpeg ended by ") + strsignal(outcome.childSignal) + "; " + request.output +
                 " was not written");
        return 1;
    }
    if (outcome.exitCode != 0) {
        FailFile("ffmpeg failed with status " + std::to_string(outcome.exitCode) + reason + "; " +
                 request.output + " was not written");
        return 1;
    }
    struct stat info
    {
    };
    if (::stat(part.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size == 0) {
        FailFile("ffmpeg wrote nothing into " + part + "; " + request.output + " was not written");
        return 1;
    }
    // Asked for a picture, ffmpeg quietly writes the sound alone of a source that has none.
    if (!request.videoOff && progressSeen && pictures == 0) {
        FailFile("no picture to convert; " + request.output +
                 " was not written (No Video converts the sound alone)");
        return 1;
    }
    // ffmpeg also exits with 0 when the disk refused its last writes: after an error the file counts
    // only if it reads back whole.
    if (outcome.reportedErrors && !ReadsBackWhole(ffmpeg, part)) {
        FailFile("ffmpeg reported errors" + reason + " and " + part + " does not read back whole; " +
                 request.output + " was not written");
        return 1;
    }
    // Another run may have finished a file of the same name meanwhile; it stays as it is.
    if (const int error = zantrove::PublishWithoutReplacing(part, request.output); error != 0) {
        FailFile(error == EEXIST
                     ? request.output + " already exists (written meanwhile by another run); it was "
                                        "left as it is"
                     : "cannot rename " + part + " to " + request.output + ": " + std::strerror(error));
        return 1;
    }
    // The caller of a picture learns the rate the conversion would play at.
    if (zantrove::IsPictureRequest(request))
        std::printf("%s\n", zantrove::FrameRateLine(request).c_str());
    if (outcome.reportedErrors) {
        Fail(request.input + ": damaged source: ffmpeg reported errors while converting it" + reason + "; " +
             request.output + " holds only what could be read");
        return 3;
    }
    return 0;
}
