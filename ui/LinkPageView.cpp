// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PageView.h"

#include "ui/OpenWithDesktop.h"

#include <QLabel>

namespace zantrove::PageView {

bool Embedded()
{
    return false;
}

// Without an embedded view the page is one click away in the default browser.
QWidget* Create()
{
    auto* link = new QLabel;
    link->setTextFormat(Qt::RichText);
    link->setOpenExternalLinks(false);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setAlignment(Qt::AlignCenter);
    link->setWordWrap(true);
    link->setMinimumSize(480, 120);
    link->setAutoFillBackground(true);
    link->setBackgroundRole(QPalette::Base);
    link->setFrameShape(QFrame::StyledPanel);
    QObject::connect(link, &QLabel::linkActivated, link, [link](const QString& address) {
        OpenWithDesktop(link->window(), address.toStdString());
    });
    return link;
}

void Navigate(QWidget* view, const QString& address)
{
    auto* link = static_cast<QLabel*>(view);
    link->setProperty("address", address);
    link->setText(QStringLiteral("Open the translated text in your web browser:<br><a href=\"%1\">%2</a>")
                      .arg(address.toHtmlEscaped(), address.toHtmlEscaped()));
    link->setToolTip(address);
}

QString Address(const QWidget* view)
{
    return view->property("address").toString();
}

} // namespace zantrove::PageView
