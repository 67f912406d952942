// SPDX-License-Identifier: GPL-3.0-or-later
// The manual pages and the bash completion made at build time, read as a user's tools read them.
#include "app/WindowHelp.h"
#include "cli/CliCommands.h"
#include "platform/FileSystem.h"
#include "tests/support/TestHome.h"
#include "tests/support/ToolProcess.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace zantrove {
namespace {

// Every line of the help, blanks trimmed, shows in the rendered page; the first missing one otherwise.
std::string MissingLine(std::string_view help, const std::string& rendered)
{
    std::istringstream lines{std::string(help)};
    for (std::string line; std::getline(lines, line);) {
        // The usage line is the page's synopsis, without the word.
        if (line.starts_with("Usage: "))
            line.erase(0, 7);
        const auto begin = line.find_first_not_of(' ');
        if (begin != std::string::npos && rendered.find(line.substr(begin)) == std::string::npos)
            return line;
    }
    return {};
}

TEST(Docs, ManualPagesRenderEveryHelpTheProgramsPrint)
{
    if (test::RunTool({"sh", "-c", "command -v man"}).exitCode != 0)
        GTEST_SKIP() << "man is not installed";
    std::ostringstream overall;
    PrintCliHelp(overall);
    std::vector<std::pair<std::string, std::string>> pages{{"zantrove.1", std::string(kWindowHelp)},
                                                           {"zantrove-cli.1", overall.str()}};
    for (const CliCommand& command : CliCommandTable())
        pages.emplace_back("zantrove-cli.1", std::string(command.help));
    for (const auto& [page, help] : pages) {
        // Plain text, wide enough that no help line is folded; no pager, no locale's quote marks.
        const test::ToolResult man =
            test::RunTool({"env", "LC_ALL=C", "MANWIDTH=200", "MAN_KEEP_FORMATTING=", "man", "-l",
                           ZANTROVE_DOCS_DIR "/" + page});
        ASSERT_EQ(man.exitCode, 0) << page << man.err;
        EXPECT_EQ(man.err, "") << page;
        EXPECT_EQ(MissingLine(help, man.out), "") << page << ":\n" << man.out;
    }
}

// Runs the installed-style completion in a fresh bash for a command line (the cursor at its end,
// after a trailing blank when there is one) and returns the candidates, one per line, sorted.
std::string Complete(const std::string& folder, const std::string& line)
{
    const std::string script =
        "export LC_ALL=C PATH='" ZANTROVE_APP_DIR "':$PATH HOME='" + folder + "' XDG_DATA_HOME='" + folder +
        "'\n"
        "source '" ZANTROVE_DOCS_DIR "/zantrove-cli.bash'\n"
        "read -ra COMP_WORDS <<< \"$1\"; [[ $1 == *' ' ]] && COMP_WORDS+=('')\n"
        "COMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n"
        "_zantrove_cli; ((${#COMPREPLY[@]} == 0)) || printf '%s\\n' \"${COMPREPLY[@]}\" | sort\n";
    const test::ToolResult bash = test::RunTool({"bash", "--norc", "--noprofile", "-c", script, "bash", line},
                                                JoinPath(folder, "videos"));
    EXPECT_EQ(bash.exitCode, 0) << line << bash.err;
    EXPECT_EQ(bash.err, "") << line;
    return bash.out;
}

TEST(Docs, BashCompletionOffersCommandsOptionsDevicesProfilesAndVideoFiles)
{
    const std::string folder = test::MakeTempFolder("completion");
    const std::string videos = JoinPath(folder, "videos");
    std::filesystem::create_directories(JoinPath(videos, "holidays"));
    for (const char* name : {"clip.avi", "CLIP.MKV", "notes.txt", "song.mp3"})
        test::WriteTextFile(JoinPath(videos, name), "");

    // What the program lists, in the order sort gives.
    const auto listed = [](const std::string& arguments) {
        return test::RunTool(
                   {"sh", "-c", ZANTROVE_APP_DIR "/zantrove-cli " + arguments + " | cut -f1 | LC_ALL=C sort"})
            .out;
    };
    const std::string devices = listed("devices");
    const std::string profiles = listed("profiles iPad");
    ASSERT_NE(devices, "");
    ASSERT_NE(profiles, "");
    const std::vector<std::pair<std::string, std::string>> cases{
        {"zantrove-cli pro", "probe\nprofiles\n"},
        {"zantrove-cli --", "--help\n--version\n"},
        {"zantrove-cli convert -", "--\n--device\n--dry-run\n--help\n--itunes\n--null\n--output\n--profile\n"
                                   "--quiet\n--trim\n-0\n-h\n"},
        {"zantrove-cli line --device ", devices},
        {"zantrove-cli profiles ", devices},
        {"zantrove-cli convert --device iPad --profile ", profiles},
        {"zantrove-cli convert --device iPad ", "CLIP.MKV\nclip.avi\nholidays\nsong.mp3\n"},
        {"zantrove-cli probe -- c", "clip.avi\n"},
        {"zantrove-cli convert --output ", "holidays\n"},
        {"zantrove-cli devices ", ""},
    };
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(Complete(folder, line), expected) << line;
}

} // namespace
} // namespace zantrove
