// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/EditVideoSizeDialog.h"

#include "devices/EncodingSettingsModel.h"
#include "devices/VideoSizeEdit.h"
#include "platform/MessageBox.h"
#include "ui/DialogHeader.h"
#include "ui/QtText.h"

#include <QFormLayout>
#include <QHBoxLayout>
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
    auto* form = new QFormLayout;
    form->addRow(widthLabel, m_width);
    form->addRow(heightLabel, m_height);

    m_ok = new QPushButton(Text(kEditVideoSizeOkCaption));
    m_ok->setObjectName("cmdOk");
    m_ok->setDefault(true);
    m_cancel = new QPushButton(Text(kEditVideoSizeCancelCaption));
    m_cancel->setObjectName("cmdCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(18, 14, 18, 14);
    body->addWidget(intro);
    body->addLayout(form);
    body->addSpacing(8);
    body->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new DialogHeader(Text(kEditVideoSizeTitle), Text(kEditVideoSizeSubtitle)));
    layout->addLayout(body);
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
    const auto error =
        ConfirmVideoSize(m_model, {m_width->text().toStdString(), m_height->text().toStdString()});
    if (error) {
        MessageBox::Show(this, *error);
        m_width->setFocus();
        return;
    }
    accept();
}

} // namespace zantrove
