// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zantrove {

// A library that turns a wide path into bytes uses the C library's current character set. A program
// that never called setlocale runs in the "C" locale, where any non-ASCII name fails to convert and
// the file cannot be opened; file names here are UTF-8, so such a call runs under a UTF-8 character
// set for this thread only, for the lifetime of this object.
class Utf8CharacterSetScope
{
public:
    Utf8CharacterSetScope();
    ~Utf8CharacterSetScope();
    Utf8CharacterSetScope(const Utf8CharacterSetScope&) = delete;
    Utf8CharacterSetScope& operator=(const Utf8CharacterSetScope&) = delete;

private:
    // The system's locale handles, kept opaque so this header stays the same on every platform.
    void* m_locale = nullptr;
    void* m_previous = nullptr;
};

} // namespace zantrove
