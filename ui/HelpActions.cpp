// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HelpActions.h"

#include "app/HelpLinks.h"
#include "platform/MessageBox.h"
#include "ui/AboutWindow.h"
#include "ui/ModalWindow.h"
#include "ui/OpenWithDesktop.h"
#include "ui/TranslateWindow.h"

#include <QComboBox>
#include <QPushButton>

namespace zantrove {

HelpActions::HelpActions(QComboBox& languages, QPushButton& translate, QWidget& window,
                         std::function<int()> currentStep)
    : QObject(&window), m_languages(languages), m_window(window), m_currentStep(std::move(currentStep))
{
    setObjectName("HelpActions");
    // The list is fixed; nothing selects an entry, so ">" starts out with the empty language code.
    for (const HelpLanguage& language : kHelpLanguages)
        m_languages.addItem(
            QString::fromUtf8(language.name.data(), static_cast<qsizetype>(language.name.size())));
    m_languages.setCurrentIndex(-1);
    m_languages.setMinimumContentsLength(12);
    m_languages.setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    connect(&translate, &QPushButton::clicked, this, &HelpActions::cmdTranslate_Click);
}

void HelpActions::cmdTranslate_Click()
{
    const std::string address = TranslatedStepAddress(m_currentStep(), m_languages.currentIndex());
    // An open window is reused; a closed one was deleted, so the next request starts a fresh one.
    if (!m_translation) {
        m_translation = new TranslateWindow(&m_window);
        m_translation->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_translation->Navigate(QString::fromStdString(address));
    m_translation->show();
    m_translation->raise();
    m_translation->activateWindow();
}

void HelpActions::imgHelp_Click()
{
    MessageBox::Show(&m_window, ProfileHelpMessage());
}

void HelpActions::lblTipLink_Click()
{
    OpenWithDesktop(&m_window, CodecTipAddress());
}

void HelpActions::lblAbout_Click()
{
    OpenModal(new AboutWindow(&m_window));
}

} // namespace zantrove
