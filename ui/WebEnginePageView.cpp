// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PageView.h"

#include "platform/CurrentProcess.h"

#include <QUrl>
#include <QWebEngineView>

namespace zantrove::PageView {

bool Embedded()
{
    return true;
}

QWidget* Create()
{
    // The page renderer refuses to start for root inside its sandbox; root has nothing left for the
    // sandbox to protect, so it runs without it there (a container or a test machine).
    if (RunsAsAdministrator() && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    auto* view = new QWebEngineView;
    view->setMinimumSize(480, 320);
    return view;
}

void Navigate(QWidget* view, const QString& address)
{
    static_cast<QWebEngineView*>(view)->setUrl(QUrl(address));
}

QString Address(const QWidget* view)
{
    return static_cast<const QWebEngineView*>(view)->url().toString();
}

} // namespace zantrove::PageView
