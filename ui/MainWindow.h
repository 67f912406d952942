// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Clock.h"
#include "conversion/ConversionSession.h"
#include "storage/UserSettings.h"
#include "ui/WizardStatusBar.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QProgressBar;
class QTreeView;

namespace zantrove {

class DeviceStep;
class EncodingSettingsModel;
class HelpActions;
class SettingsBinder;
class OutputStep;
class PictureButton;
class ProcessingWindow;
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
    // applicationFolder holds Profiles/; empty means the running program's folder.
    explicit MainWindow(const Clock& clock = Clock::System(), QWidget* parent = nullptr,
                        std::string applicationFolder = {});
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
    VideoListBinder* VideoListView() const { return m_videoListBinder; }
    VideoListActions* VideoListCommands() const { return m_videoListActions; }
    // The language list with ">", the profile help, the codec tip and the about window.
    HelpActions* HelpCommands() const { return m_helpActions; }

    int CurrentStep() const { return m_currentStep; }
    void ShowWizardStep(int step);
    void FillReviewStep();

    // The wizard's controls, for the windows and tests that work with them.
    DeviceStep* Step1() const { return m_step1; }
    VideoListStep* Step2() const { return m_step2; }
    OutputStep* Step3() const { return m_step3; }
    ReviewStep* Step4() const { return m_step4; }
    PictureButton* PreviousButton() const { return m_previous; }
    PictureButton* NextButton() const { return m_next; }
    PictureButton* ConvertButton() const { return m_convert; }
    QTreeView* VideoFiles() const;
    QProgressBar* AddFilesProgressBar() const { return m_statusBar->AddFilesProgressBar(); }
    QWidget* CancelOverlay() const { return m_statusBar->CancelOverlay(); }
    QLabel* StatusText() const { return m_statusBar->StatusText(); }

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

    const Clock& m_clock;
    std::string m_settingsPath;
    UserSettings m_settings;
    ConversionSession m_session;
    SettingsBinder* m_settingsBinder = nullptr;
    VideoListBinder* m_videoListBinder = nullptr;
    VideoListActions* m_videoListActions = nullptr;
    HelpActions* m_helpActions = nullptr;
    int m_currentStep = 1;

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
