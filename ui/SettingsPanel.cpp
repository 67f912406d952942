// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SettingsPanel.h"

#include "ui/ClickLabel.h"
#include "ui/PictureButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace zantrove {

namespace {
const QColor kCurrentTab(64, 64, 64);
const QColor kOtherTab(0, 0, 255);
const QColor kHide(0, 0, 192);

QComboBox* NewList(const char* name, bool editable = false)
{
    auto* box = new QComboBox;
    box->setObjectName(name);
    box->setEditable(editable);
    box->setMinimumWidth(160);
    if (editable)
        box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

QCheckBox* NewCheck(const char* name, const char* caption)
{
    auto* box = new QCheckBox(caption);
    box->setObjectName(name);
    return box;
}

void AddRow(QFormLayout* form, const char* caption, QWidget* field)
{
    auto* label = new QLabel(caption);
    label->setBuddy(field);
    form->addRow(label, field);
}
} // namespace

SettingsPanel::SettingsPanel(QWidget* parent) : QWidget(parent)
{
    auto* title = new QLabel("Advanced Settings");
    title->setObjectName("lblAdvancedSettings");
    title->setProperty("role", "question");
    m_audioTab = new ClickLabel("lblAudioSettings", "Audio");
    m_videoTab = new ClickLabel("lblVideoSettings", "Video");
    m_hide = new ClickLabel("bttnHideAdvancedSettings", "Hide");
    m_hide->SetColor(kHide);
    for (ClickLabel* tab : {m_audioTab, m_videoTab})
        tab->setProperty("role", "tab");

    auto* header = new QHBoxLayout;
    header->addWidget(title);
    header->addSpacing(18);
    header->addWidget(m_audioTab);
    header->addWidget(m_videoTab);
    header->addStretch();
    header->addWidget(m_hide);

    m_audioPage = new QWidget;
    m_audioPage->setObjectName("frmAudioSettings");
    auto* audio = new QFormLayout(m_audioPage);
    m_audioCodec = NewList("cmbAudioCodec");
    m_audioBitrate = NewList("cmbAudioBitrate");
    m_audioSampleRate = NewList("cmbAudioSampleRate");
    m_audioChannels = NewList("cmbAudioChannels");
    m_noAudio = NewCheck("chkAudioNoAudio", "No Audio");
    AddRow(audio, "Audio Codec:", m_audioCodec);
    AddRow(audio, "Quality:", m_audioBitrate);
    AddRow(audio, "Sample Rate:", m_audioSampleRate);
    AddRow(audio, "Channels:", m_audioChannels);
    audio->addRow(QString(), m_noAudio);

    m_videoPage = new QWidget;
    m_videoPage->setObjectName("frmVideoSettings");
    auto* video = new QFormLayout(m_videoPage);
    m_videoCodec = NewList("cmbVideoCodec");
    m_videoSize = NewList("cmbVideoSize", true);
    m_editVideoSize = new PictureButton("imgEditVideoSize", ":/buttons/edit-size.svg", "Edit Video Size", 18);
    m_videoBitrate = NewList("cmbVideoBitrate");
    m_videoFrameRate = NewList("cmbVideoFrameRate");
    m_noVideo = NewCheck("chkVideoNoVideo", "No Video");
    m_originalQuality = NewCheck("chkVideoOriginalQuality", "eXtreme Qty");
    m_keepAspectRatio = NewCheck("chkVideoKeepAspectRatio", "Keep Aspect Ratio");
    auto* sizeRow = new QWidget;
    auto* sizeLayout = new QHBoxLayout(sizeRow);
    sizeLayout->setContentsMargins(0, 0, 0, 0);
    sizeLayout->addWidget(m_videoSize, 1);
    sizeLayout->addWidget(m_editVideoSize);
    AddRow(video, "Video Codec:", m_videoCodec);
    AddRow(video, "Video Size:", sizeRow);
    static_cast<QLabel*>(video->labelForField(sizeRow))->setBuddy(m_videoSize);
    AddRow(video, "Quality:", m_videoBitrate);
    AddRow(video, "Frame Rate:", m_videoFrameRate);
    auto* checks = new QWidget;
    auto* checkLayout = new QHBoxLayout(checks);
    checkLayout->setContentsMargins(0, 0, 0, 0);
    checkLayout->addWidget(m_noVideo);
    checkLayout->addWidget(m_originalQuality);
    checkLayout->addWidget(m_keepAspectRatio);
    checkLayout->addStretch();
    video->addRow(QString(), checks);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 10, 16, 10);
    layout->addLayout(header);
    layout->addWidget(m_audioPage);
    layout->addWidget(m_videoPage);

    connect(m_audioTab, &ClickLabel::clicked, this, &SettingsPanel::ShowAudioPage);
    connect(m_videoTab, &ClickLabel::clicked, this, &SettingsPanel::ShowVideoPage);
    connect(m_hide, &ClickLabel::clicked, this, &SettingsPanel::HideRequested);
    ShowAudioPage();
}

void SettingsPanel::ShowAudioPage()
{
    m_audioPage->show();
    m_videoPage->hide();
    m_audioTab->SetColor(kCurrentTab);
    m_videoTab->SetColor(kOtherTab);
}

void SettingsPanel::ShowVideoPage()
{
    m_videoPage->show();
    m_audioPage->hide();
    m_videoTab->SetColor(kCurrentTab);
    m_audioTab->SetColor(kOtherTab);
}

} // namespace zantrove
