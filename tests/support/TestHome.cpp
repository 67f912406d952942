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
std::string MakeHome()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "zantrove-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary home");
    return pattern;
}
} // namespace

TestHome::TestHome() : m_path(MakeHome()) {}

TestHome::~TestHome()
{
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::string MakeTempFolder(const std::string& stem)
{
    const char* home = std::getenv("HOME");
    std::string pattern = std::string(home ? home : "/tmp") + "/" + stem + "-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    return pattern;
}

void WriteTextFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string ReadTextFile(const std::string& path)
{
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
