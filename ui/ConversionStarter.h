// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/UserMessage.h"

#include <QObject>

#include <memory>
#include <string>

class QWidget;

namespace zantrove {

class ConversionRun;
class ConversionSession;

// Convert on the last step: the session's start checks, then its encoder check beside the window,
// which stays responsive meanwhile, then the script. Refusals are shown over the window; whoever
// listens opens the progress window for the prepared run. Deletes itself once it has answered.
class ConversionStarter : public QObject
{
    Q_OBJECT
public:
    ConversionStarter(ConversionSession& session, std::string settingsFolder, QWidget* window);
    void Start();

signals:
    void Refused();
    void Prepared(std::shared_ptr<ConversionRun> run);

private:
    void Continue(const Verdict& encoderCheck);
    void Refuse(const UserMessage& message);

    ConversionSession& m_session;
    std::string m_settingsFolder;
    QWidget* m_window;
};

} // namespace zantrove
