// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace zantrove::test {

// Tiny clips made with ffmpeg on first use, in a folder below the test home. Each returns the
// clip's full path; an empty path means ffmpeg could not make it.
enum class Clip
{
    H264AacMp4, // 160x120 H.264 with AAC audio, 2 s
    Mpeg4Avi,   // 160x120 MPEG-4 Visual, 1 s, no audio
    Mp3Audio,   // MP3, 2 s, no video
};
std::string ClipPath(Clip clip);

std::string ClipFolder();
// A clip of its own, folder/name.mp4, the given seconds long with picture and sound: H.264 and AAC.
std::string MakeClip(const std::string& folder, const std::string& name, int seconds);

// Sets the first track's display matrix of an MP4 file whose picture is storedHeight rows high, so
// that a player that honours it shows the picture turned a quarter clockwise.
bool TurnFirstTrack(const std::string& path, int storedHeight);

// Runs a command through the shell; true when it exited with 0.
bool RunShell(const std::string& command);
// Runs ffmpeg, quiet, overwriting, with these arguments; true when it succeeded.
bool Ffmpeg(const std::string& arguments);
std::string ShellQuote(const std::string& text);

} // namespace zantrove::test
