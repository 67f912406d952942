// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/EditVideoSizeDialog.h"

#include "devices/EncodingSettingsModel.h"
#include "devices/VideoSizeEdit.h"
#include "platform/MessageBox.h"
#include "ui/DialogFrame.h"
#include "ui/QtText.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zantrove {

EditVideoSizeDialog::EditVideoSizeDialog(EncodingSettingsModel& model, QWidget* parent)
    : QDialog(parent), m_model(model)
{
    setObjectName("frmEditVideoSize");
    setWindowTitle(Text(kEditVideoSizeTitle));
    DialogFrame frame(this, Text(kEditVideoSizeTitle), Text(kEditVideoSizeSubtitle));

    auto* intro = new QLabel(Text(kEditVideoSizeIntro));
    intro->setObjectName("lblSpecifyCustomSize");
    m_width = new QLineEdit;
    m_width->setObjectName("txtWidth");
    m_height = new QLineEdit;
    m_height->setObjectName("txtHeight");
    auto* widthLabel = new QLabel(Text(kEditVideoSizeWidthLabel));
    widthLabel->setObjectName("lblWidth");
    auto* heightLabel = new QLabel(Text(kEditVideoSizeHeightLabel));
    heightLabel->setObjectName("lblHeight");
    // The captions name the boxes, also for a screen reader.
    widthLabel->setBuddy(m_width);
    heightLabel->setBuddy(m_height);
    auto* form = new QFormLayout;
    form->addRow(widthLabel, m_width);
    form->addRow(heightLabel, m_height);

    frame.Body()->addWidget(intro);
    frame.Body()->addLayout(form);
    frame.Body()->addSpacing(8);

    m_ok = DialogFrame::Button("cmdOk", Text(kEditVideoSizeOkCaption), DialogFrame::Press::Default);
    m_cancel = DialogFrame::Button("cmdCancel", Text(kEditVideoSizeCancelCaption));
    frame.AddButtons({m_ok, m_cancel});
    setTabOrder(m_width, m_height);
    setMinimumWidth(360);

    // Esc presses Cancel, as QDialog rejects on it.
    connect(m_ok, &QPushButton::clicked, this, &EditVideoSizeDialog::cmdOk_Click);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    const VideoSizeEntries entries = OpenVideoSizeEntries(m_model.Text(ChoiceBox::VideoSize));
    m_width->setText(QString::fromStdString(entries.width));
    m_height->setText(QString::fromStdString(entries.height));
    m_width->setFocus();
    m_width->selectAll();
}

void EditVideoSizeDialog::cmdOk_Click()
{
    const Verdict written =
        ConfirmVideoSize(m_model, {m_width->text().toStdString(), m_height->text().toStdString()});
    if (!written) {
        MessageBox::Show(this, written.error());
        m_width->setFocus();
        return;
    }
    accept();
}

} // namespace zantrove
