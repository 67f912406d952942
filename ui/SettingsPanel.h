// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;

namespace zantrove {

class ClickLabel;
class PictureButton;

// The advanced settings: an audio and a video page behind two tab captions.
class SettingsPanel : public QWidget
{
    Q_OBJECT
public:
    explicit SettingsPanel(QWidget* parent = nullptr);

    void ShowAudioPage();
    void ShowVideoPage();

    QComboBox* AudioCodec() const { return m_audioCodec; }
    QComboBox* AudioBitrate() const { return m_audioBitrate; }
    QComboBox* AudioSampleRate() const { return m_audioSampleRate; }
    QComboBox* AudioChannels() const { return m_audioChannels; }
    QCheckBox* NoAudio() const { return m_noAudio; }
    QComboBox* VideoCodec() const { return m_videoCodec; }
    QComboBox* VideoSize() const { return m_videoSize; }
    PictureButton* EditVideoSize() const { return m_editVideoSize; }
    QComboBox* VideoBitrate() const { return m_videoBitrate; }
    QComboBox* VideoFrameRate() const { return m_videoFrameRate; }
    QCheckBox* NoVideo() const { return m_noVideo; }
    QCheckBox* OriginalQuality() const { return m_originalQuality; }
    QCheckBox* KeepAspectRatio() const { return m_keepAspectRatio; }

signals:
    void HideRequested();

private:
    QComboBox* m_audioCodec;
    QComboBox* m_audioBitrate;
    QComboBox* m_audioSampleRate;
    QComboBox* m_audioChannels;
    QCheckBox* m_noAudio;
    QComboBox* m_videoCodec;
    QComboBox* m_videoSize;
    PictureButton* m_editVideoSize;
    QComboBox* m_videoBitrate;
    QComboBox* m_videoFrameRate;
    QCheckBox* m_noVideo;
    QCheckBox* m_originalQuality;
    QCheckBox* m_keepAspectRatio;
    ClickLabel* m_hide;
    ClickLabel* m_audioTab;
    ClickLabel* m_videoTab;
    QWidget* m_audioPage;
    QWidget* m_videoPage;
};

} // namespace zantrove
