// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/TimeText.h"
#include "cli/CliCommands.h"
#include "cli/CliConversionOptions.h"
#include "conversion/OutputPreview.h"
#include "devices/ProfileFile.h"
#include "platform/FileSystem.h"

#include <cstdlib>
#include <unistd.h>

namespace zantrove {

namespace {

bool EndsWithPng(std::string path)
{
    for (char& c : path)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return path.size() > 4 && path.ends_with(".png");
}

// The folder that will hold path: the encoder writes there first, so the picture arrives in one step.
std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".")
           : slash == 0               ? std::string("/")
                                      : path.substr(0, slash);
}

} // namespace

int RunPreviewCommand(const std::vector<std::string>& arguments, CliContext& context)
{
    CliConversionOptions options;
    std::string at;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::string* target = argument == "--device"    ? &options.device
                              : argument == "--profile" ? &options.profile
                              : argument == "--at"      ? &at
                                                        : nullptr;
        if (!target) {
            if (argument.starts_with("--"))
                return CliUsageError(context, "unknown option '" + argument + "'");
            files.push_back(argument);
        } else if (i + 1 >= arguments.size()) {
            return CliUsageError(context, argument + " needs a value");
        } else {
            *target = arguments[++i];
        }
    }
    if (options.device.empty() || files.size() != 2)
        return CliUsageError(context, "--device, one FILE and one OUT.png are needed");
    if (!EndsWithPng(files[1]))
        return CliUsageError(context, "the picture's name must end with .png: " + files[1]);
    const auto moment = ParseClockTime(at);
    if (!at.empty() && !moment)
        return CliUsageError(context, "--at takes hh:mm:ss");
    options.files = {files[0]};
    options.output = FolderOf(files[1]);
    std::vector<std::string> refused;
    const auto setUp = SetUpCliConversion(options, context, &refused);
    if (!setUp)
        return CliUsageError(context, setUp.error());
    if (!refused.empty()) {
        context.err << "zantrove-cli: " << refused.front() << '\n';
        return 1;
    }
    const ConversionSession& session = **setUp;
    const VideoRow& row = session.Rows().Rows().front();
    const std::int64_t seconds = moment.value_or(DefaultPreviewMoment(row));
    if (const auto duration = ParseClockTime(row.duration); duration && *duration > 0 && seconds >= *duration)
        return CliUsageError(context, "--at " + at + " is not before the end of " + row.filepath + " (" +
                                          row.duration + ")");

    std::string scratch = JoinPath(options.output, ".zantrove-preview-XXXXXX");
    if (!::mkdtemp(scratch.data())) {
        context.err << "zantrove-cli: cannot write into " << options.output << '\n';
        return 1;
    }
    const EncodingSettingsModel& settings = session.Settings();
    const auto line = PreviewEncoderLine(row, TakeEncoderSettings(settings, options.output),
                                         ProfileFileLookup(settings.ProfileFile()), seconds,
                                         JoinPath(scratch, "picture.png"));
    Expected<PreviewPicture, std::string> picture = Unexpected{line ? std::string() : line.error()};
    if (line)
        picture = RenderPicture(EncoderComponentPath(context.applicationFolder), *line);
    const bool placed = picture && ReplaceFile(picture->path, files[1]);
    // Gone already once the picture is placed; a picture that stays keeps the folder, told below.
    if (line)
        (void)RemoveFile(line->outputPath);
    if (::rmdir(scratch.c_str()) != 0)
        context.err << "zantrove-cli: cannot remove " << scratch << '\n';
    if (!picture) {
        context.err << "zantrove-cli: " << row.filepath << ": " << picture.error() << '\n';
        return 1;
    }
    if (!placed) {
        context.err << "zantrove-cli: cannot write " << files[1] << '\n';
        return 1;
    }
    context.out << files[1] << ": " << picture->width << "x" << picture->height << " at "
                << ShownFrameRate(picture->frameRate) << ", the frame at " << FormatSeconds(int(seconds))
                << '\n';
    return 0;
}

} // namespace zantrove
