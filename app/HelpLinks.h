// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/UserMessage.h"

#include <array>
#include <string>
#include <string_view>

namespace zantrove {

// The maker's addresses live here and nowhere else; the help pages, the codec tip and the about
// window all derive from them.
inline constexpr std::string_view kMakerSite = "https://www.quelmar.example";
inline constexpr std::string_view kSupportAddress = "support@quelmar.example";
inline constexpr std::string_view kFfmpegSite = "https://ffmpeg.org";

struct HelpLanguage
{
    std::string_view name; // as the language list shows it
    std::string_view code; // as the help pages expect it
};

// The language list's entries, in the order the list shows them.
inline constexpr std::array<HelpLanguage, 16> kHelpLanguages{{
    {"Ceština", "cs"},
    {"Dansk", "da"},
    {"Deutsch", "de"},
    {"Español", "es"},
    {"Français", "fr"},
    {"Hrvatski", "hr"},
    {"Italiano", "it"},
    {"Nederlands", "nl"},
    {"Norsk (Bokmål)", "no"},
    {"Português", "pt"},
    {"Româna", "ro"},
    {"Slovencina", "sk"},
    {"Svenska", "sv"},
    {"Türkçe", "tr"},
    {"Russian", "ru"},
    {"Srpski", "sr"},
}};

// The code for a position of the language list; no selection (-1) or any other position gives "".
std::string HelpLanguageCode(int position);

// The help page with a wizard step's text translated into the language at languagePosition.
std::string TranslatedStepAddress(int step, int languagePosition);
// The maker's page about videos that will not play for want of a codec.
std::string CodecTipAddress();
// The mail link behind the about window's support address.
std::string SupportMailLink();

// The explanation behind the help picture beside the profile list.
UserMessage ProfileHelpMessage();
// The about window's credits for the encoder.
UserMessage CreditsMessage();

} // namespace zantrove
