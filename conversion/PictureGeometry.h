// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zantrove {

// Size, pad and crop options that fit a source of sourceSize ("WxH", as displayed) into targetSize
// keeping its proportions: bars above and below for a wider source, a strip of rows cut for a
// slightly narrower one, bars at the sides for a much narrower one. Empty when the source size is 0,
// either size cannot be read, or a scaled size does not fit 16 bits.
std::vector<std::string> FitToTargetSize(std::string_view sourceSize, std::string_view targetSize);

} // namespace zantrove
