// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SharedLibrary.h"

#include <string>
#include <string_view>

namespace zantrove {

// The handful of media-library calls the probe makes, behind an interface so the probe's order of
// calls can be checked without the real library. Every call with a null handle fails quietly.
class MediaLibrary
{
public:
    using Handle = void*;

    virtual ~MediaLibrary() = default;

    // A fresh handle, or nullptr when the library is not available.
    virtual Handle New() = 0;
    virtual void Option(Handle handle, std::string_view name, std::string_view value) = 0;
    // True when the library could parse the file.
    virtual bool Open(Handle handle, const std::string& path) = 0;
    // The text the current "Inform" template gives; empty when there is nothing or on failure.
    virtual std::string Inform(Handle handle) = 0;
    virtual void Close(Handle handle) = 0;
    virtual void Delete(Handle handle) = 0;
};

// libmediainfo's C interface, loaded at run time so a machine without it still runs the program
// (every call then fails and the probe gives its fallback values).
class MediaInfoLibrary final : public MediaLibrary
{
public:
    static constexpr const char* kDefaultFileName = "libmediainfo.so.0";

    // Loads the named library; a missing file or symbol leaves the object unloaded.
    explicit MediaInfoLibrary(const char* fileName = kDefaultFileName);
    ~MediaInfoLibrary() override;
    MediaInfoLibrary(const MediaInfoLibrary&) = delete;
    MediaInfoLibrary& operator=(const MediaInfoLibrary&) = delete;

    // The process-wide instance: loaded on first use and kept loaded, as loading per file is slow.
    static MediaInfoLibrary& Shared();

    bool IsLoaded() const { return m_library.IsLoaded(); }

    Handle New() override;
    void Option(Handle handle, std::string_view name, std::string_view value) override;
    bool Open(Handle handle, const std::string& path) override;
    std::string Inform(Handle handle) override;
    void Close(Handle handle) override;
    void Delete(Handle handle) override;

private:
    using NewFunction = void* (*)();
    using DeleteFunction = void (*)(void*);
    using OpenFunction = std::size_t (*)(void*, const wchar_t*);
    using CloseFunction = void (*)(void*);
    using InformFunction = const wchar_t* (*)(void*, std::size_t);
    using OptionFunction = const wchar_t* (*)(void*, const wchar_t*, const wchar_t*);

    SharedLibrary m_library;
    NewFunction m_new = nullptr;
    DeleteFunction m_delete = nullptr;
    OpenFunction m_open = nullptr;
    CloseFunction m_close = nullptr;
    InformFunction m_inform = nullptr;
    OptionFunction m_option = nullptr;
};

// Copies a NUL-terminated wide answer of the library into UTF-8 at once (the library reuses its
// buffer on the next call). nullptr gives the empty text; invalid code points become U+FFFD.
std::string StringFromWidePointer(const wchar_t* pointer);

// UTF-8 to the library's wide strings (UTF-32 here, UTF-16 where wchar_t is 16 bits). Malformed
// bytes become U+FFFD.
std::wstring WideFromUtf8(std::string_view text);

} // namespace zantrove
