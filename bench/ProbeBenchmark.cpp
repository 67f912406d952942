// SPDX-License-Identifier: GPL-3.0-or-later
// How long probing one file takes through our binding of the media library, against the
// library's own command-line tool asked the same fields. Prints figures; asserts nothing.
#include "BenchSupport.h"
#include "media/MediaProbe.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numeric>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;
using zantrove::bench::Median;
using zantrove::bench::RunCaptured;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool MakeClip(const std::string& arguments, const fs::path& output)
{
    const std::string command =
        "ffmpeg -nostdin -v error -y " + arguments + " '" + output.string() + "' </dev/null >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 && fs::exists(output);
}

// A few kinds of small clips, copied round-robin up to count files.
std::vector<std::string> GenerateClips(const fs::path& folder, int count)
{
    const std::vector<std::pair<std::string, std::string>> kinds{
        {"h264.mp4", "-f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i sine -t 2 -c:v libx264 -preset "
                     "ultrafast -pix_fmt yuv420p -c:a aac"},
        {"mpeg4.avi",
         "-f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i sine -t 2 -c:v mpeg4 -c:a libmp3lame"},
        {"tone.mp3", "-f lavfi -i sine -t 2 -c:a libmp3lame"},
    };
    std::vector<fs::path> originals;
    for (const auto& [name, arguments] : kinds) {
        if (MakeClip(arguments, folder / name))
            originals.push_back(folder / name);
    }
    std::vector<std::string> files;
    for (int i = 0; i < count && !originals.empty(); ++i) {
        const fs::path& original = originals[static_cast<std::size_t>(i) % originals.size()];
        const fs::path copy = folder / ("clip" + std::to_string(i + 1) + original.extension().string());
        std::error_code error;
        fs::copy_file(original, copy, fs::copy_options::overwrite_existing, error);
        if (!error)
            files.push_back(copy.string());
    }
    for (const auto& original : originals)
        fs::remove(original);
    return files;
}

double Mean(const std::vector<double>& values)
{
    return values.empty()
               ? 0
               : std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

// The tool's answer for one file in our fields, to check both ways ask the same thing.
zantrove::ProbeFields FieldsFromTool(const std::string& output)
{
    zantrove::ProbeAnswers answers;
    std::size_t lineStart = 0;
    int line = 0;
    while (lineStart < output.size()) {
        const std::size_t lineEnd = std::min(output.find('\n', lineStart), output.size());
        const std::string text = output.substr(lineStart, lineEnd - lineStart);
        std::vector<std::string> parts;
        std::size_t from = 0;
        for (std::size_t bar; (bar = text.find('|', from)) != std::string::npos; from = bar + 1)
            parts.push_back(text.substr(from, bar - from));
        parts.push_back(text.substr(from));
        if (line == 0 && parts.size() == 2) {
            answers.fileName = parts[0];
            answers.playTime = parts[1];
        } else if (line == 1 && parts.size() == 4) {
            answers.codec = parts[0];
            answers.format = parts[1];
            answers.width = parts[2];
            answers.height = parts[3];
        }
        ++line;
        lineStart = lineEnd + 1;
    }
    return zantrove::ConvertProbeAnswers(answers);
}

bool SameFields(const zantrove::ProbeFields& a, const zantrove::ProbeFields& b)
{
    return a.filename == b.filename && a.codec == b.codec && a.duration == b.duration &&
           a.videoSize == b.videoSize;
}

void Usage()
{
    std::cerr << "Usage: bench_probe [--files N] [--rounds R] [--folder DIR]\n"
                 "  --files N    generate N small clips (default 30)\n"
                 "  --rounds R   probe every file R times each way and keep the median (default 5)\n"
                 "  --folder DIR probe the files in DIR instead of generated clips\n";
}

} // namespace

int main(int argc, char** argv)
{
    int fileCount = 30;
    int rounds = 5;
    std::optional<fs::path> folderArgument;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if ((argument == "--files" || argument == "--rounds" || argument == "--folder") && i + 1 < argc) {
            const std::string value = argv[++i];
            if (argument == "--folder")
                folderArgument = value;
            else
                (argument == "--files" ? fileCount : rounds) = std::max(1, std::atoi(value.c_str()));
        } else {
            Usage();
            return 2;
        }
    }

    zantrove::MediaInfoLibrary& library = zantrove::MediaInfoLibrary::Shared();
    if (!library.IsLoaded()) {
        std::cerr << "bench_probe: libmediainfo.so.0 is not installed\n";
        return 1;
    }

    std::vector<std::string> files;
    fs::path generated;
    if (folderArgument) {
        for (const auto& entry : fs::directory_iterator(*folderArgument)) {
            if (entry.is_regular_file())
                files.push_back(entry.path().string());
        }
        std::sort(files.begin(), files.end());
    } else {
        char pattern[] = "/tmp/zantrove-bench-probe-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            std::cerr << "bench_probe: cannot create a temporary folder\n";
            return 1;
        }
        generated = pattern;
        files = GenerateClips(generated, fileCount);
    }
    if (files.empty()) {
        std::cerr << "bench_probe: no files to probe\n";
        return 1;
    }

    // The tool gets the same fields in one template and the network switched off, as our probe.
    const fs::path templateFile =
        (generated.empty() ? fs::temp_directory_path() : generated) / "probe-fields.txt";
    {
        std::ofstream out(templateFile);
        out << "General;%FileName%|%PlayTime%\\n\nVideo;%Codec%|%Format%|%Width%|%Height%\\n\n";
    }
    const std::string outputOption = "--Output=file://" + templateFile.string();
    const bool haveTool = RunCaptured({"mediainfo", "--Version"}).status == 0;

    // Warm up: the library is loaded once, the files are in the page cache for both ways.
    for (const auto& file : files) {
        zantrove::ProbeMediaFile(file, library);
        if (haveTool)
            RunCaptured({"mediainfo", "--Internet=No", outputOption, file});
    }

    // Each way in its own pass: a process started between two in-process probes would leave the
    // caches cold and charge the binding for the tool's start-up.
    std::vector<zantrove::ProbeFields> ours(files.size());
    std::vector<std::vector<double>> bindingTimes(files.size());
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < files.size(); ++i) {
            const auto start = Clock::now();
            ours[i] = zantrove::ProbeMediaFile(files[i], library);
            bindingTimes[i].push_back(MillisecondsSince(start));
        }
    }
    std::vector<std::string> toolOutputs(files.size());
    std::vector<std::vector<double>> toolTimes(files.size());
    for (int round = 0; round < rounds && haveTool; ++round) {
        for (std::size_t i = 0; i < files.size(); ++i) {
            const auto start = Clock::now();
            toolOutputs[i] = RunCaptured({"mediainfo", "--Internet=No", outputOption, files[i]}).text;
            toolTimes[i].push_back(MillisecondsSince(start));
        }
    }

    std::vector<double> bindingMedians;
    std::vector<double> toolMedians;
    int agreeing = 0;
    std::printf("%-40s %12s %12s %8s  %s\n", "file", "binding ms", "tool ms", "ratio", "same fields");
    for (std::size_t i = 0; i < files.size(); ++i) {
        const double binding = Median(bindingTimes[i]);
        bindingMedians.push_back(binding);
        const std::string name = fs::path(files[i]).filename().string();
        if (haveTool) {
            const double tool = Median(toolTimes[i]);
            toolMedians.push_back(tool);
            const bool same = SameFields(ours[i], FieldsFromTool(toolOutputs[i]));
            agreeing += same ? 1 : 0;
            std::printf("%-40s %12.3f %12.3f %8.1f  %s\n", name.c_str(), binding, tool, tool / binding,
                        same ? "yes" : "no");
        } else {
            std::printf("%-40s %12.3f %12s %8s  %s\n", name.c_str(), binding, "-", "-", "-");
        }
    }

    // The tool once for all files: its start-up paid only once, the best case for it.
    double batchPerFile = 0;
    if (haveTool) {
        std::vector<std::string> arguments{"mediainfo", "--Internet=No", outputOption};
        arguments.insert(arguments.end(), files.begin(), files.end());
        std::vector<double> batchTimes;
        for (int round = 0; round < rounds; ++round) {
            const auto start = Clock::now();
            RunCaptured(arguments);
            batchTimes.push_back(MillisecondsSince(start) / static_cast<double>(files.size()));
        }
        batchPerFile = Median(batchTimes);
    }

    const double binding = Median(bindingMedians);
    std::printf("\nfiles: %zu, rounds: %d\n", files.size(), rounds);
    std::printf(
        "binding (libmediainfo in process, one handle per file): median %.3f ms/file, mean %.3f ms/file\n",
        binding, Mean(bindingMedians));
    if (haveTool) {
        const double tool = Median(toolMedians);
        std::printf(
            "mediainfo tool, one process per file:               median %.3f ms/file, mean %.3f ms/file\n",
            tool, Mean(toolMedians));
        std::printf("mediainfo tool, one process for all files:          %.3f ms/file\n", batchPerFile);
        std::printf("ratio tool per file / binding:     %.1f\n", tool / binding);
        std::printf("ratio tool all files / binding:    %.1f\n", batchPerFile / binding);
        std::printf("TABLE|probe per file: binding vs mediainfo tool (one process)|%.3f ms|%.3f ms|%.3f\n",
                    binding, batchPerFile, binding / batchPerFile);
        std::printf("fields agree on %d of %zu files\n", agreeing, files.size());
    } else {
        std::printf("mediainfo tool not found: binding figures only\n");
    }

    std::error_code error;
    if (!generated.empty())
        fs::remove_all(generated, error);
    else
        fs::remove(templateFile, error);
    return 0;
}
