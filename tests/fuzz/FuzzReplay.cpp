// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target without libFuzzer: every file of the given corpus folders, then inputs made from
// them by seeded mutations. The ordinary build runs it as a test, so the kept crash inputs and a
// little fresh variety pass through every target on each test run, whatever the compiler.
#include "platform/RegularFile.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The input being fed and what a crash says of it, made beforehand: a handler may not allocate.
const std::string* g_current = nullptr;
std::string g_crashNote;
constexpr const char* kFailedInputFile = "fuzz-replay-failed-input";

void OnCrash(int signal)
{
    if (g_current) {
        [[maybe_unused]] ssize_t ignored = ::write(STDERR_FILENO, g_crashNote.data(), g_crashNote.size());
        const int fd = ::open(kFailedInputFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            ignored = ::write(fd, g_current->data(), g_current->size());
            ::close(fd);
        }
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

using Bytes = std::string;

// Pieces the parsers give meaning to; random bytes rarely hit them.
// clang-format off
constexpr std::string_view kTokens[] = {
    "\n", "\r\n", "\r", "=", "[", "]", "|", ":", ".", " ", "-", "time=", "Zantrove.exe",
    "32767", "-32768", "2147483647", "-1", "0", "99999999999999999999", "\xEF\xBB\xBF", "\xF0\x9F\x8E\xAC", "k"};
// clang-format on

void Feed(const Bytes& input, const std::string& name)
{
    g_crashNote = "replay: crashed on " + name + "; its bytes are in ./" + kFailedInputFile + "\n";
    g_current = &input;
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

Bytes Mutate(const std::vector<Bytes>& corpus, std::mt19937& random)
{
    const auto below = [&random](std::size_t n) {
        return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    Bytes input = corpus.empty() ? Bytes() : corpus[below(corpus.size())];
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
        default: // a piece of another input
            if (!corpus.empty()) {
                const Bytes& other = corpus[below(corpus.size())];
                const std::size_t from = below(other.size() + 1);
                input.insert(at, other.substr(from, below(64) + 1));
            }
            break;
        }
    }
    return input.size() > 8192 ? input.substr(0, 8192) : input;
}

} // namespace

int main(int argc, char** argv)
{
    for (const int signal : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL})
        std::signal(signal, OnCrash);
    std::size_t generated = 400;
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--generated" && i + 1 < argc) {
            generated = std::strtoul(argv[++i], nullptr, 10);
        } else if (std::filesystem::is_directory(argument)) {
            for (const auto& entry : std::filesystem::directory_iterator(argument))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
        } else {
            files.emplace_back(argument);
        }
    }
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        std::fprintf(stderr, "%s: no corpus files given\n", argv[0]);
        return 2;
    }

    std::vector<Bytes> corpus;
    for (const auto& file : files) {
        auto opened = zantrove::RegularFile::Open(file.string());
        if (!opened) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], file.c_str());
            return 2;
        }
        corpus.push_back(opened->ReadAll());
        Feed(corpus.back(), file.string());
    }
    std::mt19937 random(20240917u);
    for (std::size_t i = 0; i < generated; ++i) {
        const Bytes input = Mutate(corpus, random);
        Feed(input, "generated input " + std::to_string(i + 1));
    }
    std::printf("%zu corpus files and %zu generated inputs passed\n", corpus.size(), generated);
    return 0;
}
