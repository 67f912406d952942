// SPDX-License-Identifier: GPL-3.0-or-later
// The whole conversion pipeline (probe, script, launcher, encoder component, progress parsing) on
// a batch of small clips, against a plain shell loop running ffmpeg with the same options.
#include "BenchSupport.h"
#include "cli/Cli.h"
#include "cli/CliConversionOptions.h"
#include "conversion/EncoderArguments.h"
#include "conversion/ShellWords.h"
#include "devices/ProfileFile.h"
#include "tools/encoder/EncoderOptions.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {
namespace fs = std::filesystem;
using Steady = std::chrono::steady_clock;
using zantrove::bench::Median;

double Seconds(const std::string& command)
{
    const auto start = Steady::now();
    if (std::system(command.c_str()) != 0)
        std::cerr << "bench_batch: failed: " << command << '\n';
    return std::chrono::duration<double>(Steady::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    const int files = argc > 1 ? std::max(1, std::atoi(argv[1])) : 6;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const fs::path work = fs::temp_directory_path() / ("zantrove-bench-batch-" + std::to_string(::getpid()));
    fs::create_directories(work / "home");
    ::setenv("HOME", (work / "home").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (work / "home" / "data").c_str(), 1);

    std::vector<std::string> clips;
    for (int i = 0; i < files; ++i) {
        const std::string clip = (work / ("clip" + std::to_string(i) + ".mp4")).string();
        Seconds("ffmpeg -v error -f lavfi -i testsrc2=size=640x360:rate=30 -f lavfi -i "
                "sine=sample_rate=48000 -t 4 "
                "-c:v libx264 -preset ultrafast -c:a aac -y '" +
                clip + "'");
        clips.push_back(clip);
    }

    // The encoder lines the run builds, turned into the ffmpeg calls the component makes.
    std::ostringstream sink;
    zantrove::CliContext context{sink, sink, ZANTROVE_APP_DIR};
    zantrove::CliConversionOptions options;
    options.device = "iPhone";
    options.output = (work / "plain").string();
    options.files = clips;
    const auto session = zantrove::SetUpCliConversion(options, context);
    if (!session)
        return 1;
    const zantrove::EncodingSettingsModel& settings = (*session)->Settings();
    const auto lines = zantrove::BuildEncoderLines(
        (*session)->Rows().Rows(), zantrove::TakeEncoderSettings(settings, options.output),
        zantrove::ProfileFileLookup(settings.ProfileFile()), [](const std::string&) { return false; });
    std::string script;
    for (const auto& line : lines) {
        std::vector<std::string> arguments;
        for (const auto& argument : line.arguments)
            arguments.push_back(argument.text);
        const auto parsed = zantrove::ParseEncoderArguments(arguments);
        if (!parsed)
            return 1;
        script += "ffmpeg";
        for (const std::string& argument : zantrove::BuildFfmpegArguments(*parsed))
            script += ' ' + zantrove::ShellQuote(argument);
        script += " </dev/null\n";
    }
    const std::string loop = (work / "plain.sh").string();
    std::ofstream(loop) << script;

    std::string clipList;
    for (const std::string& clip : clips)
        clipList += " '" + clip + "'";
    std::vector<double> pipeline, plain;
    for (int run = 0; run < runs; ++run) {
        fs::remove_all(work / "out");
        fs::remove_all(work / "plain");
        fs::create_directories(work / "plain");
        pipeline.push_back(Seconds(std::string(ZANTROVE_APP_DIR) +
                                   "/zantrove-cli convert --device iPhone --output '" +
                                   (work / "out").string() + "'" + clipList + " >/dev/null 2>&1"));
        plain.push_back(Seconds("sh '" + loop + "' >/dev/null 2>&1"));
    }
    const double a = Median(pipeline);
    const double b = Median(plain);
    std::cout << "batch of " << files << " clips (4 s, 640x360 -> iPhone default), median of " << runs
              << " runs\n"
              << "  zantrove-cli convert  " << a << " s\n"
              << "  shell loop of ffmpeg  " << b << " s\n"
              << "  ratio                 " << a / b << "  (overhead " << (a / b - 1) * 100 << " %)\n"
              << "TABLE|batch of " << files << " clips: pipeline vs shell loop of ffmpeg|" << a << " s|" << b
              << " s|" << a / b << "\n";
    fs::remove_all(work);
    return 0;
}
