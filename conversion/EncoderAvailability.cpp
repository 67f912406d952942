// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/EncoderAvailability.h"

#include "conversion/ConversionScript.h"
#include "conversion/ConversionStart.h"
#include "platform/FileSystem.h"

#include <cstring>

namespace zantrove {

namespace {

// Exit statuses of the check mode, as the encoder component defines them.
constexpr int kAllThere = 0;
constexpr int kSomethingMissing = 1;
constexpr int kNoFfmpeg = 2;

Unexpected<UserMessage> Refusal(const std::string& text)
{
    return {{MessageIcon::Critical, std::string(kConversionNotStartedText) + kCrLf + text}};
}

// The component's lines without its "Zantrove: " prefix, joined for a message.
std::string Lines(const std::string& output)
{
    std::string joined;
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        if (end == std::string::npos)
            end = output.size();
        std::string line = output.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("Zantrove: ", 0) == 0)
            line.erase(0, std::strlen("Zantrove: "));
        if (line.empty())
            continue;
        if (!joined.empty())
            joined += kCrLf;
        joined += line;
    }
    return joined;
}

} // namespace

std::vector<std::string> EncoderCheckArguments(const EncoderSettings& settings, const ProfileLookup& profile)
{
    std::vector<std::string> arguments{"--check"};
    if (settings.videoOff) {
        arguments.push_back("-vn");
    } else if (!settings.videoCodec.empty()) {
        if (const std::string format = profile(settings.videoCodec, kVideoFormatKey); !format.empty())
            arguments.insert(arguments.end(), {"-f", format});
        arguments.insert(arguments.end(), {"-vcodec", settings.videoCodec});
    }
    if (settings.audioOff)
        arguments.push_back("-an");
    else if (!settings.audioCodec.empty())
        arguments.insert(arguments.end(), {"-acodec", settings.audioCodec});
    return arguments;
}

Verdict CheckEncoderAvailability(const std::string& applicationFolder, const EncoderSettings& settings,
                                 const ProfileLookup& profile, const ComponentRunner& run)
{
    const std::string component =
        JoinPath(JoinPath(applicationFolder, "Components"), std::string(kEncoderComponentName));
    if (!IsExecutableFile(component))
        return Refusal("The encoder component is missing: " + component + kCrLf +
                       "Please, reinstall Zantrove.");

    const std::vector<std::string> arguments = EncoderCheckArguments(settings, profile);
    const auto result =
        run ? run(component, arguments) : RunCaptured(component, arguments, kEncoderCheckTimeoutMs);
    if (!result && result.error().code == kTimedOutCode)
        return Refusal("The encoder check did not finish: " + component);
    if (!result)
        return Refusal("The encoder component could not be run: " + component + " (" + result.error().why +
                       ")");
    const std::string lines = Lines(result->output);
    switch (result->exitCode) {
    case kAllThere:
        return {};
    case kSomethingMissing:
        return Refusal("The installed ffmpeg lacks what these settings need:" + std::string(kCrLf) + lines);
    case kNoFfmpeg:
        return Refusal(lines.empty() ? std::string("No ffmpeg was found; install the Debian package ffmpeg.")
                                     : lines);
    default:
        return Refusal("The encoder check failed (status " + std::to_string(result->exitCode) + ")" +
                       (lines.empty() ? std::string() : kCrLf + lines));
    }
}

} // namespace zantrove
