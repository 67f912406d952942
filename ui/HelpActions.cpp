// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HelpActions.h"

#include "app/HelpLinks.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "ui/AboutWindow.h"
#include "ui/ClickLabel.h"
#include "ui/MainWindow.h"
#include "ui/OutputStep.h"
#include "ui/PictureButton.h"
#include "ui/ReviewStep.h"
#include "ui/TranslateWindow.h"

#include <QComboBox>
#include <QPushButton>

namespace zantrove {

HelpActions::HelpActions(MainWindow& main)
    : QObject(&main), m_main(main), m_languages(main.findChild<QComboBox*>("cmbLanguages")),
      m_translate(main.findChild<QPushButton*>("cmdTranslate"))
{
    setObjectName("HelpActions");
    // The list is fixed; nothing selects an entry, so ">" starts out with the empty language code.
    for (const HelpLanguage& language : kHelpLanguages)
        m_languages->addItem(
            QString::fromUtf8(language.name.data(), static_cast<qsizetype>(language.name.size())));
    m_languages->setCurrentIndex(-1);
    m_languages->setMinimumContentsLength(12);
    m_languages->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    connect(m_translate, &QPushButton::clicked, this, &HelpActions::cmdTranslate_Click);
    connect(main.Step3()->HelpButton(), &QToolButton::clicked, this, &HelpActions::imgHelp_Click);
    connect(main.Step4()->TipLink(), &ClickLabel::clicked, this, &HelpActions::lblTipLink_Click);
    connect(&main, &MainWindow::AboutRequested, this, &HelpActions::lblAbout_Click);
}

TranslateWindow* HelpActions::Translation() const
{
    return m_translation;
}

void HelpActions::cmdTranslate_Click()
{
    const std::string address = TranslatedStepAddress(m_main.CurrentStep(), m_languages->currentIndex());
    // An open window is reused; a closed one was deleted, so the next request starts a fresh one.
    if (!m_translation) {
        m_translation = new TranslateWindow(&m_main);
        m_translation->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_translation->Navigate(QString::fromStdString(address));
    m_translation->show();
    m_translation->raise();
    m_translation->activateWindow();
}

void HelpActions::imgHelp_Click()
{
    MessageBox::Show(&m_main, ProfileHelpMessage());
}

void HelpActions::lblTipLink_Click()
{
    Platform::Instance().ShellOpen(CodecTipAddress());
}

void HelpActions::lblAbout_Click()
{
    // Modal without a nested event loop, like the program's other dialogs.
    auto* about = new AboutWindow(&m_main);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->setWindowModality(Qt::ApplicationModal);
    about->show();
}

} // namespace zantrove
