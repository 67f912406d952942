// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SettingsBinder.h"

#include "devices/EncodingSettingsModel.h"
#include "platform/MessageBox.h"
#include "ui/DeviceStep.h"
#include "ui/PictureButton.h"
#include "ui/SettingsPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace zantrove {

namespace {
QStringList ToQt(const std::vector<std::string>& entries)
{
    QStringList list;
    list.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::string& entry : entries)
        list.append(QString::fromStdString(entry));
    return list;
}

QStringList Items(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}

// Refills only when the entries differ, so an open drop-down is not disturbed by a redraw.
void ShowList(QComboBox* box, const std::vector<std::string>& entries, int selected)
{
    const QSignalBlocker blocker(box);
    const QStringList wanted = ToQt(entries);
    if (Items(box) != wanted) {
        box->clear();
        box->addItems(wanted);
    }
    box->setCurrentIndex(selected);
}
} // namespace

SettingsBinder::SettingsBinder(EncodingSettingsModel& model, DeviceStep* devices, QComboBox* profiles,
                               SettingsPanel* panel, QObject* parent)
    : QObject(parent), m_model(model), m_devices(devices), m_profiles(profiles), m_panel(panel)
{
    for (ChoiceBox box : kChoiceBoxes) {
        connect(Box(box), &QComboBox::activated, this,
                [this, box](int index) { m_model.SelectEntry(box, index); });
    }
    for (CheckBox box : kCheckBoxes) {
        connect(Check(box), &QCheckBox::clicked, this,
                [this, box](bool checked) { m_model.SetChecked(box, checked); });
    }
    connect(m_profiles, &QComboBox::activated, this, [this](int index) { m_model.SelectProfile(index); });
    // Only typing counts as an edit; the program's own writes go through the model.
    connect(Box(ChoiceBox::VideoSize)->lineEdit(), &QLineEdit::textEdited, this,
            &SettingsBinder::OnVideoSizeTyped);
    connect(m_panel->EditVideoSize(), &QToolButton::clicked, this, &SettingsBinder::EditVideoSizeRequested);

    m_listener = m_model.AddListener([this] { Refresh(); });
    Refresh();
}

SettingsBinder::~SettingsBinder()
{
    m_model.RemoveListener(m_listener);
}

QComboBox* SettingsBinder::Box(ChoiceBox box) const
{
    switch (box) {
    case ChoiceBox::AudioCodec:
        return m_panel->AudioCodec();
    case ChoiceBox::AudioBitrate:
        return m_panel->AudioBitrate();
    case ChoiceBox::AudioSampleRate:
        return m_panel->AudioSampleRate();
    case ChoiceBox::AudioChannels:
        return m_panel->AudioChannels();
    case ChoiceBox::VideoCodec:
        return m_panel->VideoCodec();
    case ChoiceBox::VideoSize:
        return m_panel->VideoSize();
    case ChoiceBox::VideoBitrate:
        return m_panel->VideoBitrate();
    case ChoiceBox::VideoFrameRate:
        return m_panel->VideoFrameRate();
    }
    return nullptr;
}

QCheckBox* SettingsBinder::Check(CheckBox box) const
{
    switch (box) {
    case CheckBox::AudioNoAudio:
        return m_panel->NoAudio();
    case CheckBox::VideoNoVideo:
        return m_panel->NoVideo();
    case CheckBox::VideoOriginalQuality:
        return m_panel->OriginalQuality();
    case CheckBox::VideoKeepAspectRatio:
        return m_panel->KeepAspectRatio();
    }
    return nullptr;
}

void SettingsBinder::Refresh()
{
    m_devices->ShowMarker(QString::fromStdString(m_model.SelectedDevice()));
    ShowList(m_profiles, m_model.ProfileEntries(), m_model.SelectedProfile());
    for (ChoiceBox box : kChoiceBoxes) {
        QComboBox* widget = Box(box);
        ShowList(widget, m_model.Entries(box), m_model.SelectedPosition(box));
        widget->setEnabled(m_model.IsEnabled(box));
        if (widget->isEditable()) {
            const QSignalBlocker blocker(widget->lineEdit());
            widget->setEditText(QString::fromStdString(m_model.Text(box)));
        }
    }
    for (CheckBox box : kCheckBoxes) {
        QCheckBox* widget = Check(box);
        const QSignalBlocker blocker(widget);
        const std::int16_t state = m_model.CheckState(box);
        widget->setCheckState(state == kUnchecked ? Qt::Unchecked
                              : state == kChecked ? Qt::Checked
                                                  : Qt::PartiallyChecked);
        // Greyed shows only while a profile set it; a click then checks, and from there the box toggles.
        widget->setTristate(state == kGreyed);
        widget->setEnabled(m_model.IsEnabled(box));
    }
    m_panel->EditVideoSize()->setEnabled(m_model.IsEditVideoSizeEnabled());
}

void SettingsBinder::OnVideoSizeTyped(const QString& text)
{
    const bool accepted = m_model.EditVideoSizeText(text.toStdString(), [this](const UserMessage& message) {
        MessageBox::Show(m_panel->window(), message);
    });
    // The model may not have changed (nothing to come back to), so draw the kept text again.
    if (!accepted)
        Refresh();
}

} // namespace zantrove
