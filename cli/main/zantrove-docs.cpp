// SPDX-License-Identifier: GPL-3.0-or-later
// Build-time tool: writes the manual pages from the help texts the programs print, and the bash
// completion with the add dialog's file types, so neither can drift from the programs.
#include "app/WindowHelp.h"
#include "base/Version.h"
#include "cli/CliCommands.h"
#include "media/AddFilesFlow.h"

#include <cctype>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

// roff reads a backslash as an escape, a line-leading dot or quote as a request, and '-' as a hyphen.
std::string Escaped(std::string_view text)
{
    std::string out;
    bool lineStart = true;
    for (const char c : text) {
        if (lineStart && (c == '.' || c == '\''))
            out += "\\&";
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
        lineStart = c == '\n';
    }
    return out;
}

// A help text as printed, line for line.
std::string Verbatim(std::string_view text)
{
    return ".nf\n" + Escaped(text) + (text.ends_with('\n') ? "" : "\n") + ".fi\n";
}

std::string_view FirstLine(std::string_view text)
{
    return text.substr(0, text.find('\n'));
}

std::string_view AfterFirstLine(std::string_view text)
{
    const auto end = text.find('\n');
    return end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
}

std::string Header(std::string_view name, std::string_view what)
{
    std::string upper(name);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ".TH " + upper + " 1 \"\" \"Zantrove " + std::string(zantrove::kVersion) +
           "\" \"User Commands\"\n" + ".SH NAME\n" + Escaped(name) + " \\- " + Escaped(what) + "\n";
}

std::string WindowPage()
{
    const std::string_view help = zantrove::kWindowHelp;
    return Header("zantrove", "convert video files for Apple portable devices") + ".SH SYNOPSIS\n" +
           Verbatim(FirstLine(help).substr(std::string_view("Usage: ").size())) + ".SH DESCRIPTION\n" +
           Verbatim(AfterFirstLine(help)) + ".SH SEE ALSO\n" + Escaped("zantrove-cli") + "(1)\n";
}

std::string CliPage()
{
    std::ostringstream overall;
    zantrove::PrintCliHelp(overall);
    const std::string help = overall.str();
    std::string synopsis(FirstLine(help).substr(std::string_view("Usage: ").size()));
    std::string commands;
    for (const zantrove::CliCommand& command : zantrove::CliCommandTable()) {
        synopsis += "\n" + std::string(FirstLine(command.help).substr(std::string_view("Usage: ").size()));
        commands += ".SS " + Escaped(command.name) + "\n" + Verbatim(command.help);
    }
    return Header("zantrove-cli", "convert video files for Apple portable devices from a terminal") +
           ".SH SYNOPSIS\n" + Verbatim(synopsis) + ".SH DESCRIPTION\n" + Verbatim(AfterFirstLine(help)) +
           ".SH COMMANDS\n" + commands + ".SH SEE ALSO\n" + Escaped("zantrove") + "(1)\n";
}

// "*.mp3 *.avi" as "mp3|MP3|avi|AVI", for an extglob pattern; the catch-all "*" is no type.
std::string ExtensionAlternatives()
{
    std::istringstream patterns{std::string(zantrove::kAddFilesFilters.front().patterns)};
    std::string alternatives;
    for (auto it = std::istream_iterator<std::string>(patterns); it != std::istream_iterator<std::string>();
         ++it)
        if (it->starts_with("*.")) {
            std::string upper = it->substr(2);
            for (char& c : upper)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            alternatives += (alternatives.empty() ? "" : "|") + it->substr(2) + "|" + upper;
        }
    return alternatives;
}

bool Write(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out)
        std::cerr << "zantrove-docs: cannot write " << path << '\n';
    return static_cast<bool>(out);
}

} // namespace

// zantrove-docs OUTDIR COMPLETION_TEMPLATE
int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: zantrove-docs OUTDIR COMPLETION_TEMPLATE\n";
        return 2;
    }
    const std::string folder = argv[1];
    std::ifstream in(argv[2], std::ios::binary);
    std::string completion{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string marker = "@VIDEO_EXTENSIONS@";
    const auto at = completion.find(marker);
    // A template that cannot be read reads as empty, without the marker.
    if (at == std::string::npos) {
        std::cerr << "zantrove-docs: " << argv[2] << " has no " << marker << '\n';
        return 1;
    }
    completion.replace(at, marker.size(), ExtensionAlternatives());
    const bool written = Write(folder + "/zantrove.1", WindowPage()) &&
                         Write(folder + "/zantrove-cli.1", CliPage()) &&
                         Write(folder + "/zantrove-cli.bash", completion);
    return written ? 0 : 1;
}
