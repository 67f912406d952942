// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ConversionStarter.h"

#include "app/DebugLog.h"
#include "conversion/ConversionSession.h"
#include "platform/MessageBox.h"

#include <QFutureWatcher>
#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>

namespace zantrove {

ConversionStarter::ConversionStarter(ConversionSession& session, std::string settingsFolder, QWidget* window)
    : QObject(window), m_session(session), m_settingsFolder(std::move(settingsFolder)), m_window(window)
{
}

void ConversionStarter::Start()
{
    if (const Verdict start = m_session.CheckStart(); !start) {
        Refuse(start.error());
        return;
    }
    // A hung ffmpeg holds the check up to its time limit, so it never runs on the window's thread.
    // A window closed meanwhile takes this starter and the answer's watcher along.
    auto* watcher = new QFutureWatcher<Verdict>(this);
    connect(watcher, &QFutureWatcher<Verdict>::finished, this, [this, watcher] {
        watcher->deleteLater();
        Continue(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(m_session.EncoderCheck()));
}

void ConversionStarter::Refuse(const UserMessage& message)
{
    MessageBox::Show(m_window, message);
    emit Refused();
    deleteLater();
}

void ConversionStarter::Continue(const Verdict& encoderCheck)
{
    if (!encoderCheck) {
        Refuse(encoderCheck.error());
        return;
    }
    DebugEntry debug;
    if (!ApplicationLog().LogPath().empty())
        debug = [](const std::string& text) { ApplicationLog().LogEvent(text, DebugLog::Information); };
    auto prepared = m_session.Prepare(m_settingsFolder, debug);
    if (!prepared) {
        Refuse(prepared.error());
        return;
    }
    emit Prepared(std::make_shared<ConversionRun>(std::move(*prepared)));
    deleteLater();
}

} // namespace zantrove
