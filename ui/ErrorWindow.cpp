// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ErrorWindow.h"

#include "app/InfoWindowTexts.h"
#include "ui/DialogHeader.h"
#include "ui/QtText.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zantrove {

ErrorWindow::ErrorWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmError");
    setWindowTitle(Text(kErrorTitle));

    m_errors = new QPlainTextEdit;
    m_errors->setObjectName("txtErrors");
    m_errors->setReadOnly(true);
    // Error lines name whole paths: they keep their length and scroll sideways instead of wrapping.
    m_errors->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_errors->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_errors->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_errors->setMinimumHeight(180);
    m_errors->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    m_close = new QPushButton(Text(kInfoCloseCaption));
    m_close->setObjectName("cmdClose");
    m_close->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_close);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(18, 14, 18, 14);
    body->setSpacing(10);
    body->addWidget(m_errors, 1);
    body->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new DialogHeader(Text(kErrorTitle), Text(kErrorSubtitle)));
    layout->addLayout(body, 1);
    resize(560, 340);

    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

void ErrorWindow::SetErrors(const std::string& errors)
{
    QString text = QString::fromUtf8(errors.data(), static_cast<qsizetype>(errors.size()));
    text.replace("\r\n", "\n").replace('\r', '\n');
    m_errors->setPlainText(text);
}

} // namespace zantrove
