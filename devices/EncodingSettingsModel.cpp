// SPDX-License-Identifier: GPL-3.0-or-later
#include "devices/EncodingSettingsModel.h"

#include "devices/DeviceCatalog.h"
#include "devices/ProfileFile.h"

namespace zantrove {

namespace {
constexpr std::array kAudioBoxes{ChoiceBox::AudioCodec, ChoiceBox::AudioBitrate, ChoiceBox::AudioSampleRate,
                                 ChoiceBox::AudioChannels};
constexpr std::array kVideoBoxes{ChoiceBox::VideoCodec, ChoiceBox::VideoSize, ChoiceBox::VideoBitrate,
                                 ChoiceBox::VideoFrameRate};
} // namespace

EncodingSettingsModel::ChangeScope::ChangeScope(EncodingSettingsModel& model) : m_model(model)
{
    ++m_model.m_changeDepth;
}

EncodingSettingsModel::ChangeScope::~ChangeScope()
{
    if (--m_model.m_changeDepth == 0)
        m_model.Notify();
}

EncodingSettingsModel::EncodingSettingsModel(std::string applicationFolder)
    : m_applicationFolder(std::move(applicationFolder))
{
}

std::string EncodingSettingsModel::ProfileFile() const
{
    return ProfileFilePath(m_applicationFolder, m_selectedDevice);
}

void EncodingSettingsModel::SwitchDevice(std::string_view DeviceName)
{
    ChangeScope scope(*this);
    m_selectedDevice = std::string(DeviceName);
    const IniFile file(ProfileFile()); // read once for the whole switch

    for (ChoiceBox box : kAudioBoxes)
        FillList(box, ReadDefaultsList(file, box));
    SetChecked(CheckBox::AudioNoAudio, false);
    for (ChoiceBox box : kVideoBoxes)
        FillList(box, ReadDefaultsList(file, box));
    // "No Video" stays: the profile applied below sets it.
    SetChecked(CheckBox::VideoKeepAspectRatio, false);
    SetChecked(CheckBox::VideoOriginalQuality, false);

    m_profiles.clear();
    m_selectedProfile = -1;
    const std::int16_t count = ReadNumberOfProfiles(file);
    for (int number = 1; number <= count; ++number)
        m_profiles.push_back(ReadProfileName(file, number));

    // Chosen before "Custom" exists, so a default equal to the count selects nothing.
    if (const auto defaultProfile = ReadDefaultProfile(file))
        SelectProfile(*defaultProfile);
    m_profiles.emplace_back(kCustomProfileName);
}

void EncodingSettingsModel::LoadProfile(std::int16_t ListIndex)
{
    ChangeScope scope(*this);
    m_profileApplied = false;
    const IniFile file(ProfileFile()); // read once for the whole profile
    for (ChoiceBox box : kAudioBoxes)
        ApplyProfileIndex(file, ListIndex, box);
    ApplyProfileCheck(file, ListIndex, CheckBox::AudioNoAudio);
    for (ChoiceBox box : kVideoBoxes)
        ApplyProfileIndex(file, ListIndex, box);
    ApplyProfileCheck(file, ListIndex, CheckBox::VideoNoVideo);
    ApplyProfileCheck(file, ListIndex, CheckBox::VideoOriginalQuality);
    ApplyProfileCheck(file, ListIndex, CheckBox::VideoKeepAspectRatio);
    m_profileApplied = true;
}

void EncodingSettingsModel::ApplyProfileIndex(const IniFile& file, std::int16_t number, ChoiceBox box)
{
    if (const auto index = ReadProfileIndex(file, number, box))
        SelectEntry(box, *index); // refuses positions outside the list, so the box keeps its own
}

void EncodingSettingsModel::ApplyProfileCheck(const IniFile& file, std::int16_t number, CheckBox box)
{
    // Set as read; a number that is no check box state is skipped like an index outside its list.
    if (const auto state = ReadProfileCheck(file, number, box))
        SetCheckState(box, *state);
}

bool EncodingSettingsModel::SelectProfile(int position)
{
    if (position < 0 || position >= static_cast<int>(m_profiles.size()))
        return false;
    ChangeScope scope(*this);
    m_selectedProfile = position;
    if (m_profiles[static_cast<std::size_t>(position)] != kCustomProfileName)
        LoadProfile(static_cast<std::int16_t>(position + 1));
    return true;
}

bool EncodingSettingsModel::SelectEntry(ChoiceBox box, int position)
{
    ChoiceList& list = m_lists[Slot(box)];
    if (position < -1 || position >= static_cast<int>(list.entries.size()))
        return false;
    ChangeScope scope(*this);
    list.selected = position;
    list.text = position < 0 ? std::string() : list.entries[static_cast<std::size_t>(position)];
    SwitchToCustom();
    // Clearing chooses no entry, so the size to come back to stays the one chosen last.
    if (box == ChoiceBox::VideoSize && position >= 0)
        m_lastVideoSizeIndex = static_cast<std::int16_t>(position);
    return true;
}

bool EncodingSettingsModel::EditVideoSizeText(std::string text,
                                              const std::function<void(const UserMessage&)>& showMessage)
{
    ChoiceList& list = m_lists[Slot(ChoiceBox::VideoSize)];
    if (text == list.text)
        return true;
    if (m_allowVideoSizeChange) {
        ChangeScope scope(*this);
        // A written size is custom even when it equals an entry, so the size limit never sees it.
        list.selected = -1;
        list.text = std::move(text);
        return true;
    }
    // The message comes while the typed text still shows; the typed text never lands, and without an
    // entry to come back to the box keeps what it showed.
    if (showMessage)
        showMessage(UserMessage{MessageIcon::Exclamation, std::string(kTypedVideoSizeMessage)});
    SelectEntry(ChoiceBox::VideoSize, m_lastVideoSizeIndex);
    return false;
}

bool EncodingSettingsModel::SetCheckState(CheckBox box, std::int16_t state)
{
    if (state < kUnchecked || state > kGreyed)
        return false;
    if (m_checkStates[Slot(box)] == state)
        return true;
    ChangeScope scope(*this);
    m_checkStates[Slot(box)] = state;
    // Greyed disables the dependent controls as checked does.
    const bool checked = state != kUnchecked;
    switch (box) {
    case CheckBox::AudioNoAudio:
        for (ChoiceBox audio : kAudioBoxes)
            m_listEnabled[Slot(audio)] = !checked;
        break;
    case CheckBox::VideoNoVideo:
        // Sets the bit rate box from "No Video" alone, whatever "eXtreme Qty" shows.
        for (ChoiceBox video : kVideoBoxes)
            m_listEnabled[Slot(video)] = !checked;
        m_editVideoSizeEnabled = !checked;
        m_checkEnabled[Slot(CheckBox::VideoKeepAspectRatio)] = !checked;
        m_checkEnabled[Slot(CheckBox::VideoOriginalQuality)] = !checked;
        break;
    case CheckBox::VideoOriginalQuality:
        m_listEnabled[Slot(ChoiceBox::VideoBitrate)] = !checked;
        break;
    case CheckBox::VideoKeepAspectRatio:
        break;
    }
    SwitchToCustom();
    return true;
}

void EncodingSettingsModel::FillList(ChoiceBox box, std::vector<std::string> entries)
{
    ChoiceList& list = m_lists[Slot(box)];
    list.entries = std::move(entries);
    list.selected = -1;
    list.text.clear();
}

void EncodingSettingsModel::SwitchToCustom()
{
    if (m_profileApplied && !m_profiles.empty())
        SelectProfile(static_cast<int>(m_profiles.size()) - 1);
}

void EncodingSettingsModel::Notify()
{
    m_listeners.Notify();
}

} // namespace zantrove
