// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"

#include "base/Version.h"

#include "app/DebugLog.h"
#include "app/Startup.h"
#include "conversion/ConversionStart.h"
#include "devices/DeviceCatalog.h"
#include "devices/EncodingSettingsModel.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "ui/Artwork.h"
#include "ui/ClickLabel.h"
#include "ui/ConversionStarter.h"
#include "ui/DeviceStep.h"
#include "ui/EditVideoSizeDialog.h"
#include "ui/HelpActions.h"
#include "ui/OutputStep.h"
#include "ui/PictureButton.h"
#include "ui/ProcessingWindow.h"
#include "ui/ReviewStep.h"
#include "ui/SettingsBinder.h"
#include "ui/SvgPicture.h"
#include "ui/VideoListActions.h"
#include "ui/VideoListBinder.h"
#include "ui/VideoListStep.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedLayout>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace zantrove {

namespace {
const char* const kStepNames[] = {"Select your device", "Add video files", "Choose output settings",
                                  "Review and convert"};

// Tab reaches the link label and Enter or Space follows its link, as a click does. Qt's own
// keyboard links take two Tabs to pass and trap Shift+Tab, so the window's filter takes the keys.
void MakeKeyboardLink(QLabel* label, QObject* filter, const char* link)
{
    label->setFocusPolicy(Qt::StrongFocus);
    label->setProperty("link", QString::fromLatin1(link));
    label->installEventFilter(filter);
}
} // namespace

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
    rightLayout->addWidget(BuildBottom());

    auto* central = new QWidget;
    auto* centralLayout = new QHBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);
    centralLayout->addWidget(BuildLeftMenu());
    centralLayout->addWidget(right, 1);
    setCentralWidget(central);
    BuildStatusBar();

    m_settingsBinder = new SettingsBinder(m_session.Settings(), m_step1, m_step3->Profiles(),
                                          m_step3->AdvancedPanel(), this);
    connect(m_settingsBinder, &SettingsBinder::EditVideoSizeRequested, this,
            &MainWindow::imgEditVideoSize_Click);
    connect(m_step1, &DeviceStep::DeviceClicked, this, &MainWindow::SwitchDevice);
    connect(m_next, &QToolButton::clicked, this, &MainWindow::bttnNext_Click);
    connect(m_previous, &QToolButton::clicked, this, &MainWindow::bttnPrevious_Click);
    connect(m_convert, &QToolButton::clicked, this, &MainWindow::bttnConvert_Click);
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
                              m_addFilesProgress, m_cancelOverlay, m_cancelLabel, m_statusText, this},
                             m_settingsPath, this);
    connect(m_videoListActions, &VideoListActions::StatusPanelCovered, m_versionPanel, &QWidget::setHidden);
    m_helpActions = new HelpActions(*this);

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

QWidget* MainWindow::BuildLeftMenu()
{
    auto* menu = new QWidget;
    menu->setObjectName("pnlLeftMenu");
    menu->setFixedWidth(196);
    auto* picture = new SvgPicture(":/side/left-menu.svg", SvgPicture::Fit::Stretch, menu);
    picture->lower();
    menu->installEventFilter(this);

    auto* layout = new QVBoxLayout(menu);
    layout->setContentsMargins(18, 22, 12, 18);
    layout->setSpacing(10);
    auto* logo = new SvgPicture(":/app/zantrove.svg");
    logo->setFixedSize(56, 56);
    auto* name = new QLabel("Zantrove");
    name->setProperty("role", "brand");
    layout->addWidget(logo);
    layout->addWidget(name);
    layout->addSpacing(20);
    for (int i = 0; i < 4; ++i) {
        m_stepMarks[i] = new QLabel(QStringLiteral("%1  %2").arg(i + 1).arg(kStepNames[i]));
        m_stepMarks[i]->setProperty("role", "stepMark");
        m_stepMarks[i]->setWordWrap(true);
        layout->addWidget(m_stepMarks[i]);
    }
    layout->addStretch();
    return menu;
}

QWidget* MainWindow::BuildBottom()
{
    auto* bottom = new QWidget;
    bottom->setObjectName("pnlBottom");
    bottom->setFixedHeight(60);
    auto* picture = new SvgPicture(":/side/bottom.svg", SvgPicture::Fit::Stretch, bottom);
    picture->lower();
    bottom->installEventFilter(this);

    auto* about = new QLabel("<a href=\"about\">About</a>");
    about->setObjectName("lblAbout");
    about->setProperty("role", "link");
    MakeKeyboardLink(about, this, "about");
    connect(about, &QLabel::linkActivated, this, &MainWindow::AboutRequested);
    auto* translate = new QLabel("Translate text to:");
    translate->setObjectName("lblTranslate");
    auto* languages = new QComboBox;
    languages->setObjectName("cmbLanguages");
    translate->setBuddy(languages);
    auto* go = new QPushButton(">");
    go->setObjectName("cmdTranslate");
    go->setFixedWidth(34);

    m_previous = new PictureButton("bttnPrevious", ":/buttons/previous.svg", "Previous", 40);
    m_next = new PictureButton("bttnNext", ":/buttons/next.svg", "Next", 40);
    m_convert = new PictureButton("bttnConvert", ":/buttons/convert.svg", "Convert", 40);
    // Convert takes exactly the place and size of Next.
    auto* forward = new QWidget;
    auto* forwardLayout = new QStackedLayout(forward);
    forwardLayout->setStackingMode(QStackedLayout::StackAll);
    forwardLayout->addWidget(m_next);
    forwardLayout->addWidget(m_convert);
    m_convert->hide();
    forward->setFixedSize(m_next->sizeHint().expandedTo(m_convert->sizeHint()));

    auto* layout = new QHBoxLayout(bottom);
    layout->setContentsMargins(18, 6, 18, 6);
    layout->setSpacing(8);
    layout->addWidget(about);
    layout->addSpacing(16);
    layout->addWidget(translate);
    layout->addWidget(languages);
    layout->addWidget(go);
    layout->addStretch();
    layout->addWidget(m_previous);
    layout->addWidget(forward);
    return bottom;
}

void MainWindow::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar");
    bar->setSizeGripEnabled(true);

    // The first panel holds the version, with the add-files progress laid over it.
    auto* first = new QWidget;
    first->setFixedWidth(190);
    auto* stack = new QStackedLayout(first);
    stack->setStackingMode(QStackedLayout::StackAll);
    m_versionPanel = new QLabel(
        QString::fromLatin1("Version: %1").arg(QLatin1StringView(kVersion.data(), kVersion.size())));
    m_versionPanel->installEventFilter(this);
    m_addFilesProgress = new QProgressBar;
    m_addFilesProgress->setObjectName("AddFilesProgressBar");
    m_addFilesProgress->setTextVisible(false);
    m_addFilesProgress->setMaximumHeight(14);
    m_addFilesProgress->hide();
    stack->addWidget(m_versionPanel);
    stack->addWidget(m_addFilesProgress);

    m_cancelOverlay = new QWidget;
    m_cancelOverlay->setObjectName("CancelOverlay");
    auto* cancelLayout = new QHBoxLayout(m_cancelOverlay);
    cancelLayout->setContentsMargins(0, 0, 0, 0);
    auto* cancelLabel = new QLabel("<a href=\"cancel\">(Cancel)</a>");
    cancelLabel->setObjectName("CancelLabel");
    cancelLabel->setToolTip("Cancel Operation");
    cancelLabel->setProperty("role", "link");
    MakeKeyboardLink(cancelLabel, this, "cancel");
    m_cancelLabel = cancelLabel;
    cancelLayout->addWidget(cancelLabel);
    m_cancelOverlay->hide();

    m_statusText = new QLabel;
    m_statusText->setObjectName("StatusPanel2");
    bar->addWidget(first);
    bar->addWidget(m_cancelOverlay);
    bar->addWidget(m_statusText, 1);
}

void MainWindow::Load(const std::vector<std::string>& arguments)
{
    std::vector<UserMessage> messages;
    Platform& platform = Platform::Instance();
    m_settingsPath = ResolveSettingsFolder(platform, messages);
    for (const UserMessage& message : messages)
        MessageBox::Show(this, message);

    if (IsDebugSwitch(arguments))
        MessageBox::Show(this, StartDebugMode(ApplicationLog(), m_settingsPath, m_clock));

    LoadSettings(m_settingsPath, platform.HomeFolder(), m_settings);
    m_step3->OutputDirectory()->setText(QString::fromStdString(m_settings.outputDir));

    SwitchDevice(QString::fromUtf8(kStartDevice.data(), kStartDevice.size()));

    m_currentStep = 1;
    ShowWizardStep(m_currentStep);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Files still being added would otherwise be probed on, one by one, for a window that is gone.
    m_videoListActions->CancelLabel_Click();
    m_settings.outputDir = m_session.OutputFolder();
    SaveSettings(m_settingsPath, m_settings);
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->property("link").isValid() &&
        ClickLabel::IsPressKey(*static_cast<QKeyEvent*>(event))) {
        auto* label = static_cast<QLabel*>(watched);
        emit label->linkActivated(label->property("link").toString());
        return true;
    }
    if (watched == m_versionPanel && event->type() == QEvent::MouseButtonDblClick) {
        emit AboutRequested();
        return true;
    }
    if (event->type() == QEvent::Resize) {
        // The decoration pictures fill their panels.
        auto* panel = static_cast<QWidget*>(watched);
        if (auto* picture = panel->findChild<SvgPicture*>(QString(), Qt::FindDirectChildrenOnly))
            picture->setGeometry(panel->rect());
    }
    return QMainWindow::eventFilter(watched, event);
}

QString MainWindow::SelectedDevice() const
{
    return QString::fromStdString(m_session.Device());
}

bool MainWindow::AllowVideoSizeChange() const
{
    return m_session.Settings().AllowVideoSizeChange();
}

void MainWindow::SetAllowVideoSizeChange(bool allow)
{
    m_session.Settings().SetAllowVideoSizeChange(allow);
}

void MainWindow::SwitchDevice(const QString& deviceName)
{
    m_session.Settings().SwitchDevice(deviceName.toStdString());
}

void MainWindow::LoadProfile(std::int16_t ListIndex)
{
    m_session.Settings().LoadProfile(ListIndex);
}

void MainWindow::imgEditVideoSize_Click()
{
    // Modal without a nested event loop, so the dialog can be answered in tests like any window.
    auto* dialog = new EditVideoSizeDialog(m_session.Settings(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
}

void MainWindow::HideWizardSteps()
{
    for (StepPanel* step : m_steps)
        step->hide();
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
    HideWizardSteps();
    if (step >= 1 && step <= 4) {
        StepPanel* shown = m_steps[static_cast<std::size_t>(step - 1)];
        shown->show();
        QWidget* target = shown->isAncestorOf(focused) ? focused : shown->FirstControl();
        if (focusInStep && target != nullptr)
            target->setFocus(Qt::OtherFocusReason);
    }
    UpdateLeftMenu();
}

// Next and Convert share one place; the focus moves with it, so Space goes on pressing there.
void MainWindow::ShowForwardButton(PictureButton* shown, PictureButton* hidden)
{
    shown->show();
    if (focusWidget() == hidden)
        shown->setFocus(Qt::OtherFocusReason);
    hidden->hide();
}

void MainWindow::UpdateLeftMenu()
{
    for (int i = 0; i < 4; ++i) {
        m_stepMarks[i]->setProperty("current", i + 1 == m_currentStep);
        m_stepMarks[i]->style()->unpolish(m_stepMarks[i]);
        m_stepMarks[i]->style()->polish(m_stepMarks[i]);
    }
}

QTreeView* MainWindow::VideoFiles() const
{
    return m_step2->List();
}

void MainWindow::FillReviewStep()
{
    m_step4->Fill({m_session.Rows().Count(), SelectedDevice(),
                   QString::fromStdString(m_session.ProfileName()),
                   QString::fromStdString(m_session.OutputFolder()), m_session.TrimmedCount()});
}

void MainWindow::bttnNext_Click()
{
    if (m_currentStep == 2 && m_session.Rows().IsEmpty()) {
        MessageBox::Show(this,
                         {MessageIcon::Exclamation,
                          std::string("You have not added any video files to your list.") + kCrLf +
                              "Please, click the 'Add Video(s)' button to add one or more video files to "
                              "your list."});
        return;
    }
    if (m_currentStep == 3) {
        if (m_session.OutputFolder().empty()) {
            MessageBox::Show(this,
                             {MessageIcon::Exclamation,
                              std::string("You have not specified an output directory for your converted "
                                          "video files.") +
                                  kCrLf +
                                  "Please, click the 'Browse' button and choose a directory where you would "
                                  "like to save your converted video files."});
            return;
        }
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

void MainWindow::CountConvertedFile()
{
    zantrove::CountConvertedFile(m_settings);
}

void MainWindow::bttnConvert_Click()
{
    StartConversionProces();
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
        ProcessingWindow* window = MakeProcessingWindow(std::move(*run));
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowModality(Qt::ApplicationModal);
        window->show();
        window->StartConversion();
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
