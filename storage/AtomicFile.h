// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Error.h"
#include "base/Expected.h"

#include <string>
#include <string_view>

namespace zantrove {

// Writes content to a temporary file beside path and renames it over path, so readers see either
// the old or the new file, never a part. A link is followed, so the file it points at is replaced.
// The old file's permissions are kept. On failure path is untouched and the error names it.
[[nodiscard]] Expected<void, Error> WriteFileAtomically(const std::string& path, std::string_view content);

// Gives the owner write permission back, so a write-protected file can be replaced.
void ClearReadOnly(const std::string& path);

} // namespace zantrove
