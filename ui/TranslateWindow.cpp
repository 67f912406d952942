// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TranslateWindow.h"

#include "app/InfoWindowTexts.h"
#include "platform/Platform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#ifdef ZANTROVE_WEBENGINE
#include <QWebEngineView>
#include <unistd.h>
#endif

namespace zantrove {

namespace {
QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

#ifdef ZANTROVE_WEBENGINE
QWidget* MakePageView()
{
    // The page renderer refuses to start for root inside its sandbox; root has nothing left for the
    // sandbox to protect, so it runs without it there (a container or a test machine).
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    auto* view = new QWebEngineView;
    view->setMinimumSize(480, 320);
    return view;
}
#else
// Without an embedded view the page is one click away in the default browser.
QWidget* MakePageView()
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
    QObject::connect(link, &QLabel::linkActivated, link,
                     [](const QString& address) { Platform::Instance().ShellOpen(address.toStdString()); });
    return link;
}
#endif
} // namespace

bool TranslateWindow::HasEmbeddedView()
{
#ifdef ZANTROVE_WEBENGINE
    return true;
#else
    return false;
#endif
}

TranslateWindow::TranslateWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmTranslate");
    setWindowTitle(Text(kTranslateTitle));

    m_note = new QLabel(Text(kTranslateNote));
    m_note->setObjectName("lblNote");
    m_note->setTextFormat(Qt::PlainText);
    m_note->setWordWrap(true);

    m_view = MakePageView();
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
#ifdef ZANTROVE_WEBENGINE
    static_cast<QWebEngineView*>(m_view)->setUrl(QUrl(address));
#else
    auto* link = static_cast<QLabel*>(m_view);
    link->setProperty("address", address);
    link->setText(QStringLiteral("Open the translated text in your web browser:<br><a href=\"%1\">%2</a>")
                      .arg(address.toHtmlEscaped(), address.toHtmlEscaped()));
    link->setToolTip(address);
#endif
}

QString TranslateWindow::Address() const
{
#ifdef ZANTROVE_WEBENGINE
    return static_cast<QWebEngineView*>(m_view)->url().toString();
#else
    return m_view->property("address").toString();
#endif
}

} // namespace zantrove
