// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TranslateWindow.h"

#include "app/InfoWindowTexts.h"
#include "ui/DialogFrame.h"
#include "ui/PageView.h"
#include "ui/QtText.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zantrove {

bool TranslateWindow::HasEmbeddedView()
{
    return PageView::Embedded();
}

TranslateWindow::TranslateWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmTranslate");
    setWindowTitle(Text(kTranslateTitle));
    DialogFrame frame(this, 10);

    m_note = new QLabel(Text(kTranslateNote));
    m_note->setObjectName("lblNote");
    m_note->setTextFormat(Qt::PlainText);
    m_note->setWordWrap(true);

    m_view = PageView::Create();
    m_view->setObjectName("brwsrTranslate");
    frame.Body()->addWidget(m_note);
    frame.Body()->addWidget(m_view, 1);

    m_close = DialogFrame::Button("cmdClose", Text(kInfoCloseCaption), DialogFrame::Press::Default);
    frame.AddButtons({m_close});
    resize(HasEmbeddedView() ? 720 : 560, HasEmbeddedView() ? 560 : 260);

    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

void TranslateWindow::Navigate(const QString& address)
{
    PageView::Navigate(m_view, address);
}

QString TranslateWindow::Address() const
{
    return PageView::Address(m_view);
}

} // namespace zantrove
