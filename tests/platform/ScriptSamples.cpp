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
    const std::string loop = "long=" + padding + "\ni=0\nwhile [ $i -lt " + std::to_string(lines) +
                             " ]; do\nprintf 'line %s %s\\n' \"$i\" \"$long\"\n"
                             "printf 'frame=%s fps=25 time=%s.25 bitrate=1.0kbits/s\\r' \"$i\" \"$i\"\n"
                             "i=$((i+1))\ndone\n";
    const std::string tail = "printf 'crlf line\\r\\n'\n";
    const std::string last = "printf 'last piece without a line end'\n";
    std::string output = loop;
    for (int i = 0; i < lines; ++i) {
        const std::string n = std::to_string(i);
        output +=
            "line " + n + " " + padding + "\nframe=" + n + " fps=25 time=" + n + ".25 bitrate=1.0kbits/s\r";
    }
    return {WriteScript(folder, "long.sh", loop + tail + last),
            output + tail + "crlf line\r\n" + last + "last piece without a line end"};
}

std::vector<GroupMember> LiveGroupMembers(pid_t group)
{
    std::vector<GroupMember> members;
    DIR* proc = ::opendir("/proc");
    while (const dirent* entry = proc ? ::readdir(proc) : nullptr) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        // pid (name) state ppid pgrp ...; the name may hold blanks and parentheses.
        const std::string stat =
            pid > 0 && *end == '\0' ? ReadTextFile("/proc/" + std::to_string(pid) + "/stat") : "";
        const auto open = stat.find('(');
        const auto close = stat.rfind(')');
        if (open == std::string::npos || close == std::string::npos)
            continue;
        std::istringstream rest(stat.substr(close + 1));
        std::string state;
        long parent = 0;
        long pgrp = 0;
        if (rest >> state >> parent >> pgrp && pgrp == group && state != "Z" && state != "X")
            members.push_back({static_cast<pid_t>(pid), stat.substr(open + 1, close - open - 1)});
    }
    if (proc)
        ::closedir(proc);
    return members;
}

std::string FirstSplitLine(const std::vector<std::string>& pieces)
{
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const std::string& piece = pieces[i];
        std::size_t body = piece.size();
        body -= body > 0 && piece[body - 1] == '\n';
        body -= body > 0 && piece[body - 1] == '\r';
        const std::string which = "piece " + std::to_string(i);
        if (body == piece.size() && i + 1 != pieces.size())
            return which + " ends without a line end: " + piece.substr(0, 80);
        if (piece.empty())
            return which + " is empty";
        if (piece.find_first_of("\r\n") < body)
            return which + " holds more than one line: " + piece.substr(0, 80);
    }
    return {};
}

} // namespace zantrove::test
