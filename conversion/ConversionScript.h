// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Error.h"
#include "base/Expected.h"
#include "conversion/EncoderArguments.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zantrove {

struct VideoRow;

inline constexpr std::string_view kStagedEncoderName = "Zantrove.exe";
inline constexpr std::string_view kEncoderComponentName = "Zantrove.dll";
inline constexpr std::string_view kThreadLibraryName = "pthreadGC2.dll";
inline constexpr std::string_view kLibraryToolName = "AddiTunes.exe";
// Each run writes a script of its own, named by this pattern made unique, so runs side by side never
// run each other's lines; its dumps carry the same unique part ("Debug3-<part>.log").
inline constexpr std::string_view kScriptPattern = "Zantrove-XXXXXX.bat";
inline constexpr std::string_view kListDumpStem = "Debug3";
inline constexpr std::string_view kScriptDumpStem = "Debug1";
inline constexpr std::string_view kConsoleDumpStem = "Debug2";

// Everything one run needs, taken from the window when Convert is pressed.
struct ConversionRequest
{
    std::string applicationFolder; // holds Components/
    std::string settingsFolder;    // where components, script and dumps go
    std::vector<VideoRow> rows;
    EncoderSettings settings;
    ProfileLookup profile;
    bool addToLibrary = false;
};

// A debug entry; empty when the debug log is off.
using DebugEntry = std::function<void(const std::string& text)>;

struct PreparedConversion
{
    std::string scriptPath;         // the run's own script
    std::vector<EncoderLine> lines; // one per row, in list order
};

// Copies Components/<sourceName> to settingsFolder/<targetName> when the target is missing or differs
// from the source in size or modification time, so an updated program never runs an old component.
// An identical staged file is left alone. The error when the target is not there afterwards, or when
// a needed copy failed (an older staged file is then left as it was, but is not current).
[[nodiscard]] Expected<void, Error> StageComponent(const std::string& applicationFolder,
                                                   const std::string& settingsFolder,
                                                   std::string_view sourceName, std::string_view targetName);

// The path of a run's dump of the given stem beside its script: the script's unique part + ".log".
std::string RunDumpPath(const std::string& scriptPath, std::string_view stem);

// How the script's echo of an encoder line begins, and of no other line: the quoted staged encoder
// and one blank.
std::string EncoderLineStart(const std::string& settingsFolder);

// What the script prints after a row's source and ": " when the encoder ends with a status other
// than 0, followed by that status.
inline constexpr std::string_view kEncoderStatusText = "the encoder ended with status ";

// The script text: per row the encoder line, which reports a failed status of the encoder as an error
// line of its source, then the library line when asked for. Every path and argument is quoted for
// the shell, so a file name is only ever data.
std::string ConversionScriptText(const std::string& settingsFolder, const std::vector<EncoderLine>& lines,
                                 bool addToLibrary);

// Stages the components, writes the run's own script (and the dumps when debug is on) before anything
// runs. The debug log names the script. The error names the component or script that could not be
// written; nothing is to run then.
[[nodiscard]] Expected<PreparedConversion, Error> PrepareConversion(const ConversionRequest& request,
                                                                    const DebugEntry& debug = {});

} // namespace zantrove
