// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ProcessingWindow.h"

#include "app/DebugLog.h"
#include "conversion/ConversionScript.h"
#include "conversion/ProcessTermination.h"
#include "platform/ConsoleLauncher.h"
#include "platform/DesktopNotification.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/QtConsoleLauncher.h"
#include "storage/AtomicFile.h"
#include "ui/DialogFrame.h"
#include "ui/DialogHeader.h"
#include "ui/ErrorWindow.h"
#include "ui/ModalWindow.h"
#include "ui/OpenWithDesktop.h"
#include "ui/QtText.h"
#include "ui/ShutdownWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace zantrove {

namespace {
constexpr int kFileBarSteps = 1000;

ProcessingWindow::LauncherFactory& Factory()
{
    static ProcessingWindow::LauncherFactory factory;
    return factory;
}
} // namespace

void ProcessingWindow::SetLauncherFactory(LauncherFactory factory)
{
    Factory() = std::move(factory);
}

ProcessingWindow::ProcessingWindow(ConversionRun run, std::string outputFolder, QWidget* parent)
    : QDialog(parent), m_run(std::move(run)), m_outputFolder(std::move(outputFolder))
{
    setObjectName("frmProcessing");
    setMinimumWidth(560);

    m_currentFile = new QLabel;
    m_currentFile->setObjectName("lblCurrentFile");
    QFont bold = m_currentFile->font();
    bold.setBold(true);
    m_currentFile->setFont(bold);
    m_currentBar = new QProgressBar;
    m_currentBar->setObjectName("prgCurrent");
    m_totalBar = new QProgressBar;
    m_totalBar->setObjectName("prgTotal");
    m_timeLeft = new QLabel;
    m_timeLeft->setObjectName("lblTimeLeft");
    m_timeLeft->setProperty("role", "stepDescription");
    m_library = new QLabel;
    m_library->setObjectName("lblLibrary");
    m_library->setWordWrap(true);
    m_library->hide();
    // What files that converted had left out, such as picture subtitles that were not drawn in.
    m_notes = new QLabel;
    m_notes->setObjectName("lblNotes");
    m_notes->setWordWrap(true);
    m_notes->hide();
    m_status = new QLineEdit;
    m_status->setObjectName("txtStatus");
    m_status->setReadOnly(true);
    m_log = new QPlainTextEdit;
    m_log->setObjectName("txtLogContents");
    m_log->setReadOnly(true);
    m_log->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_log->setMinimumHeight(150);
    QFont fixed("monospace");
    fixed.setStyleHint(QFont::TypeWriter);
    m_log->setFont(fixed);
    m_shutdown = new QCheckBox("Automatically shutdown computer when done");
    m_shutdown->setObjectName("chkShutdownComputer");
    m_openFolder = new QPushButton("&Open Folder");
    m_openFolder->setObjectName("cmdOpenFolder");
    m_cancel = new QPushButton;
    m_cancel->setObjectName("cmdCancel");

    DialogFrame frame(this, "Converting Video Files", "Please wait while your video files are converted...",
                      8);
    frame.Header()->Picture()->setObjectName("Image1");
    frame.StretchBody();
    frame.Body()->addWidget(m_currentFile);
    frame.Body()->addWidget(m_currentBar);
    frame.Body()->addWidget(new QLabel("All files:"));
    frame.Body()->addWidget(m_totalBar);
    frame.Body()->addWidget(m_timeLeft);
    frame.Body()->addWidget(m_library);
    frame.Body()->addWidget(m_notes);
    frame.Body()->addWidget(m_status);
    frame.Body()->addWidget(m_log, 1);
    frame.AddButtons({m_openFolder, m_cancel}, {m_shutdown});

    m_tick = new QTimer(this);
    m_tick->setInterval(1000);
    connect(m_tick, &QTimer::timeout, this, &ProcessingWindow::Show);
    connect(m_cancel, &QPushButton::clicked, this, &ProcessingWindow::cmdCancel_Click);
    connect(m_openFolder, &QPushButton::clicked, this, &ProcessingWindow::cmdOpenFolder_Click);
    Show();
}

ProcessingWindow::~ProcessingWindow()
{
    if (m_launcher)
        m_launcher->Stop();
}

void ProcessingWindow::StartConversion()
{
    m_run.Start();
    m_tick->start();
    m_launcher = Factory() ? Factory()() : std::make_unique<QtConsoleLauncher>();
    m_launcher->SetScript(m_run.ScriptPath());
    m_launcher->SetDataReceived([this](const std::string& piece) { OnDataReceived(piece); });
    m_launcher->SetProcessEnded([this] { OnProcessEnded(); });
    if (const auto started = m_launcher->Start(); !started)
        MessageBox::Show(this, {MessageIcon::Critical, started.error().Text()});
}

void ProcessingWindow::Show()
{
    const ConversionProgress& progress = m_run.Progress();
    // The captions stay; the counts go beside them.
    const std::string counts = Outcome() ? " " + Outcome()->CountText() : std::string();
    setWindowTitle(Text(progress.Caption() + counts));
    m_currentFile->setText(Text(progress.CurrentFileText() + counts));
    // In thousandths of the file, so a short clip's bar moves with the encoder's fractions of a second.
    m_currentBar->setMaximum(kFileBarSteps);
    m_currentBar->setValue(static_cast<int>(
        std::lround(kFileBarSteps * progress.CurrentSeconds() / std::max(1, progress.CurrentMaximum()))));
    m_totalBar->setMaximum(progress.TotalMaximum());
    m_totalBar->setValue(progress.TotalValue());
    const std::string silence = m_run.SilenceText();
    const QString status = Text(silence.empty() ? progress.StatusText() : silence);
    if (m_status->text() != status) {
        m_status->setText(status);
        m_status->setCursorPosition(0); // the line's start, where the frame count is
    }
    m_cancel->setText(Text(progress.CancelButtonCaption()));
    m_timeLeft->setText(Text(m_run.TimeEstimate().Text()));
}

void ProcessingWindow::OnDataReceived(const std::string& piece)
{
    if (m_run.HandleOutput(piece))
        emit FileStarted();
    // Appending keeps a long run cheap; the whole text stays in the progress model.
    m_log->moveCursor(QTextCursor::End);
    m_log->insertPlainText(
        QString::fromUtf8(piece.data(), static_cast<qsizetype>(piece.size())).replace('\r', '\n'));
    m_log->verticalScrollBar()->setValue(m_log->verticalScrollBar()->maximum());
    Show();
}

void ProcessingWindow::OnProcessEnded()
{
    m_run.HandleEnd();
    m_tick->stop();
    m_launcher.reset();
    m_run.RemoveScript(!ApplicationLog().LogPath().empty());
    Show();
    // Where the library helper put the files: on an iPod or in the playlist.
    const std::string places = m_run.LibraryPlaces();
    m_library->setText(Text(places));
    m_library->setVisible(!places.empty());
    const std::string& notes = m_run.Progress().Notes();
    m_notes->setText(Text(notes.substr(0, notes.find_last_not_of('\n') + 1)));
    m_notes->setVisible(!notes.empty());
    if (!isActiveWindow())
        SendDesktopNotification(kNotificationTitle, m_run.JudgedOutcome().NotificationText());
    const std::string& errorLog = m_run.ErrorLog();
    if (errorLog.empty()) {
        ShowShutdownCountdown();
        return;
    }
    // Modal without a nested event loop: the countdown follows once the error window is closed.
    auto* errors = new ErrorWindow(this);
    errors->SetErrors(errorLog);
    connect(errors, &QDialog::finished, this, &ProcessingWindow::ShowShutdownCountdown);
    OpenModal(errors);
}

void ProcessingWindow::ShowShutdownCountdown()
{
    if (!m_shutdown->isChecked())
        return;
    OpenModal(new ShutdownWindow(this));
}

void ProcessingWindow::cmdCancel_Click()
{
    if (!m_run.Progress().Finished()) {
        CancelProcess();
        return;
    }
    m_closing = true;
    emit Completed(false);
    close();
}

void ProcessingWindow::CancelProcess()
{
    if (!ConfirmAndStop())
        return;
    m_closing = true;
    close();
    emit Completed(true);
}

bool ProcessingWindow::ConfirmAndStop()
{
    const UserMessage question{MessageIcon::Question,
                               std::string("Are you sure you want to cancel?") + kCrLf +
                                   "Video files that have been converted already will not "
                                   "be removed."};
    if (MessageBox::Ask(this, question) != MessageBox::Yes)
        return false;
    if (m_launcher) {
        // This run's processes only: a conversion beside it keeps its encoder. The group is ended as
        // a whole; the encoder's name is looked for in it only as a last resort.
        const int group = m_launcher->ProcessGroup();
        m_launcher->Stop();
        TerminateProcessByName(Platform::Instance(), "Zantrove.exe", group);
        m_launcher.reset();
    }
    DebugLog& log = ApplicationLog();
    m_run.RemoveScript(!log.LogPath().empty());
    if (!log.LogPath().empty()) {
        const std::string dump = RunDumpPath(m_run.ScriptPath(), kConsoleDumpStem);
        log.LogEvent("Dump2 will be saved to: \"" + dump + "\".", DebugLog::Information);
        if (const auto dumped = WriteFileAtomically(dump, m_run.Progress().LogText() + "\r\n"); !dumped)
            log.LogEvent(dumped.error().Text(), DebugLog::Information);
    }
    return true;
}

void ProcessingWindow::cmdOpenFolder_Click()
{
    OpenWithDesktop(this, m_outputFolder);
}

void ProcessingWindow::closeEvent(QCloseEvent* event)
{
    // The title bar's close button does what the one button says; closing again from here would
    // be ignored by Qt, so the event itself is accepted or refused.
    if (m_closing) {
        event->accept();
    } else if (m_run.Progress().Finished()) {
        m_closing = true;
        emit Completed(false);
        event->accept();
    } else if (ConfirmAndStop()) {
        m_closing = true;
        event->accept();
        emit Completed(true);
    } else {
        event->ignore();
    }
}

void ProcessingWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        cmdCancel_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace zantrove
