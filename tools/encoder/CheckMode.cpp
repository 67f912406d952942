// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/encoder/CheckMode.h"

#include "tools/encoder/EncoderCheck.h"
#include "tools/encoder/FfmpegRunner.h"

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace zantrove {

namespace {

bool IsExecutableFile(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The file a PATH lookup of name would run, empty when there is none; the normal mode leaves this
// to execvp, but here a missing ffmpeg is an answer of its own.
std::string FindOnPath(const std::string& name)
{
    if (name.find('/') != std::string::npos)
        return IsExecutableFile(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "";
    while (true) {
        const std::size_t colon = rest.find(':');
        std::string folder(rest.substr(0, colon));
        if (folder.empty())
            folder = "."; // an empty PATH entry means the working folder, as for execvp
        if (const std::string candidate = folder + "/" + name; IsExecutableFile(candidate))
            return candidate;
        if (colon == std::string_view::npos)
            return {};
        rest.remove_prefix(colon + 1);
    }
}

// ffmpeg's listing for one of its -encoders/-muxers questions; false when it did not answer.
bool AskFfmpeg(const std::string& ffmpeg, const char* question, std::string& listing)
{
    const FfmpegOutcome outcome = RunFfmpeg(ffmpeg, {"-hide_banner", question},
                                            [&listing](std::string_view chunk) { listing += chunk; });
    if (outcome.Succeeded())
        return true;
    std::fprintf(stderr, "Zantrove: %s could not list its %s (%s)\n", ffmpeg.c_str(), question + 1,
                 !outcome.error.empty()     ? outcome.error.c_str()
                 : outcome.childSignal != 0 ? "ended by a signal"
                                            : ("status " + std::to_string(outcome.exitCode)).c_str());
    return false;
}

} // namespace

int RunCheckMode(const std::vector<std::string>& arguments, const char* argv0)
{
    const auto parsed = ParseCheckArguments(arguments);
    if (!parsed) {
        std::fprintf(stderr, "%s\n", parsed.error().c_str());
        return kCheckBadArguments;
    }
    const std::string ffmpeg = FindOnPath(FindFfmpeg(argv0));
    if (ffmpeg.empty()) {
        std::fprintf(stderr, "Zantrove: %s\n", std::string(kNoFfmpegLine).c_str());
        return kCheckNoFfmpeg;
    }
    std::string encoders;
    std::string muxers;
    if (!AskFfmpeg(ffmpeg, "-encoders", encoders) || !AskFfmpeg(ffmpeg, "-muxers", muxers))
        return kCheckNoFfmpeg;
    const std::vector<MissingItem> missing =
        FindMissing(*parsed, ParseEncoderListing(encoders), ParseMuxerListing(muxers));
    for (const MissingItem& item : missing)
        std::printf("%s\n", DescribeMissing(item).c_str());
    return missing.empty() ? kCheckAllThere : kCheckSomethingMissing;
}

} // namespace zantrove
