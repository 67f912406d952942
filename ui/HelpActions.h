// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

class QComboBox;
class QPushButton;

namespace zantrove {

class MainWindow;
class TranslateWindow;

// The main window's help: the language list with ">", the profile help, the codec tip and the about
// window.
class HelpActions : public QObject
{
    Q_OBJECT
public:
    explicit HelpActions(MainWindow& main);

    QComboBox* Languages() const { return m_languages; }
    QPushButton* TranslateButton() const { return m_translate; }
    // The open translation window, null when none is open.
    TranslateWindow* Translation() const;

public slots:
    void cmdTranslate_Click();
    void imgHelp_Click();
    void lblTipLink_Click();
    void lblAbout_Click();

private:
    MainWindow& m_main;
    QComboBox* m_languages;
    QPushButton* m_translate;
    QPointer<TranslateWindow> m_translation;
};

} // namespace zantrove
