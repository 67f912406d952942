// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace zantrove::test {

// A script and the exact console text `/bin/sh -v` gives for it: the echo of every command read,
// followed by that command's own output.
struct SampleScript
{
    std::string path;
    std::string expectedOutput;
};

// Many long lines and progress lines ending in CR, a CR LF line, and a last piece without a line
// end; big enough that the pipe is read in several parts cut in the middle of lines.
SampleScript WriteLongOutputScript(const std::string& folder, int lines = 300);

// Writes `text` as a script file in `folder` and returns its path.
std::string WriteScript(const std::string& folder, const std::string& name, const std::string& text);

struct GroupMember
{
    pid_t pid = 0;
    std::string name;
};
// Processes of the process group that are still alive (ended ones awaiting collection are left out).
std::vector<GroupMember> LiveGroupMembers(pid_t group);

// Every piece holds exactly one line: CR, LF or CR LF only at its end; only the last piece may
// lack a line end. Returns a description of the first offending piece, empty when all are fine.
std::string FirstSplitLine(const std::vector<std::string>& pieces);

} // namespace zantrove::test
