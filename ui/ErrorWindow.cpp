// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ErrorWindow.h"

#include "app/InfoWindowTexts.h"
#include "ui/DialogFrame.h"
#include "ui/QtText.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zantrove {

ErrorWindow::ErrorWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmError");
    setWindowTitle(Text(kErrorTitle));
    DialogFrame frame(this, Text(kErrorTitle), Text(kErrorSubtitle), 10);
    frame.StretchBody();

    m_errors = new QPlainTextEdit;
    m_errors->setObjectName("txtErrors");
    m_errors->setAccessibleName(QStringLiteral("Errors"));
    m_errors->setReadOnly(true);
    // A reason after a long path is read without scrolling sideways; a path without blanks breaks anywhere.
    m_errors->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_errors->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_errors->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_errors->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_errors->setMinimumHeight(180);
    m_errors->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    frame.Body()->addWidget(m_errors, 1);

    m_close = DialogFrame::Button("cmdClose", Text(kInfoCloseCaption), DialogFrame::Press::Default);
    frame.AddButtons({m_close});
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
