// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliCommands.h"
#include "cli/CliConversionOptions.h"
#include "conversion/EncoderArguments.h"
#include "devices/ProfileFile.h"
#include "platform/FileSystem.h"

namespace zantrove {

int RunLineCommand(const std::vector<std::string>& arguments, CliContext& context)
{
    const auto options = ParseCliConversionOptions(arguments, false);
    if (!options)
        return CliUsageError(context, options.error());
    const auto session = SetUpCliConversion(*options, context);
    if (!session)
        return CliUsageError(context, session.error());
    // The start's own refusals: an unusable profile file would give lines with empty values.
    if (const Verdict start = (*session)->CheckStart(); !start) {
        // One line: the message's sentences joined by a blank.
        const std::string& message = start.error().text;
        std::string text;
        for (std::size_t i = 0; i < message.size(); ++i) {
            const bool lineBreak = message.compare(i, 2, kCrLf) == 0;
            text += lineBreak ? ' ' : message[i];
            i += lineBreak ? 1 : 0;
        }
        context.err << "zantrove-cli: " << text << '\n';
        return 1;
    }
    const EncodingSettingsModel& settings = (*session)->Settings();
    const auto lines =
        BuildEncoderLines((*session)->Rows().Rows(), TakeEncoderSettings(settings, options->output),
                          ProfileFileLookup(settings.ProfileFile()), FileExists);
    for (const EncoderLine& line : lines)
        context.out << RenderArgumentLine(line) << '\n';
    return 0;
}

} // namespace zantrove
