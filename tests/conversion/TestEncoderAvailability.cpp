// SPDX-License-Identifier: GPL-3.0-or-later
// The start's encoder check: the arguments it gives, how it reads the component's answer, and the
// built component against this machine's ffmpeg.
#include "conversion/EncoderAvailability.h"

#include "platform/FileSystem.h"
#include "tests/support/TestHome.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace zantrove {
namespace {
// The refusal, if any, so a test can compare it with nothing.
template <class... Arguments> std::optional<UserMessage> Availability(Arguments&&... arguments)
{
    const Verdict verdict = CheckEncoderAvailability(std::forward<Arguments>(arguments)...);
    return verdict ? std::nullopt : std::optional(verdict.error());
}

namespace fs = std::filesystem;

// The codec sections of a device profile as the window would read them.
ProfileLookup Profile()
{
    return [](std::string_view section, std::string_view key) -> std::string {
        static const std::map<std::pair<std::string, std::string>, std::string> kKeys{
            {{"libx264", "VideoFormat"}, "mp4"},
            {{"mpeg4", "VideoFormat"}, "ipod"},
        };
        const auto found = kKeys.find({std::string(section), std::string(key)});
        return found == kKeys.end() ? std::string() : found->second;
    };
}

EncoderSettings Settings(std::string video, std::string audio)
{
    EncoderSettings settings;
    settings.videoCodec = std::move(video);
    settings.audioCodec = std::move(audio);
    return settings;
}

// An application folder whose Components/Zantrove.dll is an empty executable file: only the fake
// runner ever answers for it.
std::string FakeApplicationFolder()
{
    const std::string folder = test::MakeTempFolder("app");
    CreateFolderPath(folder + "/Components");
    test::WriteTextFile(folder + "/Components/Zantrove.dll", "");
    fs::permissions(folder + "/Components/Zantrove.dll", fs::perms::owner_all);
    return folder;
}

ComponentRunner Answer(int exitCode, std::string output, std::vector<std::string>* asked = nullptr)
{
    return [=](const std::string&, const std::vector<std::string>& arguments) {
        if (asked)
            *asked = arguments;
        CapturedRun run;
        run.started = true;
        run.exitCode = exitCode;
        run.output = output;
        return run;
    };
}

TEST(EncoderAvailabilityTest, ArgumentsFollowTheRunsSettings)
{
    using Arguments = std::vector<std::string>;
    EXPECT_EQ(EncoderCheckArguments(Settings("libx264", "aac"), Profile()),
              (Arguments{"--check", "-f", "mp4", "-vcodec", "libx264", "-acodec", "aac"}));
    EXPECT_EQ(EncoderCheckArguments(Settings("mpeg4", "aac"), Profile()),
              (Arguments{"--check", "-f", "ipod", "-vcodec", "mpeg4", "-acodec", "aac"}));
    // A codec without a VideoFormat leaves the container to the output's extension.
    EXPECT_EQ(EncoderCheckArguments(Settings("libvpx", "aac"), Profile()),
              (Arguments{"--check", "-vcodec", "libvpx", "-acodec", "aac"}));

    EncoderSettings noVideo = Settings("libx264", "aac");
    noVideo.videoOff = true;
    EXPECT_EQ(EncoderCheckArguments(noVideo, Profile()), (Arguments{"--check", "-vn", "-acodec", "aac"}));
    EncoderSettings noAudio = Settings("libx264", "aac");
    noAudio.audioOff = true;
    EXPECT_EQ(EncoderCheckArguments(noAudio, Profile()),
              (Arguments{"--check", "-f", "mp4", "-vcodec", "libx264", "-an"}));
    EXPECT_EQ(EncoderCheckArguments(Settings("", ""), Profile()), (Arguments{"--check"}));
}

TEST(EncoderAvailabilityTest, AllThereLetsTheStartGoOn)
{
    std::vector<std::string> asked;
    EXPECT_EQ(
        Availability(FakeApplicationFolder(), Settings("libx264", "aac"), Profile(), Answer(0, "", &asked)),
        std::nullopt);
    EXPECT_EQ(asked.front(), "--check");
}

TEST(EncoderAvailabilityTest, MissingItemsAreNamedInACriticalMessage)
{
    const auto message = Availability(
        FakeApplicationFolder(), Settings("libx264", "aac"), Profile(),
        Answer(1,
               "video encoder libx264 is missing; it comes with the Debian package libavcodec59 (ffmpeg)\n"));
    ASSERT_TRUE(message);
    EXPECT_EQ(message->icon, MessageIcon::Critical);
    EXPECT_EQ(message->text,
              "The conversion could not be started.\r\n"
              "The installed ffmpeg lacks what these settings need:\r\n"
              "video encoder libx264 is missing; it comes with the Debian package libavcodec59 "
              "(ffmpeg)");
}

TEST(EncoderAvailabilityTest, NoFfmpegIsSaidWithoutThePrefix)
{
    const auto message =
        Availability(FakeApplicationFolder(), Settings("libx264", "aac"), Profile(),
                     Answer(2, "Zantrove: no ffmpeg found; install the Debian package ffmpeg\n"));
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text,
              "The conversion could not be started.\r\nno ffmpeg found; install the Debian package ffmpeg");
}

TEST(EncoderAvailabilityTest, OtherAnswersAreFailuresWithTheirStatus)
{
    const auto message =
        Availability(FakeApplicationFolder(), Settings("libx264", "aac"), Profile(), Answer(3, "bad\n"));
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text,
              "The conversion could not be started.\r\nThe encoder check failed (status 3)\r\nbad");

    const auto hung = Availability(FakeApplicationFolder(), Settings("libx264", "aac"), Profile(),
                                   [](const std::string&, const std::vector<std::string>&) {
                                       CapturedRun run;
                                       run.started = true;
                                       run.timedOut = true;
                                       return run;
                                   });
    ASSERT_TRUE(hung);
    EXPECT_NE(hung->text.find("The encoder check did not finish"), std::string::npos);
}

TEST(EncoderAvailabilityTest, MissingComponentIsSaidWithItsPath)
{
    const std::string folder = test::MakeTempFolder("empty");
    bool ran = false;
    const auto message = Availability(folder, Settings("libx264", "aac"), Profile(),
                                      [&ran](const std::string&, const std::vector<std::string>&) {
                                          ran = true;
                                          return CapturedRun{};
                                      });
    ASSERT_TRUE(message);
    EXPECT_FALSE(ran);
    EXPECT_EQ(message->icon, MessageIcon::Critical);
    EXPECT_NE(message->text.find("The encoder component is missing: " + folder + "/Components/Zantrove.dll"),
              std::string::npos)
        << message->text;
}

TEST(EncoderAvailabilityTest, ComponentThatCannotRunIsSaid)
{
    // No "#!" line and no executable format: exec refuses it.
    const std::string folder = test::MakeTempFolder("unrunnable");
    CreateFolderPath(folder + "/Components");
    test::WriteTextFile(folder + "/Components/Zantrove.dll", std::string("\x7f"
                                                                         "ELF-not-really",
                                                                         16));
    fs::permissions(folder + "/Components/Zantrove.dll", fs::perms::owner_all);
    const auto message = Availability(folder, Settings("libx264", "aac"), Profile());
    ASSERT_TRUE(message);
    EXPECT_NE(message->text.find("The encoder component could not be run: "), std::string::npos)
        << message->text;
}

TEST(EncoderAvailabilityTest, BuiltComponentPassesAndNamesANonsenseCodec)
{
    EXPECT_EQ(Availability(ZANTROVE_APP_DIR, Settings("libx264", "aac"), Profile()), std::nullopt);
    EXPECT_EQ(Availability(ZANTROVE_APP_DIR, Settings("mpeg4", "aac"), Profile()), std::nullopt);

    const auto message = Availability(ZANTROVE_APP_DIR, Settings("libnothing", "aac"), Profile());
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text, "The conversion could not be started.\r\n"
                             "The installed ffmpeg lacks what these settings need:\r\n"
                             "video encoder libnothing is missing; it comes with the ffmpeg package");
}

TEST(EncoderAvailabilityTest, BuiltComponentWithoutFfmpegSaysSo)
{
    // The build's Components/ holds no ffmpeg, so an empty PATH leaves the component none.
    ASSERT_FALSE(FileExists(ZANTROVE_APP_DIR "/Components/ffmpeg"));
    const char* saved = std::getenv("PATH");
    const std::string path = saved ? saved : "";
    ::setenv("PATH", test::MakeTempFolder("nopath").c_str(), 1);
    const auto message = Availability(ZANTROVE_APP_DIR, Settings("libx264", "aac"), Profile());
    ::setenv("PATH", path.c_str(), 1);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text,
              "The conversion could not be started.\r\nno ffmpeg found; install the Debian package ffmpeg");
}

} // namespace
} // namespace zantrove
