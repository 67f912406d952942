// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zantrove {

struct FfmpegOutcome
{
    bool started = false;
    int exitCode = -1;      // ffmpeg's exit status when it exited by itself
    int childSignal = 0;    // the signal that ended ffmpeg, 0 when it exited
    int receivedSignal = 0; // a termination signal this process got and passed on, 0 when none
    std::string error;      // why ffmpeg could not be started
    // ffmpeg's error output, passed on as it came: whether there was any (with "-loglevel error" only
    // errors are written, also those ffmpeg survives, such as a damaged source) and its last line.
    bool reportedErrors = false;
    std::string lastErrorLine;
    bool Succeeded() const { return started && exitCode == 0 && childSignal == 0 && receivedSignal == 0; }
};

// The ffmpeg beside this executable (the staged copy's folder) when there is one, else "ffmpeg"
// for a PATH lookup.
std::string FindFfmpeg(const char* argv0);

// Runs ffmpeg with the given arguments, its standard output handed to onOutput piece by piece and its
// errors passed on to ours as they come (and noted in the outcome). ffmpeg dies with this process, even by
// SIGKILL, and gets the SIGTERM, SIGINT and SIGHUP sent to this process.
FfmpegOutcome RunFfmpeg(const std::string& program, const std::vector<std::string>& arguments,
                        const std::function<void(std::string_view)>& onOutput);

} // namespace zantrove
