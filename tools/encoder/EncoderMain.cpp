// SPDX-License-Identifier: GPL-3.0-or-later
// The encoder the conversion script calls once per file: the classic option set in, a current
// ffmpeg run out. Progress goes to stdout as status lines ended by "\r"; the result appears under
// its final name only when ffmpeg wrote it completely.
#include "tools/encoder/EncoderOptions.h"
#include "tools/encoder/FfmpegRunner.h"
#include "tools/encoder/ProgressReport.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

void Fail(const std::string& line)
{
    std::fprintf(stderr, "Zantrove: %s\n", line.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    // A progress reader that went away must not take the conversion with it.
    std::signal(SIGPIPE, SIG_IGN);

    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const zantrove::ParsedRequest parsed = zantrove::ParseEncoderArguments(arguments);
    if (!parsed.Ok()) {
        std::fprintf(stderr, "%s\n", parsed.error.c_str());
        return 2;
    }
    const zantrove::EncoderRequest& request = parsed.request;
    const std::string part = zantrove::UnfinishedPath(request.output);
    std::remove(part.c_str()); // a leftover from an earlier attempt must not pass for this one

    zantrove::ProgressReader reader;
    const zantrove::FfmpegOutcome outcome =
        zantrove::RunFfmpeg(zantrove::FindFfmpeg(argv[0]), zantrove::BuildFfmpegArguments(request),
                            [&reader](std::string_view chunk) {
                                for (const zantrove::ProgressBlock& block : reader.Feed(chunk)) {
                                    std::fputs(zantrove::FormatProgressLine(block).c_str(), stdout);
                                    std::fflush(stdout);
                                }
                            });

    if (!outcome.started || !outcome.error.empty()) {
        Fail(outcome.error);
        return 1;
    }
    if (outcome.receivedSignal != 0) {
        Fail(std::string("stopped by ") + strsignal(outcome.receivedSignal) + "; " + request.output +
             " was not written");
        return 128 + outcome.receivedSignal;
    }
    if (outcome.childSignal != 0) {
        Fail(std::string("ffmpeg ended by ") + strsignal(outcome.childSignal) + "; " + request.output +
             " was not written");
        return 1;
    }
    if (outcome.exitCode != 0) {
        Fail("ffmpeg failed with status " + std::to_string(outcome.exitCode) + "; " + request.output +
             " was not written");
        return 1;
    }
    struct stat info
    {
    };
    if (::stat(part.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size == 0) {
        Fail("ffmpeg wrote nothing into " + part + "; " + request.output + " was not written");
        return 1;
    }
    if (std::rename(part.c_str(), request.output.c_str()) != 0) {
        Fail("cannot rename " + part + " to " + request.output + ": " + std::strerror(errno));
        return 1;
    }
    return 0;
}
