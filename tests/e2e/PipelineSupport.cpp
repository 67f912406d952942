// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/e2e/PipelineSupport.h"

#include "tests/media/MediaClips.h"
#include "tests/support/TestHome.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace zantrove::test {

std::vector<std::string> ConvertArguments(const std::string& device, const std::string& output,
                                          const std::vector<std::string>& rest)
{
    std::vector<std::string> arguments{"convert", "--device", device, "--output", output};
    arguments.insert(arguments.end(), rest.begin(), rest.end());
    return arguments;
}

std::vector<std::string> FastConvertArguments(const std::string& output,
                                              const std::vector<std::string>& files)
{
    std::vector<std::string> arguments = ConvertArguments("iPod-Nano", output, {"--profile", "6"});
    arguments.insert(arguments.end(), files.begin(), files.end());
    return arguments;
}

CliRun Convert(const std::string& device, const std::string& output, const std::vector<std::string>& sources)
{
    return InvokeCli(ConvertArguments(device, output, sources));
}

std::string OutputOf(const std::string& folder, const std::string& sourceName)
{
    const std::string stem = std::filesystem::path(sourceName).stem().string() + ".";
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().starts_with(stem))
            return entry.path().string();
    return {};
}

std::string Probe(const std::string& path, const std::string& entries, const std::string& streams)
{
    return CaptureShell("ffprobe -v error " + (streams.empty() ? "" : "-select_streams " + streams + " ") +
                        "-show_entries " + entries + " -of default=nw=1 " + ShellQuote(path));
}

std::string Entry(const std::string& probed, const std::string& key)
{
    const std::size_t at = probed.starts_with(key + "=") ? 0 : probed.find("\n" + key + "=");
    if (at == std::string::npos)
        return {};
    const std::size_t value = probed.find('=', at) + 1;
    return probed.substr(value, probed.find('\n', value) - value);
}

double RateValue(const std::string& text)
{
    const std::size_t slash = text.find('/');
    const double denominator = slash == std::string::npos ? 1 : std::atof(text.c_str() + slash + 1);
    return denominator > 0 ? std::atof(text.c_str()) / denominator : 0;
}

Frames Decode(const std::string& path, const std::string& at, int count, int width, int height)
{
    Frames frames{width, height, {}};
    std::string options = count > 0 ? " -frames:v " + std::to_string(count) : "";
    if (width > 0)
        options += " -vf scale=" + std::to_string(width) + ":" + std::to_string(height);
    else {
        const std::string size = Probe(path, "stream=width,height", "V:0");
        frames.width = std::atoi(Entry(size, "width").c_str());
        frames.height = std::atoi(Entry(size, "height").c_str());
    }
    frames.bytes = CaptureShell("ffmpeg -nostdin -v error " + (at.empty() ? "" : "-ss " + at + " ") + "-i " +
                                ShellQuote(path) + " -map 0:V:0" + options + " -f rawvideo -pix_fmt gray -");
    return frames;
}

void Box::Add(int x, int y)
{
    left = std::min(left, x), right = std::max(right, x);
    top = std::min(top, y), bottom = std::max(bottom, y);
}

Box BrightBox(const Frames& frames, std::size_t frame, int level)
{
    Box box;
    for (int y = 0; y < frames.height; ++y)
        for (int x = 0; x < frames.width; ++x)
            if (frames.At(frame, x, y) > level)
                box.Add(x, y);
    return box;
}

} // namespace zantrove::test
