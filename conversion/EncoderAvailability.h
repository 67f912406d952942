// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/UserMessage.h"
#include "conversion/EncoderSettings.h"
#include "devices/ProfileFile.h"
#include "platform/CapturedProcess.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zantrove {

// Runs the encoder component; tests put a fake in its place.
using ComponentRunner = std::function<Expected<CapturedRun, Error>(
    const std::string& program, const std::vector<std::string>& arguments)>;

inline constexpr int kEncoderCheckTimeoutMs = 30000;

// The encoder's check-mode arguments for a run: "--check", the video codec's VideoFormat as -f and the
// video codec unless video is off, the audio codec unless audio is off.
std::vector<std::string> EncoderCheckArguments(const EncoderSettings& settings, const ProfileLookup& profile);

// Asks Components/Zantrove.dll of the application folder, as it stands (no staging needed), whether
// its ffmpeg has what the run needs. Nothing when it has; otherwise a critical message naming what is
// missing and the Debian package that brings it, or that the component or ffmpeg itself is missing.
Verdict CheckEncoderAvailability(const std::string& applicationFolder, const EncoderSettings& settings,
                                 const ProfileLookup& profile, const ComponentRunner& run = {});

} // namespace zantrove
