// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ConversionStarter.h"

#include "app/DebugLog.h"
#include "conversion/ConversionScript.h"
#include "conversion/ConversionStart.h"
#include "devices/EncodingSettingsModel.h"
#include "platform/MessageBox.h"
#include "storage/FileUtilities.h"
#include "ui/MainWindow.h"
#include "ui/OutputStep.h"
#include "ui/PictureButton.h"
#include "ui/ProcessingWindow.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>

namespace zantrove {

void ConversionStarter::Start()
{
    // Gone at once, so a second press cannot start a second run.
    m_window.PreviousButton()->hide();
    m_window.ConvertButton()->hide();
    QCoreApplication::processEvents();
    const auto showButtons = [this] {
        m_window.PreviousButton()->show();
        m_window.ConvertButton()->show();
    };

    const ProfileLookup profile = ProfileFileLookup(m_window.EncodingSettings().ProfileFile());
    if (const auto refusal =
            CheckConversionReady(m_window.VideoList().Rows().size(), m_window.EncodingSettings(), profile,
                                 m_window.EncodingSettings().ApplicationFolder())) {
        MessageBox::Show(&m_window, *refusal);
        showButtons();
        return;
    }
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
        MessageBox::Show(&m_window,
                         {MessageIcon::Critical, "The conversion could not be started." + std::string(kCrLf) +
                                                     "Unable to write the file: " + prepared.scriptPath});
        showButtons();
        return;
    }

    auto* window = new ProcessingWindow(m_window, ConversionProgress::RowsOf(request.rows, prepared.lines),
                                        prepared.scriptPath, outputFolder,
                                        BatchTimeEstimate::OutputSeconds(request.rows));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->StartConversion();
}
} // namespace zantrove
