// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/TestHome.h"

#include "tests/support/ToolProcess.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zantrove::test {

namespace {
std::string MakeFolder(std::string pattern)
{
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create the temporary folder " + pattern);
    return pattern;
}
} // namespace

TestHome::TestHome() : m_path(MakeFolder(std::filesystem::temp_directory_path() / "zantrove-test-XXXXXX")) {}

TestHome::~TestHome()
{
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::string MakeTempFolder(const std::string& stem)
{
    const char* home = std::getenv("HOME");
    return MakeFolder(std::string(home ? home : "/tmp") + "/" + stem + "-XXXXXX");
}

void WriteTextFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string ReadTextFile(const std::string& path)
{
    // A stream's copy leaves what cannot be read (a folder, a file gone) empty instead of throwing.
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string CaptureShell(const std::string& command)
{
    return RunTool({"/bin/sh", "-c", command}).out;
}

} // namespace zantrove::test
