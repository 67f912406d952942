// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ConversionStarter.h"

#include "app/DebugLog.h"
#include "conversion/ConversionScript.h"
#include "conversion/ConversionStart.h"
#include "conversion/EncoderAvailability.h"
#include "devices/EncodingSettingsModel.h"
#include "platform/MessageBox.h"
#include "storage/FileUtilities.h"
#include "ui/MainWindow.h"
#include "ui/OutputStep.h"
#include "ui/PictureButton.h"
#include "ui/ProcessingWindow.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFutureWatcher>
#include <QLineEdit>
#include <QtConcurrent/QtConcurrentRun>

namespace zantrove {

void ConversionStarter::Start()
{
    // Gone at once, so a second press cannot start a second run.
    m_window.PreviousButton()->hide();
    m_window.ConvertButton()->hide();
    QCoreApplication::processEvents();

    const EncodingSettingsModel& settings = m_window.EncodingSettings();
    const ProfileLookup profile = ProfileFileLookup(settings.ProfileFile());
    if (const auto refusal = CheckConversionStart(m_window.VideoList().Rows().size(), settings, profile)) {
        MessageBox::Show(&m_window, *refusal);
        ShowButtons();
        return;
    }
    // A hung ffmpeg holds the check up to its time limit, so it never runs on the window's thread.
    // The buttons stay hidden meanwhile; a window closed meanwhile takes the answer's watcher along.
    using Answer = std::optional<UserMessage>;
    auto* watcher = new QFutureWatcher<Answer>(&m_window);
    MainWindow* window = &m_window;
    QObject::connect(watcher, &QFutureWatcher<Answer>::finished, window, [window, watcher] {
        watcher->deleteLater();
        ConversionStarter(*window).Continue(watcher->result());
    });
    watcher->setFuture(
        QtConcurrent::run([folder = settings.ApplicationFolder(), encoder = TakeEncoderSettings(settings, {}),
                           profile] { return CheckEncoderAvailability(folder, encoder, profile); }));
}

void ConversionStarter::ShowButtons()
{
    m_window.PreviousButton()->show();
    m_window.ConvertButton()->show();
}

void ConversionStarter::Continue(const std::optional<UserMessage>& refusal)
{
    if (refusal) {
        MessageBox::Show(&m_window, *refusal);
        ShowButtons();
        return;
    }
    const ProfileLookup profile = ProfileFileLookup(m_window.EncodingSettings().ProfileFile());
    const std::string outputFolder = m_window.Step3()->OutputDirectory()->text().toStdString();
    CreateFolderPath(outputFolder);

    ConversionRequest request;
    request.applicationFolder = m_window.EncodingSettings().ApplicationFolder();
    request.settingsFolder = m_window.ApplicationSettingsPath();
    request.rows = m_window.VideoList().Rows();
    request.settings = TakeEncoderSettings(m_window.EncodingSettings(), outputFolder);
    request.profile = profile;
    request.addToLibrary = m_window.Step3()->AddToLibrary()->isChecked();
    DebugEntry debug;
    if (!ApplicationLog().LogPath().empty())
        debug = [](const std::string& text) { ApplicationLog().LogEvent(text, DebugLog::Information); };
    const PreparedConversion prepared = PrepareConversion(request, debug);
    if (!prepared.scriptWritten) {
        // Never run whatever older script is still on disk.
        const std::string& unwritten =
            prepared.unstagedComponent.empty() ? prepared.scriptPath : prepared.unstagedComponent;
        MessageBox::Show(&m_window,
                         {MessageIcon::Critical, "The conversion could not be started." + std::string(kCrLf) +
                                                     "Unable to write the file: " + unwritten});
        ShowButtons();
        return;
    }

    auto* window = new ProcessingWindow(m_window, ConversionProgress::RowsOf(request.rows, prepared.lines),
                                        prepared.scriptPath, outputFolder,
                                        BatchTimeEstimate::OutputSeconds(request.rows));
    std::vector<std::string> outputs;
    for (const EncoderLine& line : prepared.lines)
        outputs.push_back(line.outputPath);
    window->SetOutputPaths(std::move(outputs));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->StartConversion();
}
} // namespace zantrove
