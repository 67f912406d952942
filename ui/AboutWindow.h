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

    ClickLabel* EMailAddressValue() const { return m_mail; }
    ClickLabel* WebsiteAddressValue() const { return m_site; }
    QPushButton* CreditsButton() const { return m_credits; }
    QPushButton* CloseButton() const { return m_close; }

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
