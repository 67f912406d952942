// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliCommands.h"
#include "devices/DeviceCatalog.h"
#include "devices/EncodingSettingsModel.h"
#include "devices/ProfileFile.h"
#include "platform/FileSystem.h"

namespace zantrove {

int RunProfilesCommand(const std::vector<std::string>& arguments, CliContext& context)
{
    if (arguments.size() != 1)
        return CliUsageError(context, "profiles takes one device: " + DeviceIdentifierList());
    const std::string& device = arguments.front();
    if (DeviceIndex(device) < 0)
        return CliUsageError(context,
                             "unknown device '" + device + "'; the devices are " + DeviceIdentifierList());

    // The same device switch the window makes, so the default mark shows what it would apply.
    EncodingSettingsModel settings(context.applicationFolder);
    settings.SwitchDevice(device);
    if (const auto problem = ProfileFileProblem(settings.ProfileFile())) {
        context.err << "zantrove-cli: the profile file " << settings.ProfileFile() << ' ' << *problem << '\n';
        return 1;
    }
    const std::vector<std::string>& entries = settings.ProfileEntries();
    const int applied = settings.ProfileApplied() ? settings.SelectedProfile() : -1;
    for (std::size_t i = 0; i + 1 < entries.size(); ++i) { // the last entry is "Custom"
        context.out << i + 1 << '\t' << entries[i];
        if (static_cast<int>(i) == applied)
            context.out << "\tdefault";
        context.out << '\n';
    }
    return 0;
}

} // namespace zantrove
