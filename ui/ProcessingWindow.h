// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/ConversionRun.h"
#include "platform/ConsoleLauncher.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace zantrove {

// frmProcessing: runs the conversion script and shows its progress, errors and end.
class ProcessingWindow : public QDialog
{
    Q_OBJECT
public:
    // Makes the launcher that runs the script once the conversion starts.
    using LauncherFactory = std::function<std::unique_ptr<ConsoleLauncher>()>;
    // The windows' own: the event loop delivers the script's output.
    static std::unique_ptr<ConsoleLauncher> QtLauncher();

    // outputFolder: what "&Open Folder" opens.
    ProcessingWindow(ConversionRun run, std::string outputFolder, LauncherFactory makeLauncher,
                     QWidget* parent = nullptr);
    ~ProcessingWindow() override;

    // Starts the script; shows why when it cannot.
    void StartConversion();
    void CancelProcess();

    const ConversionProgress& Progress() const { return m_run.Progress(); }
    const BatchTimeEstimate& TimeEstimate() const { return m_run.TimeEstimate(); }
    // Known once the script has ended, when the rows carry their output paths.
    const std::optional<BatchOutcome>& Outcome() const { return m_run.Outcome(); }

public slots:
    void cmdCancel_Click();
    void cmdOpenFolder_Click();

signals:
    // The script started the next file.
    void FileStarted();
    // The window goes: after the run ended and was closed, or cancelled.
    void Completed(bool cancelled);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnDataReceived(const std::string& piece);
    void OnProcessEnded();
    // The cancel question, then the encoder and the script ended; false when the user said No.
    bool ConfirmAndStop();
    // The countdown, when asked for, once the run's errors have been read.
    void ShowShutdownCountdown();
    void Show();

    ConversionRun m_run;
    std::string m_outputFolder;
    LauncherFactory m_makeLauncher;
    std::unique_ptr<ConsoleLauncher> m_launcher;
    bool m_closing = false;

    QLabel* m_currentFile;
    QProgressBar* m_currentBar;
    QProgressBar* m_totalBar;
    QLabel* m_timeLeft;
    QLabel* m_library;
    QLabel* m_notes;
    QLineEdit* m_status;
    QPlainTextEdit* m_log;
    QCheckBox* m_shutdown;
    QPushButton* m_openFolder;
    QPushButton* m_cancel;
    // Once a second while the run goes on, so the elapsed time runs and a silent encoder shows.
    QTimer* m_tick;
};

} // namespace zantrove
