// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HelpLinks.h"

#include <iterator>

namespace zantrove {

namespace {
constexpr std::string_view kHelpPath = "/Content/ZVR/Help/";
} // namespace

std::string HelpLanguageCode(int position)
{
    if (position < 0 || position >= static_cast<int>(kHelpLanguages.size()))
        return {};
    return std::string(kHelpLanguages[static_cast<std::size_t>(position)].code);
}

std::string TranslatedStepAddress(int step, int languagePosition)
{
    return std::string(kMakerSite) + std::string(kHelpPath) + "?step=" + std::to_string(step) +
           "&lng=" + HelpLanguageCode(languagePosition);
}

std::string CodecTipAddress()
{
    return std::string(kMakerSite) + std::string(kHelpPath) + "?item=missingcodecs";
}

std::string SupportMailLink()
{
    return "mailto:" + std::string(kSupportAddress) + "?Subject=Zantrove";
}

UserMessage ProfileHelpMessage()
{
    const char* const lines[] = {
        "In the box left to this button you can select an output profile.",
        "An output profile contains predefined settings for the audio quality, video quality, etc.",
        "",
        "If you wish you can change the various audio and video settings manually,",
        "but you can also choose to set the audio and video settings by choosing an output profile.",
        "",
        "There are a lot of output profiles, each is suitable for a different type of video.",
        "E.g.: high quality movies require a high quality profile. For an audio clip you can choose a "
        "profile "
        "with a lower video quality.",
    };
    std::string text;
    for (std::size_t i = 0; i < std::size(lines); ++i)
        text += (i == 0 ? "" : kCrLf) + std::string(lines[i]);
    return {MessageIcon::Information, text};
}

UserMessage CreditsMessage()
{
    return {MessageIcon::Information,
            std::string("Zantrove is based on libraries of ffmpeg.") + kCrLf + kCrLf +
                "You can find more information about ffmpeg on the following website:" + kCrLf +
                std::string(kFfmpegSite)};
}

} // namespace zantrove
