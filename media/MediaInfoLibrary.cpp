// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/MediaInfoLibrary.h"

#include "platform/RegularFile.h"
#include "platform/Utf8CharacterSetScope.h"

#include <cstdint>
#include <cwchar>

namespace zantrove {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsValidCodePoint(char32_t c)
{
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (!IsValidCodePoint(c))
        c = kReplacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendWide(std::wstring& out, char32_t c)
{
    if constexpr (sizeof(wchar_t) == 2) {
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (c >> 10));
            out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(c);
}

// Decodes one UTF-8 sequence at text[pos]; advances pos. A malformed lead or tail byte yields U+FFFD
// and consumes one byte, so decoding always moves on.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        c = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        c = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        c = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    if (pos + length > text.size()) {
        ++pos;
        return kReplacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) {
            ++pos;
            return kReplacement;
        }
        c = (c << 6) | (byte(pos + i) & 0x3F);
    }
    if (c < minimum || !IsValidCodePoint(c)) {
        ++pos;
        return kReplacement;
    }
    pos += length;
    return c;
}

template <typename Function> Function Symbol(const SharedLibrary& library, const char* name)
{
    return reinterpret_cast<Function>(library.Symbol(name));
}

} // namespace

std::string StringFromWidePointer(const wchar_t* pointer)
{
    std::string out;
    if (pointer == nullptr)
        return out;
    const std::size_t length = std::wcslen(pointer);
    out.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        char32_t c = static_cast<char32_t>(pointer[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length) {
                const auto low = static_cast<char32_t>(pointer[i + 1]);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::wstring WideFromUtf8(std::string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size())
        AppendWide(out, DecodeUtf8(text, pos));
    return out;
}

MediaInfoLibrary::MediaInfoLibrary(const char* fileName) : m_library(fileName)
{
    if (!m_library.IsLoaded())
        return;
    m_new = Symbol<NewFunction>(m_library, "MediaInfo_New");
    m_delete = Symbol<DeleteFunction>(m_library, "MediaInfo_Delete");
    m_open = Symbol<OpenFunction>(m_library, "MediaInfo_Open");
    m_close = Symbol<CloseFunction>(m_library, "MediaInfo_Close");
    m_inform = Symbol<InformFunction>(m_library, "MediaInfo_Inform");
    m_option = Symbol<OptionFunction>(m_library, "MediaInfo_Option");
    if (!m_new || !m_delete || !m_open || !m_close || !m_inform || !m_option) {
        // A library without the whole interface counts as missing: half a binding is worse.
        m_library.Unload();
        m_new = nullptr;
        m_delete = nullptr;
        m_open = nullptr;
        m_close = nullptr;
        m_inform = nullptr;
        m_option = nullptr;
    }
}

MediaInfoLibrary::~MediaInfoLibrary() = default;

MediaInfoLibrary& MediaInfoLibrary::Shared()
{
    // Never destroyed: probes may still run from other static destructors at exit.
    static auto* library = new MediaInfoLibrary();
    return *library;
}

MediaLibrary::Handle MediaInfoLibrary::New()
{
    return IsLoaded() ? m_new() : nullptr;
}

void MediaInfoLibrary::Option(Handle handle, std::string_view name, std::string_view value)
{
    // A null handle would set the library's process-wide options instead.
    if (!IsLoaded() || handle == nullptr)
        return;
    const std::wstring wideName = WideFromUtf8(name);
    const std::wstring wideValue = WideFromUtf8(value);
    m_option(handle, wideName.c_str(), wideValue.c_str());
}

bool MediaInfoLibrary::Open(Handle handle, const std::string& path)
{
    if (!IsLoaded() || handle == nullptr)
        return false;
    // A wide path cannot carry every name (a Latin-1 byte in a UTF-8 system), so a regular file is
    // opened here by its own bytes and the library reads it through this process's descriptor.
    if (const auto file = RegularFile::Open(path)) {
        if (const std::string link = file->OpenPath(); !link.empty()) {
            const std::wstring wideLink = WideFromUtf8(link);
            return m_open(handle, wideLink.c_str()) != 0;
        }
    }
    const std::wstring widePath = WideFromUtf8(path);
    Utf8CharacterSetScope utf8;
    return m_open(handle, widePath.c_str()) != 0;
}

std::string MediaInfoLibrary::Inform(Handle handle)
{
    if (!IsLoaded() || handle == nullptr)
        return {};
    return StringFromWidePointer(m_inform(handle, 0));
}

void MediaInfoLibrary::Close(Handle handle)
{
    if (IsLoaded() && handle != nullptr)
        m_close(handle);
}

void MediaInfoLibrary::Delete(Handle handle)
{
    if (IsLoaded() && handle != nullptr)
        m_delete(handle);
}

} // namespace zantrove
