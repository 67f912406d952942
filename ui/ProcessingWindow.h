// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/BatchOutcome.h"
#include "conversion/BatchTimeEstimate.h"
#include "conversion/ConversionProgress.h"

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

namespace zantrove {

class ConsoleLauncher;
class MainWindow;

// frmProcessing: runs the conversion script and shows its progress, errors and end.
class ProcessingWindow : public QDialog
{
    Q_OBJECT
public:
    using LauncherFactory = std::function<std::unique_ptr<ConsoleLauncher>()>;
    // Test seam: the launcher every later window uses; an empty factory restores the real one.
    static void SetLauncherFactory(LauncherFactory factory);

    // outputSeconds: each row's length in the output, for the batch's time left.
    ProcessingWindow(MainWindow& main, std::vector<ConversionProgress::Row> rows, std::string scriptPath,
                     std::string outputFolder, std::vector<std::int32_t> outputSeconds = {},
                     const Clock& clock = Clock::System());
    ~ProcessingWindow() override;

    // Each row's output file, so that at the end a row without one counts as failed even when its
    // encoder said nothing.
    void SetOutputPaths(std::vector<std::string> outputs) { m_outputs = std::move(outputs); }
    // Starts the script; shows why when it cannot.
    void StartConversion();
    void CancelProcess();

    const ConversionProgress& Progress() const { return m_progress; }
    const BatchTimeEstimate& TimeEstimate() const { return m_estimate; }
    // Known once the script has ended, when the output paths were given.
    const std::optional<BatchOutcome>& Outcome() const { return m_outcome; }
    QLabel* CurrentFile() const { return m_currentFile; }
    QLabel* TimeLeft() const { return m_timeLeft; }
    QLabel* Library() const { return m_library; }
    QProgressBar* CurrentBar() const { return m_currentBar; }
    QProgressBar* TotalBar() const { return m_totalBar; }
    QLineEdit* Status() const { return m_status; }
    QPlainTextEdit* LogContents() const { return m_log; }
    QCheckBox* ShutdownComputer() const { return m_shutdown; }
    QPushButton* OpenFolderButton() const { return m_openFolder; }
    QPushButton* CancelButton() const { return m_cancel; }

public slots:
    void cmdCancel_Click();
    void cmdOpenFolder_Click();

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

    MainWindow& m_main;
    ConversionProgress m_progress;
    BatchTimeEstimate m_estimate;
    std::string m_scriptPath;
    std::string m_outputFolder;
    std::vector<std::string> m_sources;
    std::vector<std::string> m_outputs;
    std::optional<BatchOutcome> m_outcome;
    std::unique_ptr<ConsoleLauncher> m_launcher;
    bool m_closing = false;

    QLabel* m_currentFile;
    QProgressBar* m_currentBar;
    QProgressBar* m_totalBar;
    QLabel* m_timeLeft;
    QLabel* m_library;
    QLineEdit* m_status;
    QPlainTextEdit* m_log;
    QCheckBox* m_shutdown;
    QPushButton* m_openFolder;
    QPushButton* m_cancel;
};

} // namespace zantrove
