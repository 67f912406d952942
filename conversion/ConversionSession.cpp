// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ConversionSession.h"

#include "conversion/ConversionStart.h"
#include "conversion/EncoderAvailability.h"
#include "conversion/EncoderSettings.h"
#include "devices/ProfileFile.h"
#include "media/AddFilesFlow.h"
#include "platform/FileSystem.h"

#include <algorithm>

namespace zantrove {

ConversionSession::ConversionSession(std::string applicationFolder) : m_settings(std::move(applicationFolder))
{
}

int ConversionSession::TrimmedCount() const
{
    const auto& rows = m_rows.Rows();
    return static_cast<int>(
        std::count_if(rows.begin(), rows.end(), [](const VideoRow& row) { return row.IsTrimmed(); }));
}

int ConversionSession::SoundOnlyCount() const
{
    if (m_settings.IsChecked(CheckBox::VideoNoVideo) || m_settings.IsChecked(CheckBox::AudioNoAudio))
        return 0;
    const auto& rows = m_rows.Rows();
    return static_cast<int>(std::count_if(rows.begin(), rows.end(), IsSoundOnlyRow));
}

std::string ConversionSession::ProfileName() const
{
    const auto& entries = m_settings.ProfileEntries();
    const int selected = m_settings.SelectedProfile();
    return selected >= 0 && selected < static_cast<int>(entries.size())
               ? entries[static_cast<std::size_t>(selected)]
               : std::string();
}

Verdict ConversionSession::CheckStepDone(int step) const
{
    if (step == 2 && m_rows.IsEmpty())
        return Unexpected{UserMessage{MessageIcon::Exclamation,
                                      std::string("You have not added any video files to your list.") +
                                          kCrLf +
                                          "Please, click the 'Add Video(s)' button to add one or more video "
                                          "files to your list."}};
    if (step == 3 && m_outputFolder.empty())
        return Unexpected{UserMessage{
            MessageIcon::Exclamation,
            std::string("You have not specified an output directory for your converted video files.") +
                kCrLf +
                "Please, click the 'Browse' button and choose a directory where you would like to save your "
                "converted video files."}};
    return {};
}

Verdict ConversionSession::CheckStart() const
{
    if (!m_rows.IsEmpty()) {
        // Without it every list is empty and each file would fail alike, for no visible reason.
        if (const std::string profiles = JoinPath(m_settings.ApplicationFolder(), "Profiles");
            !FolderExists(profiles))
            return Unexpected{UserMessage{MessageIcon::Critical, std::string(kMissingProfilesMessage) +
                                                                     profiles + kCrLf +
                                                                     "Please, reinstall Zantrove."}};
        // Read as empty, an unusable file would give encoder lines with empty values.
        if (const auto problem = ProfileFileProblem(m_settings.ProfileFile()))
            return Unexpected{UserMessage{MessageIcon::Critical,
                                          "The profile file " + m_settings.ProfileFile() + " " + *problem +
                                              "." + kCrLf + "Please, reinstall Zantrove."}};
    }
    return CheckConversionStart(m_rows.Rows().size(), m_settings,
                                ProfileFileLookup(m_settings.ProfileFile()));
}

std::function<Verdict()> ConversionSession::EncoderCheck() const
{
    return [folder = m_settings.ApplicationFolder(), encoder = TakeEncoderSettings(m_settings, {}),
            profile = ProfileFileLookup(m_settings.ProfileFile())] {
        return CheckEncoderAvailability(folder, encoder, profile);
    };
}

Verdict ConversionSession::CheckReady() const
{
    if (auto refusal = CheckStart(); !refusal)
        return refusal;
    // Before anything is written: a codec or container this ffmpeg lacks would fail every file alike.
    return EncoderCheck()();
}

ConversionRequest ConversionSession::Request(const std::string& settingsFolder) const
{
    ConversionRequest request;
    request.applicationFolder = m_settings.ApplicationFolder();
    request.settingsFolder = settingsFolder;
    request.rows = m_rows.Rows();
    request.settings = TakeEncoderSettings(m_settings, m_outputFolder);
    request.profile = ProfileFileLookup(m_settings.ProfileFile());
    request.addToLibrary = m_addToLibrary;
    return request;
}

std::string ConversionSession::ScriptText(const std::string& settingsFolder) const
{
    const ConversionRequest request = Request(settingsFolder);
    return ConversionScriptText(
        settingsFolder, BuildEncoderLines(request.rows, request.settings, request.profile, FileExists),
        request.addToLibrary);
}

Expected<ConversionRun, UserMessage> ConversionSession::Prepare(const std::string& settingsFolder,
                                                                const DebugEntry& debug,
                                                                const Clock& clock) const
{
    const auto refusal = [](const std::string& why) {
        return Unexpected{
            UserMessage{MessageIcon::Critical, std::string(kConversionNotStartedText) + kCrLf + why + "."}};
    };
    CreateFolderPath(m_outputFolder);
    if (!IsWritableFolder(m_outputFolder))
        return refusal("The output folder " + m_outputFolder + " could not be created or written");
    const ConversionRequest request = Request(settingsFolder);
    const auto prepared = PrepareConversion(request, debug);
    if (!prepared)
        return refusal(prepared.error().Text());
    return ConversionRun(ConversionProgress::RowsOf(request.rows, prepared->lines), prepared->scriptPath,
                         BatchTimeEstimate::OutputSeconds(request.rows), clock);
}

} // namespace zantrove
