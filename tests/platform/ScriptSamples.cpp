// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/platform/ScriptSamples.h"

#include "tests/support/TestHome.h"

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>

namespace zantrove::test {

std::string WriteScript(const std::string& folder, const std::string& name, const std::string& text)
{
    const std::string path = folder + "/" + name;
    WriteTextFile(path, text);
    return path;
}

SampleScript WriteLongOutputScript(const std::string& folder, int lines)
{
    const std::string padding(3000, 'x');
    const std::string header = "long=" + padding + "\n" + "i=0\n";
    const std::string loop = "while [ $i -lt " + std::to_string(lines) +
                             " ]; do\n"
                             "printf 'line %s %s\\n' \"$i\" \"$long\"\n"
                             "printf 'frame=%s fps=25 time=%s.25 bitrate=1.0kbits/s\\r' \"$i\" \"$i\"\n"
                             "i=$((i+1))\n"
                             "done\n";
    const std::string tail = "printf 'crlf line\\r\\n'\n"
                             "printf 'last piece without a line end'\n";

    std::string loopOutput;
    for (int i = 0; i < lines; ++i) {
        const std::string n = std::to_string(i);
        loopOutput += "line " + n + " " + padding + "\n";
        loopOutput += "frame=" + n + " fps=25 time=" + n + ".25 bitrate=1.0kbits/s\r";
    }
    SampleScript sample;
    sample.path = WriteScript(folder, "long.sh", header + loop + tail);
    sample.expectedOutput = header + loop + loopOutput + "printf 'crlf line\\r\\n'\n" + "crlf line\r\n" +
                            "printf 'last piece without a line end'\n" + "last piece without a line end";
    return sample;
}

std::vector<GroupMember> LiveGroupMembers(pid_t group)
{
    std::vector<GroupMember> members;
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return members;
    while (const dirent* entry = ::readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0')
            continue;
        std::ifstream statFile(std::string("/proc/") + entry->d_name + "/stat");
        std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
        // pid (name) state ppid pgrp ...; the name may hold blanks and parentheses.
        const auto open = stat.find('(');
        const auto close = stat.rfind(')');
        if (open == std::string::npos || close == std::string::npos)
            continue;
        std::istringstream rest(stat.substr(close + 1));
        std::string state;
        long parent = 0;
        long pgrp = 0;
        rest >> state >> parent >> pgrp;
        if (pgrp != group || state == "Z" || state == "X")
            continue;
        members.push_back({static_cast<pid_t>(pid), stat.substr(open + 1, close - open - 1)});
    }
    ::closedir(proc);
    return members;
}

std::string FirstSplitLine(const std::vector<std::string>& pieces)
{
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const std::string& piece = pieces[i];
        std::size_t body = piece.size();
        if (body > 0 && piece[body - 1] == '\n')
            --body;
        if (body > 0 && piece[body - 1] == '\r')
            --body;
        const bool last = i + 1 == pieces.size();
        if (body == piece.size() && !last)
            return "piece " + std::to_string(i) + " ends without a line end: " + piece.substr(0, 80);
        if (piece.empty())
            return "piece " + std::to_string(i) + " is empty";
        if (piece.find_first_of("\r\n") < body)
            return "piece " + std::to_string(i) + " holds more than one line: " + piece.substr(0, 80);
    }
    return {};
}

} // namespace zantrove::test
