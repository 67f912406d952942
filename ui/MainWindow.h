// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Clock.h"
#include "conversion/ConversionSession.h"
#include "storage/UserSettings.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
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
    void Load(const std::vector<std::string>& arguments);

    const std::string& ApplicationSettingsPath() const { return m_settingsPath; }
    QString SelectedDevice() const;
    bool AllowVideoSizeChange() const;
    void SetAllowVideoSizeChange(bool allow);
    std::int16_t NumberOfConvertedFiles() const { return m_settings.numberOfConvertedFiles; }
    void SetNumberOfConvertedFiles(std::int16_t count) { m_settings.numberOfConvertedFiles = count; }
    // One more file started; the count stays at its 16-bit limit instead of wrapping.
    void CountConvertedFile();

    // Checks the start, writes the script and opens the progress window over this one.
    void StartConversionProces();
    void ConvertCompleted(bool Cancelled);
    // The progress window for a prepared run, bound to this window; not yet shown or started.
    ProcessingWindow* MakeProcessingWindow(ConversionRun run);

    void SwitchDevice(const QString& deviceName);
    void LoadProfile(std::int16_t ListIndex);
    // What the conversion is made of; the steps show it and write into it.
    ConversionSession& Session() { return m_session; }
    // The encoding settings the panel shows and the conversion reads.
    EncodingSettingsModel& EncodingSettings() { return m_session.Settings(); }
    SettingsBinder* SettingsControls() const { return m_settingsBinder; }
    // The rows of step 2; lvwVideoFiles shows them through the binder.
    VideoListModel& VideoList() { return m_session.Rows(); }
    VideoListBinder* VideoListView() const { return m_videoListBinder; }
    VideoListActions* VideoListCommands() const { return m_videoListActions; }
    // The language list with ">", the profile help, the codec tip and the about window.
    HelpActions* HelpCommands() const { return m_helpActions; }

    int CurrentStep() const { return m_currentStep; }
    void ShowWizardStep(int step);
    void HideWizardSteps();
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
    QProgressBar* AddFilesProgressBar() const { return m_addFilesProgress; }
    QWidget* CancelOverlay() const { return m_cancelOverlay; }
    QLabel* StatusText() const { return m_statusText; }

public slots:
    void bttnNext_Click();
    void bttnPrevious_Click();
    void bttnChooseOutputDirectory_Click();
    void imgEditVideoSize_Click();
    void bttnConvert_Click();

signals:
    void AboutRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildLeftMenu();
    QWidget* BuildBottom();
    void BuildStatusBar();
    void UpdateLeftMenu();
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
    std::array<QLabel*, 4> m_stepMarks{};
    PictureButton* m_previous = nullptr;
    PictureButton* m_next = nullptr;
    PictureButton* m_convert = nullptr;
    QLabel* m_versionPanel = nullptr;
    QLabel* m_statusText = nullptr;
    QProgressBar* m_addFilesProgress = nullptr;
    QWidget* m_cancelOverlay = nullptr;
    QLabel* m_cancelLabel = nullptr;
};

} // namespace zantrove
