// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Clock.h"
#include "conversion/ConversionSession.h"
#include "storage/UserSettings.h"
#include "ui/ProcessingWindow.h"
#include "ui/WizardStatusBar.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace zantrove {

class DeviceStep;
class EncodingSettingsModel;
class HelpActions;
class SettingsBinder;
class OutputStep;
class PictureButton;
class ReviewStep;
class StepMenu;
class StepPanel;
class VideoListActions;
class VideoListBinder;
class VideoListStep;

// The program's main window: a four-step wizard that owns the working state of a conversion.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // applicationFolder holds Profiles/; empty means the running program's folder. makeLauncher: what
    // the progress windows run their scripts with.
    explicit MainWindow(const Clock& clock = Clock::System(), QWidget* parent = nullptr,
                        std::string applicationFolder = {},
                        ProcessingWindow::LauncherFactory makeLauncher = ProcessingWindow::QtLauncher);
    ~MainWindow() override;

    // Start-up work in its fixed order: folders, debug mode, settings, first device, step 1.
    // arguments: the program's arguments after its own name.
    // False when there is no settings folder: the messages have been shown and the window must close.
    [[nodiscard]] bool Load(const std::vector<std::string>& arguments);

    const std::string& ApplicationSettingsPath() const { return m_settingsPath; }
    QString SelectedDevice() const { return QString::fromStdString(m_session.Device()); }
    bool AllowVideoSizeChange() const { return m_session.Settings().AllowVideoSizeChange(); }
    std::int16_t NumberOfConvertedFiles() const { return m_settings.numberOfConvertedFiles; }
    void SetNumberOfConvertedFiles(std::int16_t count) { m_settings.numberOfConvertedFiles = count; }
    // One more file started; the count stays at its 16-bit limit instead of wrapping.
    void CountConvertedFile() { zantrove::CountConvertedFile(m_settings); }

    // Checks the start, writes the script and opens the progress window over this one.
    void StartConversionProces();
    void ConvertCompleted(bool Cancelled);
    // The progress window for a prepared run, bound to this window; not yet shown or started.
    ProcessingWindow* MakeProcessingWindow(ConversionRun run);

    void SwitchDevice(const QString& deviceName)
    {
        m_session.Settings().SwitchDevice(deviceName.toStdString());
    }
    // What the conversion is made of; the steps show it and write into it.
    ConversionSession& Session() { return m_session; }
    // The encoding settings the panel shows and the conversion reads.
    EncodingSettingsModel& EncodingSettings() { return m_session.Settings(); }
    // The rows of step 2; lvwVideoFiles shows them through the binder.
    VideoListModel& VideoList() { return m_session.Rows(); }
    // Adding files to the rows, and the list's menu and buttons.
    VideoListActions* VideoListCommands() const { return m_videoListActions; }

    int CurrentStep() const { return m_currentStep; }
    void ShowWizardStep(int step);
    void FillReviewStep();

public slots:
    void bttnNext_Click();
    void bttnPrevious_Click();
    void bttnChooseOutputDirectory_Click();
    void imgEditVideoSize_Click();

signals:
    void AboutRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowForwardButton(PictureButton* shown, PictureButton* hidden);
    // The checks and the script of a start, once the press that asked for it has returned.
    void ContinueConversionStart();
    // Refused or over: Previous and Convert come back, and the next press starts again.
    void ConversionEnded();
    // The session's output folder in step 3's box, which writes what is typed back to the session.
    void ShowOutputFolder();

    const Clock& m_clock;
    ProcessingWindow::LauncherFactory m_makeLauncher;
    std::string m_settingsPath;
    UserSettings m_settings;
    ConversionSession m_session;
    SettingsBinder* m_settingsBinder = nullptr;
    VideoListBinder* m_videoListBinder = nullptr;
    VideoListActions* m_videoListActions = nullptr;
    HelpActions* m_helpActions = nullptr;
    int m_currentStep = 1;
    bool m_converting = false; // from the press of Convert until the run is over or refused

    DeviceStep* m_step1;
    VideoListStep* m_step2;
    OutputStep* m_step3;
    ReviewStep* m_step4;
    std::array<StepPanel*, 4> m_steps{};
    StepMenu* m_stepMenu;
    // The bottom bar's buttons, which the wizard shows and hides.
    PictureButton* m_previous = nullptr;
    PictureButton* m_next = nullptr;
    PictureButton* m_convert = nullptr;
    WizardStatusBar* m_statusBar;
};

} // namespace zantrove
