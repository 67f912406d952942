// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QPushButton;

namespace zantrove {

class ClickLabel;

// frmAbout: the program's name, version, legal notice, contact links and the encoder's credits.
class AboutWindow : public QDialog
{
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);

public slots:
    void lblEMailAddressValue_Click();
    void lblWebsiteAddressValue_Click();
    void cmdCredits_Click();

private:
    ClickLabel* m_mail;
    ClickLabel* m_site;
    QPushButton* m_credits;
    QPushButton* m_close;
};

} // namespace zantrove
