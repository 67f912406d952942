// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace zantrove {

class EncodingSettingsModel;

// What one conversion run reads from the settings panel, taken once when the run starts.
struct EncoderSettings
{
    bool videoOff = false;
    std::string videoCodec;
    std::string videoSize; // "WxH"
    bool keepAspectRatio = false;
    std::string videoBitrate; // "N kbps"
    std::string frameRate;    // "N fps"
    bool sameQuality = false;
    bool audioOff = false;
    std::string audioCodec;
    std::string audioBitrate; // "N kbps"
    std::string sampleRate;
    int channelsIndex = -1; // list position; -1 when nothing is chosen
    std::string outputFolder;
};

EncoderSettings TakeEncoderSettings(const EncodingSettingsModel& model, std::string outputFolder);

} // namespace zantrove
