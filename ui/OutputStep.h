// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/StepPanel.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace zantrove {

class PictureButton;
class SettingsPanel;

// Step 3: the output profile, the advanced settings, the output folder and the library option.
class OutputStep : public StepPanel
{
    Q_OBJECT
public:
    explicit OutputStep(QWidget* parent = nullptr);

    QComboBox* Profiles() const { return m_profiles; }
    QLineEdit* OutputDirectory() const { return m_outputDirectory; }
    PictureButton* ChooseOutputDirectoryButton() const { return m_chooseOutputDirectory; }
    PictureButton* HelpButton() const { return m_help; }
    SettingsPanel* AdvancedPanel() const { return m_advancedPanel; }
    QCheckBox* AddToLibrary() const { return m_addToLibrary; }

private:
    QComboBox* m_profiles;
    QLineEdit* m_outputDirectory;
    PictureButton* m_chooseOutputDirectory;
    PictureButton* m_advanced;
    PictureButton* m_help;
    SettingsPanel* m_advancedPanel;
    QCheckBox* m_addToLibrary;
};

} // namespace zantrove
