// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace zantrove {

// The unfinished file of this run, created here and nowhere else: UnfinishedPath(output), or when
// that name is taken (another run, an earlier attempt) the first free "<output>.<n>.part". A file
// that is already there is never truncated or deleted. Empty when none could be made; error tells why.
std::string ClaimUnfinishedFile(const std::string& output, int& error);

// Gives the finished file its final name unless a file of that name has appeared in the meantime,
// such as the same name finished by a second run. 0 when done, otherwise the errno value (EEXIST
// when the name was taken); the unfinished file is left in place then.
int PublishWithoutReplacing(const std::string& unfinished, const std::string& output);

} // namespace zantrove
