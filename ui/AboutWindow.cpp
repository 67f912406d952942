// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AboutWindow.h"

#include "base/Version.h"
#include "ui/QtText.h"

#include "app/HelpLinks.h"
#include "app/InfoWindowTexts.h"
#include "platform/MessageBox.h"
#include "ui/ClickLabel.h"
#include "ui/DialogFrame.h"
#include "ui/OpenWithDesktop.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zantrove {

namespace {
QLabel* Caption(const char* name, std::string_view text)
{
    auto* label = new QLabel(Text(text));
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

const QColor kLinkBlue(0x25, 0x63, 0xEB);
} // namespace

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmAbout");
    setWindowTitle(Text(kAboutTitle));
    DialogFrame frame(this, Text(kAboutTitle), Text(kAboutSubtitle), 8);

    auto* program = Caption("lblProgramText", "Zantrove v" + std::string(kVersion));
    QFont bold = program->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    program->setFont(bold);
    auto* copyright = Caption("lblCopyright", kAboutLegalNotice);

    m_mail = new ClickLabel("lblEMailAddressValue", Text(kSupportAddress));
    m_mail->SetColor(kLinkBlue);
    m_mail->setToolTip(QString::fromStdString(SupportMailLink()));
    m_site = new ClickLabel("lblWebsiteAddressValue", Text(kMakerSite));
    m_site->SetColor(kLinkBlue);
    m_site->setToolTip(Text(kMakerSite));

    auto* contact = new QGroupBox(Text(kAboutContactFrame));
    contact->setObjectName("frmContactInfo");
    auto* grid = new QGridLayout(contact);
    grid->setHorizontalSpacing(12);
    grid->addWidget(Caption("lblEMailAddress", kAboutEMailCaption), 0, 0);
    grid->addWidget(m_mail, 0, 1);
    grid->addWidget(Caption("lblWebsiteAddress", kAboutWebsiteCaption), 1, 0);
    grid->addWidget(m_site, 1, 1);
    grid->setColumnStretch(1, 1);

    frame.Body()->addWidget(program);
    frame.Body()->addWidget(copyright);
    frame.Body()->addSpacing(4);
    frame.Body()->addWidget(contact);
    frame.Body()->addSpacing(4);

    m_credits = DialogFrame::Button("cmdCredits", Text(kAboutCreditsCaption));
    m_close = DialogFrame::Button("cmdClose", Text(kInfoCloseCaption), DialogFrame::Press::Default);
    frame.AddButtons({m_close}, {m_credits});
    setMinimumWidth(440);

    connect(m_mail, &ClickLabel::clicked, this, &AboutWindow::lblEMailAddressValue_Click);
    connect(m_site, &ClickLabel::clicked, this, &AboutWindow::lblWebsiteAddressValue_Click);
    connect(m_credits, &QPushButton::clicked, this, &AboutWindow::cmdCredits_Click);
    // Closing unloads the window; Esc does the same.
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    // Opens on Close, so Enter dismisses the window instead of starting a mail program.
    m_close->setFocus();
}

void AboutWindow::lblEMailAddressValue_Click()
{
    OpenWithDesktop(this, SupportMailLink());
}

void AboutWindow::lblWebsiteAddressValue_Click()
{
    OpenWithDesktop(this, std::string(kMakerSite));
}

void AboutWindow::cmdCredits_Click()
{
    MessageBox::Show(this, CreditsMessage());
}

} // namespace zantrove
