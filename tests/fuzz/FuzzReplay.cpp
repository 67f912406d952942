// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target without libFuzzer: every file of the corpus folder, then inputs made from them
// by seeded mutations. The ordinary build runs it as a test, so the kept crash inputs and a little
// fresh variety pass through every target on each test run, whatever the compiler.
// Usage: fuzz_replay_<name> <generated inputs> <corpus folder>
#include "platform/RegularFile.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Made before the input is fed: a handler may not allocate. A generated input is made again from
// its number, as the seed is fixed.
std::string g_crashNote;

void OnCrash(int signal)
{
    [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, g_crashNote.data(), g_crashNote.size());
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Pieces the parsers give meaning to; random bytes rarely hit them.
// clang-format off
constexpr std::string_view kTokens[] = {
    "\n", "\r\n", "\r", "=", "[", "]", "|", ":", ".", " ", "-", "time=", "Zantrove.exe",
    "32767", "-32768", "2147483647", "-1", "0", "99999999999999999999", "\xEF\xBB\xBF", "\xF0\x9F\x8E\xAC", "k"};
// clang-format on

void Feed(const std::string& input, const std::string& name)
{
    g_crashNote = "replay: crashed on " + name + "\n";
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

std::string Mutate(const std::vector<std::string>& corpus, std::mt19937& random)
{
    const auto below = [&random](std::size_t n) {
        return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    std::string input = corpus[below(corpus.size())];
    const std::size_t steps = 1 + below(8);
    for (std::size_t step = 0; step < steps; ++step) {
        const std::size_t at = below(input.size() + 1);
        switch (below(6)) {
        case 0: // flip a bit
            if (!input.empty())
                input[std::min(at, input.size() - 1)] ^= static_cast<char>(1u << below(8));
            break;
        case 1: // any byte
            input.insert(at, 1, static_cast<char>(below(256)));
            break;
        case 2: // drop a stretch
            input.erase(at, below(16) + 1);
            break;
        case 3: // repeat a stretch
            input.insert(at, input.substr(at, below(32) + 1));
            break;
        case 4: // a meaningful token
            input.insert(at, kTokens[below(std::size(kTokens))]);
            break;
        default: { // a piece of another input
            const std::string& other = corpus[below(corpus.size())];
            input.insert(at, other.substr(below(other.size() + 1), below(64) + 1));
            break;
        }
        }
    }
    return input.substr(0, 8192);
}

} // namespace

int main(int argc, char** argv)
{
    for (const int signal : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL})
        std::signal(signal, OnCrash);
    std::vector<std::filesystem::path> files;
    if (argc == 3 && std::filesystem::is_directory(argv[2]))
        for (const auto& entry : std::filesystem::directory_iterator(argv[2]))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        std::fprintf(stderr, "usage: %s <generated inputs> <corpus folder, not empty>\n", argv[0]);
        return 2;
    }
    std::vector<std::string> corpus;
    for (const auto& file : files) {
        auto opened = zantrove::RegularFile::Open(file.string());
        if (!opened) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], file.c_str());
            return 2;
        }
        corpus.push_back(opened->ReadAll());
        Feed(corpus.back(), file.string());
    }
    const std::size_t generated = std::strtoul(argv[1], nullptr, 10);
    std::mt19937 random(20240917u);
    for (std::size_t i = 0; i < generated; ++i)
        Feed(Mutate(corpus, random), "generated input " + std::to_string(i + 1));
    std::printf("%zu corpus files and %zu generated inputs passed\n", corpus.size(), generated);
    return 0;
}
