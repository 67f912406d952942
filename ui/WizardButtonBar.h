// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/BackdropPanel.h"

class QComboBox;
class QPushButton;

namespace zantrove {

class PictureButton;

// pnlBottom: the About link, the language list with ">", and Previous, Next and Convert.
class WizardButtonBar : public BackdropPanel
{
    Q_OBJECT
public:
    explicit WizardButtonBar(QWidget* parent = nullptr);

    QComboBox* Languages() const { return m_languages; }
    QPushButton* TranslateButton() const { return m_translate; }
    PictureButton* PreviousButton() const { return m_previous; }
    PictureButton* NextButton() const { return m_next; }
    PictureButton* ConvertButton() const { return m_convert; }

signals:
    void AboutRequested();

private:
    QComboBox* m_languages;
    QPushButton* m_translate;
    PictureButton* m_previous;
    PictureButton* m_next;
    PictureButton* m_convert;
};

} // namespace zantrove
