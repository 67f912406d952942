// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliCommands.h"
#include "cli/CliConversionOptions.h"
#include "conversion/EncoderArguments.h"

namespace zantrove {

int RunLineCommand(const std::vector<std::string>& arguments, CliContext& context)
{
    CliConversionOptions options;
    if (const std::string problem = ParseCliConversionOptions(arguments, false, options); !problem.empty())
        return CliUsageError(context, problem);
    CliConversionSetup setup;
    if (const auto problem = SetUpCliConversion(options, context, setup))
        return CliUsageError(context, *problem);
    const auto lines = BuildEncoderLines(setup.rows, TakeEncoderSettings(*setup.settings, options.output),
                                         ProfileFileLookup(setup.settings->ProfileFile()), FileExists);
    for (const EncoderLine& line : lines)
        context.out << RenderArgumentLine(line) << '\n';
    return 0;
}

} // namespace zantrove
