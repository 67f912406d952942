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
    std::vector<Expected<int, SpawnError>> spawned;
    ChildOptions options;
    options.searchPath = true;
    for (const char* name : {"no-such-program", "not-runnable", "plain-script"}) {
        options.argv = {name};
        spawned.push_back(SpawnProcess(options));
    }
    ::setenv("PATH", saved.c_str(), 1);

    ASSERT_FALSE(spawned[0] || spawned[1]);
    EXPECT_TRUE(spawned[0].error().code == ENOENT && spawned[0].error().inChild);
    EXPECT_EQ(spawned[1].error().code, EACCES);
    ASSERT_TRUE(spawned[2]);
    int status = 0;
    ASSERT_EQ(::waitpid(*spawned[2], &status, 0), *spawned[2]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 7);
}

} // namespace
} // namespace zantrove
