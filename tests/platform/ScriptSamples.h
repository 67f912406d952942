// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace zantrove::test {

// A script and the exact console text `/bin/sh -v` gives for it (each command's echo, then its output).
struct SampleScript
{
    std::string path;
    std::string expectedOutput;
};

// Long lines and CR-ended progress lines, a CR LF line and a last piece without a line end: big
// enough that the pipe is read in parts cut in the middle of lines.
SampleScript WriteLongOutputScript(const std::string& folder, int lines = 300);

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
