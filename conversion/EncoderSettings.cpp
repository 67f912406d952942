// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/EncoderSettings.h"

#include "devices/EncodingSettingsModel.h"

namespace zantrove {

EncoderSettings TakeEncoderSettings(const EncodingSettingsModel& model, std::string outputFolder)
{
    EncoderSettings settings;
    settings.videoOff = model.IsChecked(CheckBox::VideoNoVideo);
    settings.videoCodec = model.Text(ChoiceBox::VideoCodec);
    settings.videoSize = model.Text(ChoiceBox::VideoSize);
    settings.keepAspectRatio = model.IsChecked(CheckBox::VideoKeepAspectRatio);
    settings.videoBitrate = model.Text(ChoiceBox::VideoBitrate);
    settings.frameRate = model.Text(ChoiceBox::VideoFrameRate);
    settings.sameQuality = model.IsChecked(CheckBox::VideoOriginalQuality);
    settings.audioOff = model.IsChecked(CheckBox::AudioNoAudio);
    settings.audioCodec = model.Text(ChoiceBox::AudioCodec);
    settings.audioBitrate = model.Text(ChoiceBox::AudioBitrate);
    settings.sampleRate = model.Text(ChoiceBox::AudioSampleRate);
    settings.channelsIndex = model.SelectedPosition(ChoiceBox::AudioChannels);
    settings.outputFolder = std::move(outputFolder);
    return settings;
}

} // namespace zantrove
