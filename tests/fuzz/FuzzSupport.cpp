// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace zantrove::fuzz {

std::string_view FuzzInput::Line(char end)
{
    const std::size_t at = m_rest.find(end);
    const std::string_view line = m_rest.substr(0, at);
    m_rest.remove_prefix(at == std::string_view::npos ? m_rest.size() : at + 1);
    return line;
}

const std::string& ScratchFolder()
{
    // Removed when the process ends normally; a crash keeps what the target wrote.
    static const struct Scratch
    {
        std::string path = [] {
            std::string pattern = (std::filesystem::temp_directory_path() / "zantrove-fuzz-XXXXXX").string();
            if (!::mkdtemp(pattern.data()))
                Fail("mkdtemp", __FILE__, __LINE__);
            return pattern;
        }();
        ~Scratch()
        {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    } scratch;
    return scratch.path;
}

void WriteFile(const std::string& path, std::string_view content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.write(content.data(), static_cast<std::streamsize>(content.size())).flush())
        Fail("the file is written", path.c_str(), 0);
}

void Fail(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: broken: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

} // namespace zantrove::fuzz
