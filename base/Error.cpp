// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Error.h"

#include <cstring>
#include <utility>

namespace zantrove {

Error SystemError(std::string what, int code)
{
    return {std::move(what), std::strerror(code), code};
}

} // namespace zantrove
