// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HelpLinks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace zantrove {
namespace {

std::vector<std::string> SplitCrLf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

TEST(HelpLinks, TheMakersAddressesUseTheReservedExampleDomain)
{
    EXPECT_EQ(kMakerSite, "https://www.quelmar.example");
    EXPECT_EQ(kSupportAddress, "support@quelmar.example");
}

TEST(HelpLinks, SixteenLanguagesInTheirOrderWithTheirCodes)
{
    const char* const names[] = {"Ceština",        "Dansk",     "Deutsch",  "Español",
                                 "Français",       "Hrvatski",  "Italiano", "Nederlands",
                                 "Norsk (Bokmål)", "Português", "Româna",   "Slovencina",
                                 "Svenska",        "Türkçe",    "Russian",  "Srpski"};
    const char* const codes[] = {"cs", "da", "de", "es", "fr", "hr", "it", "nl",
                                 "no", "pt", "ro", "sk", "sv", "tr", "ru", "sr"};
    ASSERT_EQ(kHelpLanguages.size(), 16u);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(kHelpLanguages[static_cast<std::size_t>(i)].name, names[i]) << i;
        EXPECT_EQ(HelpLanguageCode(i), codes[i]) << i;
    }
}

TEST(HelpLinks, NoSelectionOrAnUnknownPositionGivesTheEmptyCode)
{
    EXPECT_EQ(HelpLanguageCode(-1), "");
    EXPECT_EQ(HelpLanguageCode(16), "");
    EXPECT_EQ(HelpLanguageCode(1000), "");
}

TEST(HelpLinks, StepAddressCarriesTheStepAndTheLanguage)
{
    EXPECT_EQ(TranslatedStepAddress(3, 2), "https://www.quelmar.example/Content/ZVR/Help/?step=3&lng=de");
    EXPECT_EQ(TranslatedStepAddress(1, 15), "https://www.quelmar.example/Content/ZVR/Help/?step=1&lng=sr");
    EXPECT_EQ(TranslatedStepAddress(4, -1), "https://www.quelmar.example/Content/ZVR/Help/?step=4&lng=");
}

TEST(HelpLinks, CodecTipAndMailLink)
{
    EXPECT_EQ(CodecTipAddress(), "https://www.quelmar.example/Content/ZVR/Help/?item=missingcodecs");
    EXPECT_EQ(SupportMailLink(), "mailto:support@quelmar.example?Subject=Zantrove");
}

TEST(HelpLinks, ProfileHelpHasEightLinesTwoOfThemEmpty)
{
    const UserMessage message = ProfileHelpMessage();
    EXPECT_EQ(message.icon, MessageIcon::Information);
    EXPECT_EQ(message.title, "Zantrove");
    const std::vector<std::string> lines = SplitCrLf(message.text);
    ASSERT_EQ(lines.size(), 8u) << message.text;
    EXPECT_EQ(lines[0], "In the box left to this button you can select an output profile.");
    EXPECT_EQ(lines[1],
              "An output profile contains predefined settings for the audio quality, video quality, etc.");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "If you wish you can change the various audio and video settings manually,");
    EXPECT_EQ(lines[4],
              "but you can also choose to set the audio and video settings by choosing an output profile.");
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6],
              "There are a lot of output profiles, each is suitable for a different type of video.");
    EXPECT_EQ(lines[7],
              "E.g.: high quality movies require a high quality profile. For an audio clip you can choose "
              "a profile with a lower video quality.");
    // Lines are joined by CR LF only: no lone line feed or carriage return.
    EXPECT_EQ(message.text.find('\n', 0) - 1, message.text.find('\r', 0));
    EXPECT_EQ(std::count(message.text.begin(), message.text.end(), '\n'), 7);
    EXPECT_EQ(std::count(message.text.begin(), message.text.end(), '\r'), 7);
}

TEST(HelpLinks, CreditsNameTheEncoderAndItsSite)
{
    const UserMessage message = CreditsMessage();
    EXPECT_EQ(message.icon, MessageIcon::Information);
    EXPECT_EQ(message.title, "Zantrove");
    EXPECT_EQ(message.text,
              "Zantrove is based on libraries of ffmpeg.\r\n\r\nYou can find more information about "
              "ffmpeg on the following website:\r\nhttps://ffmpeg.org");
}

} // namespace
} // namespace zantrove
