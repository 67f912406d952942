// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Error.h"
#include "base/Expected.h"

#include <string>

namespace zantrove {

// Makes target a copy of source unless it already is one (same size and modification time). The copy
// goes through a temporary name of its own and keeps the source's mode and time, so a half-copied
// file (a full disk) is never used, two programs copying at once never write into one file, and the
// next comparison finds the copy identical. Succeeds when target is there afterwards: copied, already
// the same, or, without a source, as it was. The error names the source that could not be read or the
// target that could not be written.
[[nodiscard]] Expected<void, Error> RefreshCopy(const std::string& source, const std::string& target);

} // namespace zantrove
