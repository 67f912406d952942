// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Utf8CharacterSetScope.h"

#include <cstring>
#include <initializer_list>
#include <langinfo.h>
#include <locale.h>

namespace zantrove {

Utf8CharacterSetScope::Utf8CharacterSetScope()
{
    const char* codeset = nl_langinfo(CODESET);
    if (codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0)
        return;
    locale_t utf8 = static_cast<locale_t>(0);
    for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
        utf8 = newlocale(LC_CTYPE_MASK, name, static_cast<locale_t>(0));
        if (utf8 != static_cast<locale_t>(0))
            break;
    }
    if (utf8 == static_cast<locale_t>(0))
        return;
    m_locale = utf8;
    m_previous = uselocale(utf8);
}

Utf8CharacterSetScope::~Utf8CharacterSetScope()
{
    if (m_locale == nullptr)
        return;
    uselocale(static_cast<locale_t>(m_previous));
    freelocale(static_cast<locale_t>(m_locale));
}

} // namespace zantrove
