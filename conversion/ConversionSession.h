// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Clock.h"
#include "base/Expected.h"
#include "base/UserMessage.h"
#include "conversion/ConversionRun.h"
#include "conversion/ConversionScript.h"
#include "devices/EncodingSettingsModel.h"
#include "media/VideoListModel.h"

#include <functional>
#include <string>

namespace zantrove {

// What one conversion is made of (the rows, the encoding settings, the output folder, the library
// choice and through the settings the device) and the steps that start it. The window and the
// command line both drive this one object; neither keeps any of it in its own widgets or options.
class ConversionSession
{
public:
    // applicationFolder holds Profiles/ and Components/.
    explicit ConversionSession(std::string applicationFolder);

    VideoListModel& Rows() { return m_rows; }
    const VideoListModel& Rows() const { return m_rows; }
    EncodingSettingsModel& Settings() { return m_settings; }
    const EncodingSettingsModel& Settings() const { return m_settings; }
    const std::string& Device() const { return m_settings.SelectedDevice(); }
    const std::string& OutputFolder() const { return m_outputFolder; }
    void SetOutputFolder(std::string folder) { m_outputFolder = std::move(folder); }
    bool AddToLibrary() const { return m_addToLibrary; }
    void SetAddToLibrary(bool add) { m_addToLibrary = add; }
    // Rows set to be trimmed: both trim times filled in.
    int TrimmedCount() const;
    // Rows without a picture that a video profile converts as sound alone.
    int SoundOnlyCount() const;
    // The profile list's current entry ("Custom" after a change by hand); empty without one.
    std::string ProfileName() const;

    // Whether the wizard may leave a step: step 2 wants rows, step 3 an output folder.
    Verdict CheckStepDone(int step) const;
    // The quick refusals, in order: an empty list, a missing profile folder, an unusable profile
    // file, the codec's size limit, its quality limit. The window and the command line both ask them.
    Verdict CheckStart() const;
    // Whether the encoder's ffmpeg has what these settings need. It runs ffmpeg and may take long, so
    // it is bound to the settings of this moment and may run on any thread.
    std::function<Verdict()> EncoderCheck() const;
    // Everything that may refuse a start: the quick refusals, then the encoder.
    Verdict CheckReady() const;

    // The script a run would write, without writing anything.
    std::string ScriptText(const std::string& settingsFolder) const;
    // Creates the output folder, stages the components and writes the script; the run that follows
    // it. The error, which the window and the command line both show, names the folder, component or
    // script that could not be written and why; nothing may run then, not even an older script still
    // on disk.
    [[nodiscard]] Expected<ConversionRun, UserMessage> Prepare(const std::string& settingsFolder,
                                                               const DebugEntry& debug = {},
                                                               const Clock& clock = Clock::System()) const;

private:
    ConversionRequest Request(const std::string& settingsFolder) const;

    EncodingSettingsModel m_settings;
    VideoListModel m_rows;
    std::string m_outputFolder;
    bool m_addToLibrary = false;
};

} // namespace zantrove
