// SPDX-License-Identifier: GPL-3.0-or-later
// The manual pages made at build time, read as man reads them.
#include "app/WindowHelp.h"
#include "cli/CliCommands.h"
#include "tests/support/ToolProcess.h"

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

} // namespace
} // namespace zantrove
