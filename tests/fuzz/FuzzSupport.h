// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

// Every target defines this one entry; libFuzzer calls it, and so does the replay program.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace zantrove::fuzz {

// Cuts the fuzzer's bytes into the pieces a target needs. The pieces are lines, so the seed inputs
// stay readable text.
class FuzzInput
{
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_rest(reinterpret_cast<const char*>(data), size)
    {
    }
    explicit FuzzInput(std::string_view text) : m_rest(text) {}

    bool Empty() const { return m_rest.empty(); }
    // Up to the next end, which is dropped; everything left when there is none.
    std::string_view Line(char end = '\n');
    // Everything not taken yet.
    std::string_view Rest() { return std::exchange(m_rest, {}); }

private:
    std::string_view m_rest;
};

// A folder of this process for the files a target writes.
const std::string& ScratchFolder();
void WriteFile(const std::string& path, std::string_view content);

// Reports a broken promise and aborts, which both libFuzzer and the replay count as a crash.
[[noreturn]] void Fail(const char* condition, const char* file, int line);

} // namespace zantrove::fuzz

#define ZANTROVE_FUZZ_CHECK(condition)                                                                       \
    ((condition) ? void() : ::zantrove::fuzz::Fail(#condition, __FILE__, __LINE__))
