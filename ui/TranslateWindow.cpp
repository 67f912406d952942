// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TranslateWindow.h"

#include "app/InfoWindowTexts.h"
#include "ui/PageView.h"
#include "ui/QtText.h"

#include <QHBoxLayout>
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

    m_note = new QLabel(Text(kTranslateNote));
    m_note->setObjectName("lblNote");
    m_note->setTextFormat(Qt::PlainText);
    m_note->setWordWrap(true);

    m_view = PageView::Create();
    m_view->setObjectName("brwsrTranslate");

    m_close = new QPushButton(Text(kInfoCloseCaption));
    m_close->setObjectName("cmdClose");
    m_close->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(10);
    layout->addWidget(m_note);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);
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
