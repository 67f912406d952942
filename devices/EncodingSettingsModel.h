// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Listeners.h"
#include "base/UserMessage.h"
#include "devices/SettingsControls.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zantrove {

class IniFile;
// The three states of a check box, as profile files store them.
inline constexpr std::int16_t kUnchecked = 0;
inline constexpr std::int16_t kChecked = 1;
inline constexpr std::int16_t kGreyed = 2;

inline constexpr std::string_view kTypedVideoSizeMessage =
    "Please, use the button on the right side of this field to change the video size.";

// The device choice, the profile list and the encoding settings panel, without widgets. The panel's
// current texts, positions and check states are the encoding settings the conversion reads.
//
// Every change runs the panel's reactions, whoever makes it; the widget layer forwards the user's
// actions to the mutators below and redraws from the getters when a listener is called. Listeners
// run once at the end of each outermost call, never in the middle of one.
class EncodingSettingsModel
{
public:
    using Listener = Listeners<>::Listener;

    // applicationFolder holds Profiles/.
    explicit EncodingSettingsModel(std::string applicationFolder);

    // Makes DeviceName the target: refills every list from its profile file, rebuilds the profile
    // list and applies the file's default profile. Unknown names run all the same and find no file.
    void SwitchDevice(std::string_view DeviceName);
    // Applies [Profile ListIndex] of the current device's file, key by key; a key that is not a
    // number or lies outside its list leaves that control as it was.
    void LoadProfile(std::int16_t ListIndex);

    const std::string& ApplicationFolder() const { return m_applicationFolder; }
    // Empty until the first SwitchDevice.
    const std::string& SelectedDevice() const { return m_selectedDevice; }
    // The current device's profile file, for the conversion's codec lookups.
    std::string ProfileFile() const;

    // cmbProfiles: the named profiles, then "Custom".
    const std::vector<std::string>& ProfileEntries() const { return m_profiles; }
    int SelectedProfile() const { return m_selectedProfile; }
    // A choice in cmbProfiles: any entry whose text is not exactly "Custom" applies profile
    // position + 1. False (nothing happens) for a position outside the list.
    bool SelectProfile(int position);

    const std::vector<std::string>& Entries(ChoiceBox box) const { return m_lists[Slot(box)].entries; }
    // -1 for no selection; also for a custom size in cmbVideoSize that matches no entry.
    int SelectedPosition(ChoiceBox box) const { return m_lists[Slot(box)].selected; }
    // The text the box shows: the selected entry, or "" without one; cmbVideoSize shows its edit text.
    const std::string& Text(ChoiceBox box) const { return m_lists[Slot(box)].text; }
    bool IsEnabled(ChoiceBox box) const { return m_listEnabled[Slot(box)]; }
    // A choice in one of the eight boxes (-1 clears it): switches the profile list to "Custom" after
    // an applied profile and, for the size box, records LastVideoSizeIndex. False (nothing happens)
    // for a position outside -1 .. count - 1.
    bool SelectEntry(ChoiceBox box, int position);
    // The size box's edit text changed without a choice. While AllowVideoSizeChange is true the text
    // stands, with no position even when it equals an entry (the custom size dialog writing); otherwise
    // it is refused: showMessage gets the message, and once it returns the entry at LastVideoSizeIndex
    // comes back (as a choice). False when refused.
    bool EditVideoSizeText(std::string text, const std::function<void(const UserMessage&)>& showMessage);

    // A box's state: kUnchecked, kChecked or kGreyed (set only by a profile). The dependent controls
    // are enabled only while a box is unchecked; the conversion counts a box as on only when checked.
    std::int16_t CheckState(CheckBox box) const { return m_checkStates[Slot(box)]; }
    bool IsChecked(CheckBox box) const { return CheckState(box) == kChecked; }
    // "No Audio" and "No Video" are always enabled; the other two follow "No Video".
    bool IsEnabled(CheckBox box) const { return m_checkEnabled[Slot(box)]; }
    bool IsEditVideoSizeEnabled() const { return m_editVideoSizeEnabled; }
    // Reacts only when the state changes, as a check box does. False (nothing happens) for a number
    // that is none of the three states.
    bool SetCheckState(CheckBox box, std::int16_t state);
    void SetChecked(CheckBox box, bool checked) { SetCheckState(box, checked ? kChecked : kUnchecked); }

    bool ProfileApplied() const { return m_profileApplied; }
    std::int16_t LastVideoSizeIndex() const { return m_lastVideoSizeIndex; }
    bool AllowVideoSizeChange() const { return m_allowVideoSizeChange; }
    void SetAllowVideoSizeChange(bool allow) { m_allowVideoSizeChange = allow; }

    // Returns an id for RemoveListener.
    int AddListener(Listener listener) { return m_listeners.Add(std::move(listener)); }
    void RemoveListener(int id) { m_listeners.Remove(id); }

private:
    struct ChoiceList
    {
        std::vector<std::string> entries;
        int selected = -1;
        std::string text;
    };

    // Holds back the listeners until the outermost change is complete.
    class ChangeScope
    {
    public:
        explicit ChangeScope(EncodingSettingsModel& model);
        ~ChangeScope();
        ChangeScope(const ChangeScope&) = delete;
        ChangeScope& operator=(const ChangeScope&) = delete;

    private:
        EncodingSettingsModel& m_model;
    };

    void FillList(ChoiceBox box, std::vector<std::string> entries);
    void SwitchToCustom();
    void ApplyProfileIndex(const IniFile& file, std::int16_t number, ChoiceBox box);
    void ApplyProfileCheck(const IniFile& file, std::int16_t number, CheckBox box);
    void Notify();

    std::string m_applicationFolder;
    std::string m_selectedDevice;
    std::vector<std::string> m_profiles;
    int m_selectedProfile = -1;
    std::array<ChoiceList, 8> m_lists;
    std::array<bool, 8> m_listEnabled{true, true, true, true, true, true, true, true};
    std::array<std::int16_t, 4> m_checkStates{};
    std::array<bool, 4> m_checkEnabled{true, true, true, true};
    bool m_editVideoSizeEnabled = true;
    bool m_profileApplied = false;
    bool m_allowVideoSizeChange = false;
    std::int16_t m_lastVideoSizeIndex = 0;

    int m_changeDepth = 0;
    Listeners<> m_listeners;
};

} // namespace zantrove
