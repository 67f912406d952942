// SPDX-License-Identifier: GPL-3.0-or-later
// The profile readers and the settings model over any profile file.
// Input: a device name (the first device unless it is one of kDevices), then a line of actions, two
// characters each (what to do, and with what); the rest is the device's profile file.
#include "devices/DeviceCatalog.h"
#include "devices/EncodingSettingsModel.h"
#include "devices/ProfileFile.h"
#include "platform/FileSystem.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>

using namespace zantrove;

namespace {

void CheckModel(const EncodingSettingsModel& model)
{
    const auto& profiles = model.ProfileEntries();
    ZANTROVE_FUZZ_CHECK(!profiles.empty() && profiles.back() == kCustomProfileName);
    ZANTROVE_FUZZ_CHECK(model.SelectedProfile() >= -1 &&
                        model.SelectedProfile() < static_cast<int>(profiles.size()));
    for (const ChoiceBox box : kChoiceBoxes) {
        const auto& entries = model.Entries(box);
        const int selected = model.SelectedPosition(box);
        ZANTROVE_FUZZ_CHECK(selected >= -1 && selected < static_cast<int>(entries.size()));
        // The size box may show a written size; every other box shows its entry or nothing.
        if (box != ChoiceBox::VideoSize)
            ZANTROVE_FUZZ_CHECK(model.Text(box) ==
                                (selected < 0 ? std::string() : entries[static_cast<std::size_t>(selected)]));
        if (IsAudioBox(box))
            ZANTROVE_FUZZ_CHECK(model.IsEnabled(box) ==
                                (model.CheckState(CheckBox::AudioNoAudio) == kUnchecked));
        else if (box != ChoiceBox::VideoBitrate)
            ZANTROVE_FUZZ_CHECK(model.IsEnabled(box) ==
                                (model.CheckState(CheckBox::VideoNoVideo) == kUnchecked));
    }
    ZANTROVE_FUZZ_CHECK(model.IsEnabled(CheckBox::AudioNoAudio) && model.IsEnabled(CheckBox::VideoNoVideo));
    const bool video = model.CheckState(CheckBox::VideoNoVideo) == kUnchecked;
    ZANTROVE_FUZZ_CHECK(model.IsEnabled(CheckBox::VideoOriginalQuality) == video);
    ZANTROVE_FUZZ_CHECK(model.IsEnabled(CheckBox::VideoKeepAspectRatio) == video);
    ZANTROVE_FUZZ_CHECK(model.IsEditVideoSizeEnabled() == video);
    ZANTROVE_FUZZ_CHECK(model.LastVideoSizeIndex() >= 0);
}

void ReadEverything(const std::string& file, const EncodingSettingsModel& model)
{
    const int count = std::clamp<int>(ReadNumberOfProfiles(file), 0, 8);
    for (int number = 0; number <= count + 1; ++number)
        ZANTROVE_FUZZ_CHECK(ReadProfileSection(file, number).name == ReadProfileName(file, number));
    for (const ChoiceBox box : kChoiceBoxes)
        ZANTROVE_FUZZ_CHECK(ReadCodecSection(file, model.Text(box)).extension.find('\n') ==
                            std::string::npos);
    (void)ReadDefaultProfile(file);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzInput input(data, size);
    const std::string_view named = input.Line();
    const std::string_view actions = input.Line();

    const std::string_view device = DeviceIndex(named) >= 0 ? named : kDevices[0].identifier;
    const std::string folder = fuzz::ScratchFolder() + "/app";
    CreateFolderPath(folder + "/Profiles");
    const std::string file = ProfileFilePath(folder, device);
    fuzz::WriteFile(file, input.Rest());

    EncodingSettingsModel model(folder);
    int notified = 0;
    model.AddListener([&notified] { ++notified; });
    model.SwitchDevice(device);
    ZANTROVE_FUZZ_CHECK(notified == 1);
    CheckModel(model);
    ZANTROVE_FUZZ_CHECK(model.ProfileEntries().size() ==
                        static_cast<std::size_t>(std::max<int>(ReadNumberOfProfiles(file), 0)) + 1);

    for (std::size_t at = 0; at + 1 < actions.size(); at += 2) {
        const auto what = static_cast<unsigned char>(actions[at]);
        const auto with = static_cast<unsigned char>(actions[at + 1]);
        switch (what % 4) {
        case 0: {
            const int position = static_cast<int>(with) - '0';
            const bool inside = position >= 0 && position < static_cast<int>(model.ProfileEntries().size());
            ZANTROVE_FUZZ_CHECK(model.SelectProfile(position) == inside);
            if (inside)
                ZANTROVE_FUZZ_CHECK(model.SelectedProfile() == position);
            break;
        }
        case 1: {
            const ChoiceBox box = kChoiceBoxes[with % kChoiceBoxes.size()];
            const int position = static_cast<int>(with / kChoiceBoxes.size()) % 12 - 1;
            const bool inside = position < static_cast<int>(model.Entries(box).size());
            ZANTROVE_FUZZ_CHECK(model.SelectEntry(box, position) == inside);
            break;
        }
        case 2:
            model.SetChecked(kCheckBoxes[with % kCheckBoxes.size()], (with & 4) != 0);
            break;
        default:
            model.SwitchDevice(device);
            break;
        }
        CheckModel(model);
    }
    ReadEverything(file, model);
    return 0;
}
