// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zantrove {

// A library loaded at run time, so the program also starts on a machine without it.
class SharedLibrary
{
public:
    // Loads the named library; a missing or unloadable file leaves the object unloaded.
    explicit SharedLibrary(const char* fileName);
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    bool IsLoaded() const { return m_module != nullptr; }
    // The address of an exported name; nullptr when it is absent or nothing is loaded.
    void* Symbol(const char* name) const;
    // Lets go of the library before the object ends.
    void Unload();

private:
    void* m_module = nullptr;
};

} // namespace zantrove
