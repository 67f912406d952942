// SPDX-License-Identifier: GPL-3.0-or-later
// The iPhone default profile against HandBrakeCLI's "Apple 1080p30 Surround" preset on the same
// 1080p clip: encoding time, file size and SSIM of each output against the source. The preset is
// run as shipped and once more with its video bit rate set to ours, so that one pair of outputs is
// of comparable size. Prints figures only.
#include "BenchSupport.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using zantrove::bench::Capture;
using zantrove::bench::Median;
using zantrove::bench::RunCaptured;
using zantrove::bench::RunQuiet;

const char* const kPreset = "Apple 1080p30 Surround";

struct Encoded
{
    double seconds = 0;
    fs::path file;
};

struct Measured
{
    double seconds = 0;
    double megabytes = 0;
    double ssim = 0;
    std::string size; // width x height of the output
};

// Times `runs` encodes; the output is whatever `find` names afterwards (empty when it failed).
template <typename Run, typename Find> std::optional<Encoded> Time(int runs, Run run, Find find)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        if (!run())
            return std::nullopt;
        times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    Encoded encoded{Median(times), find()};
    if (encoded.file.empty() || !fs::exists(encoded.file))
        return std::nullopt;
    return encoded;
}

std::string Probe(const fs::path& file, const std::string& entries)
{
    auto probed = RunCaptured({"ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries", entries,
                               "-of", "csv=p=0:s=x", file.string()});
    while (!probed.text.empty() && (probed.text.back() == '\n' || probed.text.back() == '\r'))
        probed.text.pop_back();
    return probed.text;
}

// SSIM of the output, scaled back to the source's size, against the source; 0 when not measured.
double Ssim(const fs::path& output, const fs::path& source, const std::string& sourceSize)
{
    const std::string width = sourceSize.substr(0, sourceSize.find('x'));
    const std::string height = sourceSize.substr(sourceSize.find('x') + 1);
    const auto run = RunCaptured(
        {"ffmpeg", "-nostdin", "-hide_banner", "-i", output.string(), "-i", source.string(), "-lavfi",
         "[0:v]scale=" + width + ":" + height + ":flags=bicubic,setsar=1[a];[1:v]setsar=1[b];[a][b]ssim",
         "-f", "null", "-"},
        Capture::Errors);
    const auto at = run.text.rfind(" All:");
    return run.status == 0 && at != std::string::npos ? std::atof(run.text.c_str() + at + 5) : 0;
}

Measured Measure(const Encoded& encoded, const fs::path& source, const std::string& sourceSize)
{
    std::error_code error;
    const auto bytes = fs::file_size(encoded.file, error);
    return {encoded.seconds, error ? 0 : static_cast<double>(bytes) / 1e6,
            Ssim(encoded.file, source, sourceSize), Probe(encoded.file, "stream=width,height")};
}

fs::path FirstFileIn(const fs::path& folder)
{
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.is_regular_file())
            return entry.path();
    return {};
}

void Row(const std::string& what, const std::string& ours, const std::string& theirs, double ratio)
{
    std::printf("TABLE|%s|%s|%s|%.3f\n", what.c_str(), ours.c_str(), theirs.c_str(), ratio);
}

std::string Fixed(double value, int decimals, const char* unit = "")
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f%s", decimals, value, unit);
    return text;
}

void Compare(const std::string& label, const Measured& ours, const Measured& theirs)
{
    std::printf("%-44s %8.2f s %8.2f MB  SSIM %.4f  %s\n", label.c_str(), theirs.seconds, theirs.megabytes,
                theirs.ssim, theirs.size.c_str());
    Row("iPhone default vs " + label + ": encoding time", Fixed(ours.seconds, 2, " s"),
        Fixed(theirs.seconds, 2, " s"), ours.seconds / theirs.seconds);
    Row("iPhone default vs " + label + ": file size", Fixed(ours.megabytes, 2, " MB"),
        Fixed(theirs.megabytes, 2, " MB"), ours.megabytes / theirs.megabytes);
    Row("iPhone default vs " + label + ": SSIM to source", Fixed(ours.ssim, 4), Fixed(theirs.ssim, 4),
        ours.ssim / theirs.ssim);
}

} // namespace

int main(int argc, char** argv)
{
    int seconds = 10;
    int runs = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        (option == "--runs" ? runs : seconds) = std::max(1, std::atoi(argv[i + 1]));
    }
    if (RunQuiet({"HandBrakeCLI", "--version"}) != 0) {
        std::cout << "HandBrakeCLI is not installed (Debian package handbrake-cli): comparison skipped\n";
        return 0;
    }

    char pattern[] = "/tmp/zantrove-bench-handbrake-XXXXXX";
    if (mkdtemp(pattern) == nullptr)
        return 1;
    const fs::path work = pattern;
    fs::create_directories(work / "home");
    ::setenv("HOME", (work / "home").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (work / "home" / "data").c_str(), 1);

    // Film-like 1080p at 24 fps with grain, so neither side wins by a frame-rate change or by
    // coding a flat picture; nearly lossless, so it serves as the reference for SSIM.
    const fs::path source = work / "source.mp4";
    if (RunQuiet({"ffmpeg",
                  "-nostdin",
                  "-v",
                  "error",
                  "-y",
                  "-f",
                  "lavfi",
                  "-i",
                  "testsrc2=size=1920x1080:rate=24,noise=alls=4:allf=t",
                  "-f",
                  "lavfi",
                  "-i",
                  "sine=frequency=440:sample_rate=48000",
                  "-t",
                  std::to_string(seconds),
                  "-ac",
                  "2",
                  "-c:v",
                  "libx264",
                  "-preset",
                  "veryfast",
                  "-crf",
                  "8",
                  "-pix_fmt",
                  "yuv420p",
                  "-c:a",
                  "aac",
                  "-b:a",
                  "256k",
                  source.string()}) != 0) {
        std::cerr << "bench_handbrake: ffmpeg could not make the clip\n";
        fs::remove_all(work);
        return 1;
    }
    const std::string sourceSize = Probe(source, "stream=width,height");

    const fs::path ourFolder = work / "zantrove";
    const auto ours = Time(
        runs,
        [&] {
            fs::remove_all(ourFolder);
            return RunQuiet({std::string(ZANTROVE_APP_DIR) + "/zantrove-cli", "convert", "--device", "iPhone",
                             "--output", ourFolder.string(), source.string()}) == 0;
        },
        [&] { return FirstFileIn(ourFolder); });
    if (!ours) {
        std::cerr << "bench_handbrake: zantrove-cli convert failed\n";
        fs::remove_all(work);
        return 1;
    }
    const std::string ourKbps =
        std::to_string(std::atol(Probe(ours->file, "stream=bit_rate").c_str()) / 1000);

    auto handBrake = [&](const fs::path& output, std::vector<std::string> extra) {
        std::vector<std::string> arguments{"HandBrakeCLI",  "-i", source.string(), "-o",
                                           output.string(), "-Z", kPreset};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return Time(
            runs, [&] { return RunQuiet(arguments) == 0; }, [&] { return output; });
    };
    const auto shipped = handBrake(work / "preset.mp4", {});
    const auto matched = handBrake(work / "matched.mp4", {"--vb", ourKbps});
    if (!shipped || !matched) {
        std::cerr << "bench_handbrake: HandBrakeCLI failed\n";
        fs::remove_all(work);
        return 1;
    }

    const Measured a = Measure(*ours, source, sourceSize);
    std::printf("clip: %d s of %s at 24 fps with grain; median of %d run(s) each\n", seconds,
                sourceSize.c_str(), runs);
    std::printf("%-44s %8.2f s %8.2f MB  SSIM %.4f  %s, %s kbps video\n", "Zantrove iPhone default profile",
                a.seconds, a.megabytes, a.ssim, a.size.c_str(), ourKbps.c_str());
    Compare(std::string("HandBrakeCLI \"") + kPreset + "\"", a, Measure(*shipped, source, sourceSize));
    Compare(std::string("HandBrakeCLI \"") + kPreset + "\" at " + ourKbps + " kbps", a,
            Measure(*matched, source, sourceSize));
    fs::remove_all(work);
    return 0;
}
