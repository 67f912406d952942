// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/media/MediaClips.h"

#include "platform/FileSystem.h"
#include "tests/support/TestHome.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

namespace zantrove::test {

// The file name and everything between the input and the output of ffmpeg, in the order of Clip.
constexpr const char* kRecipes[][2] = {
    {"h264.mp4", "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i sine=frequency=440 -t 2 "
                 "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac"},
    {"mpeg4.avi", "-f lavfi -i testsrc=size=160x120:rate=25 -t 1 -c:v mpeg4 -an"},
    {"tone.mp3", "-f lavfi -i sine=frequency=440 -t 2 -c:a libmp3lame"},
};

bool RunShell(const std::string& command)
{
    return std::system(command.c_str()) == 0;
}

bool Ffmpeg(const std::string& arguments)
{
    return RunShell("ffmpeg -nostdin -v error -y " + arguments + " </dev/null");
}

std::string ShellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string ClipFolder()
{
    static const std::string folder = MakeTempFolder("clips");
    return folder;
}

std::string MakeClip(const std::string& folder, const std::string& name, int seconds)
{
    const std::string path = folder + "/" + name + ".mp4";
    return Ffmpeg("-f lavfi -i testsrc2=size=160x120:rate=25 -f lavfi -i "
                  "sine=frequency=440:sample_rate=44100 -t " +
                  std::to_string(seconds) + " -c:v libx264 -preset ultrafast -c:a aac " + ShellQuote(path))
               ? path
               : std::string();
}

std::string ClipPath(Clip clip)
{
    static std::map<Clip, std::string> made;
    if (const auto found = made.find(clip); found != made.end())
        return found->second;
    const auto& [fileName, arguments] = kRecipes[static_cast<int>(clip)];
    const std::string path = JoinPath(ClipFolder(), fileName);
    const bool ok = Ffmpeg(std::string(arguments) + " " + ShellQuote(path));
    return made[clip] = ok && FileExists(path) ? path : std::string();
}

bool TurnFirstTrack(const std::string& path, int storedHeight)
{
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::size_t box = bytes.find("tkhd");
    if (box == std::string::npos)
        return false;
    const bool longTimes = bytes[box + 4] == 1;
    const std::size_t matrix = box + 4 + 4 + (longTimes ? 32 : 20) + 8 + 8;
    const std::uint32_t values[9] = {0, 0x10000,   0, 0xFFFF0000u, 0, 0, std::uint32_t(storedHeight) << 16,
                                     0, 0x40000000};
    for (int i = 0; i < 9; ++i)
        for (int b = 0; b < 4; ++b)
            bytes[matrix + 4 * i + b] = static_cast<char>(values[i] >> (24 - 8 * b));
    file.seekp(0);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace zantrove::test
