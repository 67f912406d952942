// SPDX-License-Identifier: GPL-3.0-or-later
// What the encoder front end costs on top of ffmpeg: one clip converted through the component and
// by ffmpeg called directly with the options the component would give it. Prints figures only.
#include "BenchSupport.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using zantrove::bench::Median;
using zantrove::bench::RunQuiet;

void Usage()
{
    std::cerr << "Usage: bench_encode [--runs N] [--seconds S] [--encoder PATH]\n"
                 "  --runs N       convert N times each way and keep the median (default 3)\n"
                 "  --seconds S    length of the generated 640x480 clip (default 10)\n"
                 "  --encoder PATH the component to measure (default: the build's Components/Zantrove.dll)\n";
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 3;
    int seconds = 10;
    std::string encoder = ZANTROVE_APP_DIR "/Components/Zantrove.dll";
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if ((argument == "--runs" || argument == "--seconds" || argument == "--encoder") && i + 1 < argc) {
            const std::string value = argv[++i];
            if (argument == "--encoder")
                encoder = value;
            else
                (argument == "--runs" ? runs : seconds) = std::max(1, std::atoi(value.c_str()));
        } else {
            Usage();
            return 2;
        }
    }
    if (access(encoder.c_str(), X_OK) != 0) {
        std::cerr << "bench_encode: " << encoder << " is not built\n";
        return 1;
    }

    char pattern[] = "/tmp/zantrove-bench-encode-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::cerr << "bench_encode: cannot create a temporary folder\n";
        return 1;
    }
    const fs::path folder = pattern;
    const std::string source = (folder / "source.mp4").string();
    const std::string length = std::to_string(seconds);
    if (RunQuiet({"ffmpeg",
                  "-nostdin",
                  "-v",
                  "error",
                  "-y",
                  "-f",
                  "lavfi",
                  "-i",
                  "testsrc2=size=640x480:rate=25",
                  "-f",
                  "lavfi",
                  "-i",
                  "sine=frequency=440",
                  "-t",
                  length,
                  "-c:v",
                  "libx264",
                  "-preset",
                  "ultrafast",
                  "-pix_fmt",
                  "yuv420p",
                  "-c:a",
                  "aac",
                  source}) != 0) {
        std::cerr << "bench_encode: ffmpeg could not make the clip\n";
        fs::remove_all(folder);
        return 1;
    }

    const std::string viaComponent = (folder / "component.mp4").string();
    const std::string direct = (folder / "direct.mp4").string();
    const std::vector<std::string> componentRun{
        encoder,   "-i",      source,  "-vcodec", "libx264", "-s",  "320x240",
        "-b",      "768kbps", "-r",    "25",      "-acodec", "aac", "-ab",
        "128kbps", "-ar",     "44100", "-ac",     "2",       "-y",  viaComponent};
    // What the component hands to ffmpeg for the line above, progress report included.
    const std::vector<std::string> ffmpegRun{
        "ffmpeg",   "-nostdin",  "-hide_banner", "-loglevel", "error",
        "-nostats", "-progress", "pipe:1",       "-y",        "-i",
        source,     "-c:v",      "libx264",      "-vf",       "scale=320:240,setsar=1",
        "-b:v",     "768k",      "-r",           "25",        "-c:a",
        "aac",      "-b:a",      "128k",         "-ar",       "44100",
        "-ac",      "2",         "-f",           "mp4",       direct};

    std::vector<double> componentTimes;
    std::vector<double> ffmpegTimes;
    bool failed = false;
    // Taken in turns, so a slower or faster moment of the machine falls on both ways alike.
    for (int run = 0; run < runs && !failed; ++run) {
        // The encoder never replaces a finished file, so each run starts without one.
        fs::remove(viaComponent);
        fs::remove(direct);
        auto start = Clock::now();
        failed |= RunQuiet(componentRun) != 0;
        componentTimes.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        start = Clock::now();
        failed |= RunQuiet(ffmpegRun) != 0;
        ffmpegTimes.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    if (failed) {
        std::cerr << "bench_encode: a conversion failed\n";
        fs::remove_all(folder);
        return 1;
    }

    std::error_code error;
    const auto componentBytes = fs::file_size(viaComponent, error);
    const auto directBytes = fs::file_size(direct, error);
    const double component = Median(componentTimes);
    const double plain = Median(ffmpegTimes);
    std::printf("clip: %d s of 640x480 at 25 fps into 320x240 libx264 768k + AAC 128k, %d runs each\n",
                seconds, runs);
    std::printf("component (Zantrove.dll -> ffmpeg): median %.3f s, output %ju bytes\n", component,
                static_cast<std::uintmax_t>(componentBytes));
    std::printf("ffmpeg called directly:             median %.3f s, output %ju bytes\n", plain,
                static_cast<std::uintmax_t>(directBytes));
    std::printf("ratio component / ffmpeg: %.3f\n", component / plain);
    std::printf("TABLE|encode one clip: component vs ffmpeg|%.3f s|%.3f s|%.3f\n", component, plain,
                component / plain);
    fs::remove_all(folder);
    return 0;
}
