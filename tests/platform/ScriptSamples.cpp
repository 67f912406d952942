// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/platform/ScriptSamples.h"

#include "tests/support/TestHome.h"

#include <cstdlib>
#include <dirent.h>
#include <sstream>

namespace zantrove::test {

std::string WriteScript(const std::string& folder, const std::string& name, const std::string& text)
{
    WriteTextFile(folder + "/" + name, text);
    return folder + "/" + name;
}

SampleScript WriteLongOutputScript(const std::string& folder, int lines)
{
    const std::string padding(3000, 'x');
    std::string script = "long=" + padding + "\ni=0\nwhile [ $i -lt " + std::to_string(lines) +
                         " ]; do\nprintf 'line %s %s\\n' \"$i\" \"$long\"\n"
                         "printf 'frame=%s fps=25 time=%s.25 bitrate=1.0kbits/s\\r' \"$i\" \"$i\"\n"
                         "i=$((i+1))\ndone\n";
    std::string output = script;
    for (int i = 0; i < lines; ++i) {
        const std::string n = std::to_string(i);
        output +=
            "line " + n + " " + padding + "\nframe=" + n + " fps=25 time=" + n + ".25 bitrate=1.0kbits/s\r";
    }
    const std::string tail = "printf 'crlf line\\r\\n'\nprintf 'last piece'\n";
    return {WriteScript(folder, "long.sh", script + tail),
            output + "printf 'crlf line\\r\\n'\ncrlf line\r\nprintf 'last piece'\nlast piece"};
}

std::vector<GroupMember> LiveGroupMembers(pid_t group)
{
    std::vector<GroupMember> members;
    DIR* proc = ::opendir("/proc");
    while (const dirent* entry = proc ? ::readdir(proc) : nullptr) {
        // pid (name) state ppid pgrp ...; the name may hold blanks and parentheses.
        const std::string stat = ReadTextFile("/proc/" + std::string(entry->d_name) + "/stat");
        const auto open = stat.find('(');
        const auto close = stat.rfind(')');
        std::istringstream rest(close == std::string::npos ? "" : stat.substr(close + 1));
        char state = 0;
        long parent = 0, pgrp = 0;
        if (std::atol(entry->d_name) > 0 && rest >> state >> parent >> pgrp && pgrp == group &&
            state != 'Z' && state != 'X')
            members.push_back(
                {static_cast<pid_t>(std::atol(entry->d_name)), stat.substr(open + 1, close - open - 1)});
    }
    if (proc)
        ::closedir(proc);
    return members;
}

std::string FirstSplitLine(const std::vector<std::string>& pieces)
{
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const std::string& piece = pieces[i];
        const std::size_t end = piece.find_first_of("\r\n");
        const std::size_t body =
            piece.ends_with("\r\n") ? piece.size() - 2 : piece.size() - (end != piece.npos);
        if (piece.empty() || (end == piece.npos && i + 1 != pieces.size()) ||
            (end != piece.npos && end != body))
            return "piece " + std::to_string(i) + " is not one whole line: " + piece.substr(0, 80);
    }
    return {};
}

} // namespace zantrove::test
