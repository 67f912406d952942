// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"

#include "app/DebugLog.h"
#include "app/Startup.h"
#include "app/WindowHelp.h"
#include "conversion/ConversionStart.h"
#include "conversion/EncoderSettings.h"
#include "conversion/OutputPreview.h"
#include "conversion/OutputSizeEstimate.h"
#include "devices/DeviceCatalog.h"
#include "devices/ProfileFile.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "tools/library/IpodSpace.h"
#include "ui/Artwork.h"
#include "ui/ClickLabel.h"
#include "ui/ConversionStarter.h"
#include "ui/DeviceStep.h"
#include "ui/EditVideoSizeDialog.h"
#include "ui/HelpActions.h"
#include "ui/ModalWindow.h"
#include "ui/OutputStep.h"
#include "ui/PictureButton.h"
#include "ui/PreviewVideoDialog.h"
#include "ui/ProcessingWindow.h"
#include "ui/ReviewStep.h"
#include "ui/SettingsBinder.h"
#include "ui/StepMenu.h"
#include "ui/VideoListActions.h"
#include "ui/VideoListBinder.h"
#include "ui/VideoListStep.h"
#include "ui/WizardButtonBar.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace zantrove {

MainWindow::MainWindow(const Clock& clock, QWidget* parent, std::string applicationFolder)
    : QMainWindow(parent), m_clock(clock),
      m_session(applicationFolder.empty() ? Platform::Instance().ApplicationFolder()
                                          : std::move(applicationFolder))
{
    setObjectName("frmMain");
    setWindowTitle("Zantrove");
    ::InitZantroveArtwork();
    setWindowIcon(QIcon(":/app/zantrove.svg"));

    m_step1 = new DeviceStep;
    m_step2 = new VideoListStep;
    m_step3 = new OutputStep;
    m_step4 = new ReviewStep;
    m_steps = {m_step1, m_step2, m_step3, m_step4};

    // All four panels share one place; exactly one is visible at a time.
    auto* stepArea = new QWidget;
    auto* stepGrid = new QGridLayout(stepArea);
    stepGrid->setContentsMargins(0, 0, 0, 0);
    for (StepPanel* step : m_steps)
        stepGrid->addWidget(step, 0, 0);

    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    rightLayout->addWidget(stepArea, 1);
    auto* buttonBar = new WizardButtonBar;
    m_previous = buttonBar->PreviousButton();
    m_next = buttonBar->NextButton();
    m_convert = buttonBar->ConvertButton();
    rightLayout->addWidget(buttonBar);

    auto* central = new QWidget;
    auto* centralLayout = new QHBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);
    m_stepMenu = new StepMenu;
    centralLayout->addWidget(m_stepMenu);
    centralLayout->addWidget(right, 1);
    setCentralWidget(central);
    m_statusBar = new WizardStatusBar;
    setStatusBar(m_statusBar);
    connect(buttonBar, &WizardButtonBar::AboutRequested, this, &MainWindow::AboutRequested);
    connect(m_statusBar, &WizardStatusBar::AboutRequested, this, &MainWindow::AboutRequested);

    m_settingsBinder = new SettingsBinder(m_session.Settings(), m_step1, m_step3->Profiles(),
                                          m_step3->AdvancedPanel(), this);
    connect(m_settingsBinder, &SettingsBinder::EditVideoSizeRequested, this,
            &MainWindow::imgEditVideoSize_Click);
    connect(m_step1, &DeviceStep::DeviceClicked, this, &MainWindow::SwitchDevice);
    connect(m_next, &QToolButton::clicked, this, &MainWindow::bttnNext_Click);
    connect(m_previous, &QToolButton::clicked, this, &MainWindow::bttnPrevious_Click);
    connect(m_convert, &QToolButton::clicked, this, &MainWindow::StartConversionProces);
    connect(m_step3->ChooseOutputDirectoryButton(), &QToolButton::clicked, this,
            &MainWindow::bttnChooseOutputDirectory_Click);
    connect(m_step3->OutputDirectory(), &QLineEdit::textChanged, this,
            [this](const QString& folder) { m_session.SetOutputFolder(folder.toStdString()); });
    connect(m_step3->AddToLibrary(), &QCheckBox::toggled, this,
            [this](bool add) { m_session.SetAddToLibrary(add); });
    // Step 2: the list shows the session's rows; the actions wire its menu, buttons, drops and the cancel
    // label.
    m_videoListBinder = new VideoListBinder(m_session.Rows(), m_step2->List(), this);
    m_videoListActions =
        new VideoListActions(*m_videoListBinder,
                             {m_step2->AddButton(), m_step2->RemoveButton(), m_step2->TrimButton(),
                              m_statusBar->AddFilesProgressBar(), m_statusBar->CancelOverlay(),
                              m_statusBar->CancelLabel(), m_statusBar->StatusText(), this},
                             m_settingsPath, this);
    connect(m_videoListActions, &VideoListActions::StatusPanelCovered, m_statusBar->VersionPanel(),
            &QWidget::setHidden);
    // The preview renders with the settings as they stand when it opens.
    m_videoListActions->SetPreview(
        [this] {
            const EncodingSettingsModel& settings = m_session.Settings();
            return PreviewContext{EncoderComponentPath(settings.ApplicationFolder()),
                                  TakeEncoderSettings(settings, m_session.OutputFolder()),
                                  ProfileFileLookup(settings.ProfileFile()), settings.SelectedDevice()};
        },
        m_step2->PreviewButton());
    m_helpActions = new HelpActions(*buttonBar->Languages(), *buttonBar->TranslateButton(), *this,
                                    [this] { return m_currentStep; });
    connect(m_step3->HelpButton(), &QToolButton::clicked, m_helpActions, &HelpActions::imgHelp_Click);
    connect(m_step4->TipLink(), &ClickLabel::clicked, m_helpActions, &HelpActions::lblTipLink_Click);
    connect(this, &MainWindow::AboutRequested, m_helpActions, &HelpActions::lblAbout_Click);

    // No larger than the screen it opens on; the steps scroll, so no minimum keeps it bigger.
    resize(QSize(900, 640).boundedTo(screen()->availableGeometry().size()));
    ShowWizardStep(1);
}

MainWindow::~MainWindow()
{
    // The binder listens to the model, which goes before the window's children do.
    delete m_settingsBinder;
    delete m_videoListActions;
    delete m_videoListBinder;
}

bool MainWindow::Load(const std::vector<std::string>& arguments)
{
    Platform& platform = Platform::Instance();
    const SettingsFolder folder = ResolveSettingsFolder(platform);
    m_settingsPath = folder.path;
    for (const UserMessage& message : folder.notices)
        MessageBox::Show(this, message);
    if (m_settingsPath.empty())
        return false;

    if (IsDebugSwitch(arguments))
        MessageBox::Show(this, StartDebugMode(ApplicationLog(), m_settingsPath, m_clock));

    if (const auto notice = LoadSettings(m_settingsPath, platform.HomeFolder(), m_settings))
        MessageBox::Show(this, *notice);
    m_step3->OutputDirectory()->setText(QString::fromStdString(m_settings.outputDir));

    SwitchDevice(QString::fromUtf8(kStartDevice.data(), kStartDevice.size()));

    m_currentStep = 1;
    ShowWizardStep(m_currentStep);

    // Files the desktop opened the program with go to the list as a drop would, once the window is up.
    QStringList files;
    for (const std::string& file : StartFiles(arguments))
        files << QFileInfo(QString::fromStdString(file)).absoluteFilePath();
    if (!files.isEmpty())
        QTimer::singleShot(0, m_videoListActions,
                           [this, files] { m_videoListActions->AddDroppedFiles(files); });
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Without a settings folder nothing was loaded, and nothing is saved.
    if (m_settingsPath.empty()) {
        event->accept();
        return;
    }
    // Files still being added would otherwise be probed on, one by one, for a window that is gone.
    m_videoListActions->CancelLabel_Click();
    m_settings.outputDir = m_session.OutputFolder();
    if (const auto saved = SaveSettings(m_settingsPath, m_settings); !saved)
        MessageBox::Show(this, {MessageIcon::Exclamation, saved.error().Text()});
    event->accept();
}

void MainWindow::imgEditVideoSize_Click()
{
    OpenModal(new EditVideoSizeDialog(m_session.Settings(), this));
}

void MainWindow::ShowWizardStep(int step)
{
    // Focus on a wizard button stays there; focus inside the step that goes would otherwise
    // wander along the chain, so it starts on the new step's first control instead.
    QWidget* focused = focusWidget();
    const bool focusInStep =
        focused != nullptr && std::any_of(m_steps.begin(), m_steps.end(), [focused](StepPanel* panel) {
            return panel->isAncestorOf(focused);
        });
    for (StepPanel* panel : m_steps)
        panel->hide();
    if (step >= 1 && step <= 4) {
        StepPanel* shown = m_steps[static_cast<std::size_t>(step - 1)];
        shown->show();
        QWidget* target = shown->isAncestorOf(focused) ? focused : shown->FirstControl();
        if (focusInStep && target != nullptr)
            target->setFocus(Qt::OtherFocusReason);
    }
    m_stepMenu->MarkCurrent(m_currentStep);
}

// Next and Convert share one place; the focus moves with it, so Space goes on pressing there.
void MainWindow::ShowForwardButton(PictureButton* shown, PictureButton* hidden)
{
    shown->show();
    if (focusWidget() == hidden)
        shown->setFocus(Qt::OtherFocusReason);
    hidden->hide();
}

QTreeView* MainWindow::VideoFiles() const
{
    return m_step2->List();
}

void MainWindow::FillReviewStep()
{
    const BatchSizeEstimate batch =
        EstimateBatchBytes(m_session.Rows().Rows(), TakeEncoderSettings(m_session.Settings(), {}));
    ReviewValues values{m_session.Rows().Count(),
                        SelectedDevice(),
                        QString::fromStdString(m_session.ProfileName()),
                        QString::fromStdString(m_session.OutputFolder()),
                        m_session.TrimmedCount(),
                        m_session.SoundOnlyCount(),
                        QString::fromStdString(BatchSizeText(batch)),
                        {},
                        false};
    if (m_session.AddToLibrary()) {
        if (const auto space = ConnectedIpodSpace()) {
            const IpodFit fit = DescribeIpodFit(*space, batch.knownBytes);
            values.ipodSpace = QString::fromStdString(fit.text);
            values.ipodTooSmall = !fit.fits;
        }
    }
    m_step4->Fill(values);
}

void MainWindow::bttnNext_Click()
{
    if (const Verdict leave = m_session.CheckStepDone(m_currentStep); !leave) {
        MessageBox::Show(this, leave.error());
        return;
    }
    if (m_currentStep == 3) {
        FillReviewStep();
        ShowForwardButton(m_convert, m_next);
    }
    if (m_currentStep < 4)
        ++m_currentStep;
    ShowWizardStep(m_currentStep);
}

void MainWindow::bttnPrevious_Click()
{
    if (m_currentStep == 1) {
        MessageBox::Show(this,
                         {MessageIcon::Exclamation,
                          "You can't go to a previous step.\rYou are currently in the first wizard step "
                          "where you can select a device."});
    }
    if (m_currentStep == 4)
        ShowForwardButton(m_next, m_convert);
    if (m_currentStep > 1)
        --m_currentStep;
    ShowWizardStep(m_currentStep);
}

void MainWindow::bttnChooseOutputDirectory_Click()
{
    const auto folder = FileDialogs::BrowseForFolder(this, "Choose Output Directory");
    if (!folder || folder->empty())
        return;
    m_step3->OutputDirectory()->setText(QString::fromStdString(*folder));
    m_step3->OutputDirectory()->setFocus();
}

void MainWindow::StartConversionProces()
{
    // Gone at once, so a second press cannot start a second run.
    m_previous->hide();
    m_convert->hide();
    QCoreApplication::processEvents();
    auto* starter = new ConversionStarter(m_session, m_settingsPath, this);
    connect(starter, &ConversionStarter::Refused, this, [this] {
        m_previous->show();
        m_convert->show();
    });
    connect(starter, &ConversionStarter::Prepared, this, [this](const std::shared_ptr<ConversionRun>& run) {
        OpenModal(MakeProcessingWindow(std::move(*run)))->StartConversion();
    });
    starter->Start();
}

ProcessingWindow* MainWindow::MakeProcessingWindow(ConversionRun run)
{
    auto* window = new ProcessingWindow(std::move(run), m_session.OutputFolder(), this);
    connect(window, &ProcessingWindow::FileStarted, this, &MainWindow::CountConvertedFile);
    connect(window, &ProcessingWindow::Completed, this, &MainWindow::ConvertCompleted);
    return window;
}

void MainWindow::ConvertCompleted(bool Cancelled)
{
    m_previous->show();
    m_convert->show();
    if (Cancelled) {
        MessageBox::Show(this, ConversionCancelledMessage());
        return;
    }
    m_currentStep = 1;
    ShowWizardStep(m_currentStep);
    ShowForwardButton(m_next, m_convert);
}

} // namespace zantrove
