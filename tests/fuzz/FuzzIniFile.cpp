// SPDX-License-Identifier: GPL-3.0-or-later
// The INI reader and writer over any file content and any names.
// Input: section, key, value, a second section and key, one per line; the rest is the file.
#include "base/TextUtilities.h"
#include "platform/RegularFile.h"
#include "storage/IniFile.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace zantrove;

namespace {
// No INI value can hold a line break, so this default never comes out of a file.
constexpr std::string_view kAbsent = "\nabsent";
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzInput input(data, size);
    const std::string_view section = input.Line();
    const std::string_view key = input.Line();
    const std::string_view value = input.Line();
    const std::string_view otherSection = input.Line();
    const std::string_view otherKey = input.Line();
    const std::string_view content = input.Rest();

    const std::string file = fuzz::ScratchFolder() + "/settings.ini";
    fuzz::WriteFile(file, content);

    const std::string read = ReadIniValue(section, key, kAbsent, file);
    if (read != kAbsent) {
        ZANTROVE_FUZZ_CHECK(Utf8Length(read) <= kIniValueMaxChars);
        ZANTROVE_FUZZ_CHECK(read.find('\n') == std::string::npos);
        ZANTROVE_FUZZ_CHECK(TrimBlanks(read).size() == read.size() || Utf8Length(read) == kIniValueMaxChars);
    }
    const std::string number = ReadIniValue(section, key, static_cast<long long>(content.size()), file);
    ZANTROVE_FUZZ_CHECK(read != kAbsent || number == std::to_string(content.size()));

    const std::string otherBefore = ReadIniValue(otherSection, otherKey, kAbsent, file);
    if (!WriteIniValue(section, key, value, file)) {
        ZANTROVE_FUZZ_CHECK(RegularFile::Open(file)->ReadAll() == content);
        return 0;
    }
    // What was written reads back, blanks at its ends removed and cut as every read is.
    ZANTROVE_FUZZ_CHECK(ReadIniValue(section, key, kAbsent, file) ==
                        Utf8Prefix(TrimBlanks(value), kIniValueMaxChars));
    // Every other key keeps its value.
    if (!(EqualsIgnoringCase(TrimBlanks(otherSection), TrimBlanks(section)) &&
          EqualsIgnoringCase(TrimBlanks(otherKey), TrimBlanks(key))))
        ZANTROVE_FUZZ_CHECK(ReadIniValue(otherSection, otherKey, kAbsent, file) == otherBefore);
    return 0;
}
