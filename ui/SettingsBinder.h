// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "devices/SettingsControls.h"

#include <QObject>

class QCheckBox;
class QComboBox;

namespace zantrove {

class DeviceStep;
class EncodingSettingsModel;
class SettingsPanel;

// Keeps the device markers, the profile list and the settings panel in step with the settings
// model: user actions go to the model, and every model change is drawn back into the widgets.
class SettingsBinder : public QObject
{
    Q_OBJECT
public:
    SettingsBinder(EncodingSettingsModel& model, DeviceStep* devices, QComboBox* profiles,
                   SettingsPanel* panel, QObject* parent = nullptr);
    ~SettingsBinder() override;

    // Draws the whole model; also run after every model change.
    void Refresh();

signals:
    void EditVideoSizeRequested();

private:
    // The panel's widget for each of the model's lists and check boxes.
    QComboBox* Box(ChoiceBox box) const;
    QCheckBox* Check(CheckBox box) const;
    void OnVideoSizeTyped(const QString& text);

    EncodingSettingsModel& m_model;
    DeviceStep* m_devices;
    QComboBox* m_profiles;
    SettingsPanel* m_panel;
    int m_listener = 0;
};

} // namespace zantrove
