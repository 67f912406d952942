// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ChildProcess.h"
#include "tests/support/TestHome.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace zantrove {
namespace {

// The PATH search is laid out before the fork, so the child must answer as execvp would: a missing
// name, a file that may not be run, and a runnable file without "#!" line that the shell runs.
TEST(ChildProcessTest, PathSearchAnswersAsExecvpDoes)
{
    const std::string folder = test::MakeTempFolder("path");
    test::WriteTextFile(folder + "/not-runnable", "exit 0\n");
    test::WriteTextFile(folder + "/plain-script", "exit 7\n");
    std::filesystem::permissions(folder + "/plain-script", std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    const std::string saved = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", ("/nonexistent:" + folder + ":/nonexistent-too").c_str(), 1);
    ChildOptions options;
    options.searchPath = true;
    options.argv = {"no-such-program"};
    const Expected<int, SpawnError> missing = SpawnProcess(options);
    options.argv = {"not-runnable"};
    const Expected<int, SpawnError> denied = SpawnProcess(options);
    options.argv = {"plain-script"};
    const Expected<int, SpawnError> script = SpawnProcess(options);
    ::setenv("PATH", saved.c_str(), 1);

    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ENOENT);
    EXPECT_TRUE(missing.error().inChild);
    ASSERT_FALSE(denied);
    EXPECT_EQ(denied.error().code, EACCES);
    ASSERT_TRUE(script);
    int status = 0;
    ASSERT_EQ(::waitpid(*script, &status, 0), *script);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 7);
}

} // namespace
} // namespace zantrove
