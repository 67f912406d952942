// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/EncoderSettings.h"
#include "devices/ProfileFile.h"
#include "media/VideoListModel.h"

#include <QDialog>

#include <cstdint>
#include <memory>

class QLabel;
class QProcess;
class QPushButton;
class QSlider;
class QTemporaryDir;

namespace zantrove {

struct EncoderLine;

// What a preview needs from the window when it opens: the encoder and the settings of the moment.
struct PreviewContext
{
    std::string component; // the encoder component that renders both pictures
    EncoderSettings settings;
    ProfileLookup profile;
    std::string device; // named above the converted picture
};

// One file's frame as the source shows it beside the same frame converted, at a moment picked with
// the slider. The encoder renders them in processes of their own, so the window stays responsive and
// closes at any time; a newer moment replaces a render still running.
class PreviewVideoDialog : public QDialog
{
    Q_OBJECT
public:
    PreviewVideoDialog(const VideoRow& row, PreviewContext context, QWidget* parent = nullptr);
    ~PreviewVideoDialog() override;

    QSlider* MomentSlider() const { return m_slider; }
    QLabel* SourcePicture() const { return m_source; }
    QLabel* OutputPicture() const { return m_output; }
    // The output's frame size and rate and the file's estimated size, or why there is no picture.
    QLabel* OutputInfo() const { return m_info; }
    // Renders finished since the window opened, both pictures each.
    int PicturesShown() const { return m_shown; }

signals:
    void PictureShown();

private:
    void StartRender();
    QProcess* Start(const EncoderLine& line, QLabel* target, bool output);
    void Finished(QProcess* process, QLabel* target, bool output, const EncoderLine& line);
    void ShowMoment();
    void StopRenders();

    VideoRow m_row;
    PreviewContext m_context;
    std::unique_ptr<QTemporaryDir> m_folder;
    QSlider* m_slider = nullptr;
    QLabel* m_moment = nullptr;
    QLabel* m_source = nullptr;
    QLabel* m_output = nullptr;
    QLabel* m_info = nullptr;
    QPushButton* m_close = nullptr;
    std::vector<QProcess*> m_running;
    int m_generation = 0;
    int m_pending = 0;
    int m_shown = 0;
    QString m_estimate;
};

} // namespace zantrove
