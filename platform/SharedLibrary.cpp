// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SharedLibrary.h"

#include <dlfcn.h>

namespace zantrove {

SharedLibrary::SharedLibrary(const char* fileName) : m_module(::dlopen(fileName, RTLD_NOW | RTLD_LOCAL)) {}

SharedLibrary::~SharedLibrary()
{
    Unload();
}

void* SharedLibrary::Symbol(const char* name) const
{
    return m_module != nullptr ? ::dlsym(m_module, name) : nullptr;
}

void SharedLibrary::Unload()
{
    if (m_module != nullptr)
        ::dlclose(m_module);
    m_module = nullptr;
}

} // namespace zantrove
