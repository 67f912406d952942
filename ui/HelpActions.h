// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QComboBox;
class QPushButton;

namespace zantrove {

class TranslateWindow;

// The main window's help: the language list with ">", the profile help, the codec tip and the about
// window.
class HelpActions : public QObject
{
    Q_OBJECT
public:
    // window: the owner of the windows and messages shown; currentStep: the wizard step the
    // translation is of.
    HelpActions(QComboBox& languages, QPushButton& translate, QWidget& window,
                std::function<int()> currentStep);

public slots:
    void cmdTranslate_Click();
    void imgHelp_Click();
    void lblTipLink_Click();
    void lblAbout_Click();

private:
    QComboBox& m_languages;
    QWidget& m_window;
    std::function<int()> m_currentStep;
    QPointer<TranslateWindow> m_translation;
};

} // namespace zantrove
