// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ProcessingWindow.h"

#include "app/DebugLog.h"
#include "conversion/BatchOutcome.h"
#include "conversion/ConversionScript.h"
#include "conversion/LibraryReport.h"
#include "conversion/ProcessTermination.h"
#include "platform/ConsoleLauncher.h"
#include "platform/DesktopNotification.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/QtConsoleLauncher.h"
#include "storage/AtomicFile.h"
#include "storage/FileUtilities.h"
#include "ui/DialogFrame.h"
#include "ui/DialogHeader.h"
#include "ui/ErrorWindow.h"
#include "ui/MainWindow.h"
#include "ui/ModalWindow.h"
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
#include <QVBoxLayout>

namespace zantrove {

namespace {
ProcessingWindow::LauncherFactory& Factory()
{
    static ProcessingWindow::LauncherFactory factory;
    return factory;
}

// The script lies in the settings folder beside the staged encoder.
std::string FolderOf(const std::string& scriptPath)
{
    return scriptPath.substr(0, scriptPath.rfind(kPathSeparator));
}
} // namespace

void ProcessingWindow::SetLauncherFactory(LauncherFactory factory)
{
    Factory() = std::move(factory);
}

ProcessingWindow::ProcessingWindow(MainWindow& main, std::vector<ConversionProgress::Row> rows,
                                   std::string scriptPath, std::string outputFolder,
                                   std::vector<std::int32_t> outputSeconds, const Clock& clock)
    : QDialog(&main), m_main(main), m_progress(rows, EncoderLineStart(FolderOf(scriptPath))),
      m_estimate(std::move(outputSeconds), clock), m_scriptPath(std::move(scriptPath)),
      m_outputFolder(std::move(outputFolder))
{
    setObjectName("frmProcessing");
    for (const ConversionProgress::Row& row : rows)
        m_sources.push_back(row.filepath);
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
    frame.Body()->addWidget(m_status);
    frame.Body()->addWidget(m_log, 1);
    frame.AddButtons({m_openFolder, m_cancel}, {m_shutdown});

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
    m_estimate.Start();
    m_launcher = Factory() ? Factory()() : std::make_unique<QtConsoleLauncher>();
    m_launcher->SetScript(m_scriptPath);
    m_launcher->SetDataReceived([this](const std::string& piece) { OnDataReceived(piece); });
    m_launcher->SetProcessEnded([this] { OnProcessEnded(); });
    const ConsoleLauncher::StartStatus status = m_launcher->Start();
    if (status == ConsoleLauncher::AlreadyRunning) {
        MessageBox::Show(this, {MessageIcon::Critical, "Zantrove is already converting one or more files!"});
    } else if (status == ConsoleLauncher::CouldNotStart) {
        MessageBox::Show(this, {MessageIcon::Critical, "An error occured!\rError Details: " +
                                                           std::to_string(m_launcher->LastError())});
    }
}

void ProcessingWindow::Show()
{
    // The captions stay; the counts go beside them.
    const std::string counts = m_outcome ? " " + m_outcome->CountText() : std::string();
    setWindowTitle(Text(m_progress.Caption() + counts));
    m_currentFile->setText(Text(m_progress.CurrentFileText() + counts));
    m_currentBar->setMaximum(m_progress.CurrentMaximum());
    m_currentBar->setValue(m_progress.CurrentValue());
    m_totalBar->setMaximum(m_progress.TotalMaximum());
    m_totalBar->setValue(m_progress.TotalValue());
    if (m_status->text() != Text(m_progress.StatusText())) {
        m_status->setText(Text(m_progress.StatusText()));
        m_status->setCursorPosition(0); // the line's start, where the frame count is
    }
    m_cancel->setText(Text(m_progress.CancelButtonCaption()));
    m_timeLeft->setText(Text(m_estimate.Text()));
}

void ProcessingWindow::OnDataReceived(const std::string& piece)
{
    const int readings = m_progress.Readings();
    if (m_progress.HandleOutput(piece))
        m_main.CountConvertedFile();
    if (m_progress.Readings() != readings)
        m_estimate.Progress(m_progress.FileNumber(), m_progress.CurrentValue());
    // Appending keeps a long run cheap; the whole text stays in the progress model.
    m_log->moveCursor(QTextCursor::End);
    m_log->insertPlainText(
        QString::fromUtf8(piece.data(), static_cast<qsizetype>(piece.size())).replace('\r', '\n'));
    m_log->verticalScrollBar()->setValue(m_log->verticalScrollBar()->maximum());
    Show();
}

void ProcessingWindow::OnProcessEnded()
{
    m_progress.HandleEnd();
    m_estimate.Finish();
    m_launcher.reset();
    if (!m_outputs.empty())
        m_outcome = JudgeBatch(m_sources, m_outputs, m_progress.ErrorLog());
    Show();
    // Where the library helper put the files: on an iPod or in the playlist.
    const std::string places = LibrarySummary(m_progress.LogText());
    m_library->setText(Text(places));
    m_library->setVisible(!places.empty());
    if (!isActiveWindow()) {
        std::vector<std::string> outputs;
        for (const ConversionProgress::Row& row : m_progress.Rows())
            outputs.push_back(row.outputPath);
        const BatchOutcome outcome =
            m_outcome ? *m_outcome : JudgeBatch(m_sources, outputs, m_progress.ErrorLog());
        SendDesktopNotification(kNotificationTitle, outcome.NotificationText());
    }
    const std::string& errorLog = m_outcome ? m_outcome->errorLog : m_progress.ErrorLog();
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
    if (!m_progress.Finished()) {
        CancelProcess();
        return;
    }
    m_closing = true;
    m_main.ConvertCompleted(false);
    close();
}

void ProcessingWindow::CancelProcess()
{
    if (!ConfirmAndStop())
        return;
    m_closing = true;
    close();
    m_main.ConvertCompleted(true);
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
    if (!log.LogPath().empty()) {
        const std::string dump = JoinPath(m_main.ApplicationSettingsPath(), "Debug2.log");
        log.LogEvent("Dump2 will be saved to: \"" + dump + "\".", DebugLog::Information);
        WriteFileAtomically(dump, m_progress.LogText() + "\r\n");
    }
    return true;
}

void ProcessingWindow::cmdOpenFolder_Click()
{
    Platform::Instance().ShellOpen(m_outputFolder);
}

void ProcessingWindow::closeEvent(QCloseEvent* event)
{
    // The title bar's close button does what the one button says; closing again from here would
    // be ignored by Qt, so the event itself is accepted or refused.
    if (m_closing) {
        event->accept();
    } else if (m_progress.Finished()) {
        m_closing = true;
        m_main.ConvertCompleted(false);
        event->accept();
    } else if (ConfirmAndStop()) {
        m_closing = true;
        event->accept();
        m_main.ConvertCompleted(true);
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
