// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace zantrove::fuzz {

std::string_view FuzzInput::Line(char end)
{
    const std::size_t at = m_rest.find(end);
    const std::string_view line = m_rest.substr(0, at);
    m_rest.remove_prefix(at == std::string_view::npos ? m_rest.size() : at + 1);
    return line;
}

std::string_view FuzzInput::Rest()
{
    const std::string_view rest = m_rest;
    m_rest = {};
    return rest;
}

namespace {
std::string g_scratch;

void RemoveScratch()
{
    std::error_code ignored;
    std::filesystem::remove_all(g_scratch, ignored);
}
} // namespace

const std::string& ScratchFolder()
{
    if (g_scratch.empty()) {
        const char* temporary = std::getenv("TMPDIR");
        std::string pattern =
            std::string(temporary && *temporary ? temporary : "/tmp") + "/zantrove-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        g_scratch = pattern;
        std::atexit(RemoveScratch);
    }
    return g_scratch;
}

void WriteFile(const std::string& path, std::string_view content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out.flush()) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::abort();
    }
}

void Fail(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: broken: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

} // namespace zantrove::fuzz
