// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/OutputStep.h"

#include "ui/PictureButton.h"
#include "ui/SettingsPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zantrove {

OutputStep::OutputStep(QWidget* parent)
    : StepPanel(
          3, "Step 3 of 3 :: Choose output settings",
          {"In this step you can specify which type of video files you wish to place on your device. Based "
           "on the type of video file, the required audio and video quality will be automatically "
           "determined.",
           "If you want more control, you can click the 'Advanced' button. This will open the advanced "
           "settings pane, which allows you to modify the audio and video settings manually."},
          parent)
{
    auto* typeLabel = new QLabel("What kind of video files have you added to your list?");
    typeLabel->setObjectName("lblTypeOfVideoFile");
    typeLabel->setProperty("role", "question");

    m_profiles = new QComboBox;
    m_profiles->setObjectName("cmbProfiles");
    m_profiles->setEditable(false);
    m_profiles->setMinimumWidth(280);
    typeLabel->setBuddy(m_profiles);
    m_help = new PictureButton("imgHelp", ":/buttons/help.svg", "Help about profiles", 22);
    m_advanced = new PictureButton("bttnAdvancedSettings", ":/buttons/advanced.svg",
                                   "Show advanced settings panel", 24);
    m_advanced->setText("Advanced");
    m_advanced->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    auto* profileRow = new QHBoxLayout;
    profileRow->addWidget(m_profiles);
    profileRow->addWidget(m_help);
    profileRow->addStretch();
    profileRow->addWidget(m_advanced);

    m_advancedPanel = new SettingsPanel;
    m_advancedPanel->setObjectName("pnlAdvancedSettings");
    m_advancedPanel->setProperty("role", "card");
    m_advancedPanel->setAttribute(Qt::WA_StyledBackground);
    m_advancedPanel->hide();

    auto* folderLabel = new QLabel("Where would you like to save your converted video files?");
    folderLabel->setObjectName("lblChooseOutputDirectory");
    folderLabel->setProperty("role", "question");
    m_outputDirectory = new QLineEdit;
    m_outputDirectory->setObjectName("txtOutputDirectory");
    folderLabel->setBuddy(m_outputDirectory);
    m_chooseOutputDirectory = new PictureButton("bttnChooseOutputDirectory", ":/buttons/choose-folder.svg",
                                                "Choose Output Directory", 22);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_outputDirectory, 1);
    folderRow->addWidget(m_chooseOutputDirectory);

    m_addToLibrary = new QCheckBox("Select this option to add your converted video files directly to iTunes");
    m_addToLibrary->setObjectName("chkAddToiTunes");

    Content()->addWidget(typeLabel);
    Content()->addLayout(profileRow);
    Content()->addWidget(m_advancedPanel);
    Content()->addSpacing(6);
    Content()->addWidget(folderLabel);
    Content()->addLayout(folderRow);
    Content()->addWidget(m_addToLibrary);
    Content()->addStretch(1);

    // Showing, hiding and paging never change a setting.
    connect(m_advanced, &QToolButton::clicked, this, [this] {
        m_advancedPanel->show();
        m_advanced->hide();
    });
    connect(m_advancedPanel, &SettingsPanel::HideRequested, this, [this] {
        // The focus goes back to the button that opened the panel, not on to the next field.
        const bool focusInPanel = m_advancedPanel->isAncestorOf(window()->focusWidget());
        m_advanced->show();
        if (focusInPanel)
            m_advanced->setFocus(Qt::OtherFocusReason);
        m_advancedPanel->hide();
    });
}

} // namespace zantrove
