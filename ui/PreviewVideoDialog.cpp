// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PreviewVideoDialog.h"

#include "base/TimeText.h"
#include "conversion/OutputPreview.h"
#include "conversion/OutputSizeEstimate.h"
#include "ui/DialogFrame.h"

#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>

namespace zantrove {

namespace {
constexpr QSize kPictureBox(400, 300);

QLabel* PictureLabel(const char* name)
{
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setFixedSize(kPictureBox);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet("background: #202020; color: #d0d0d0;");
    label->setWordWrap(true);
    return label;
}

QLabel* Caption(const QString& text)
{
    auto* label = new QLabel(text);
    label->setAlignment(Qt::AlignCenter);
    return label;
}
} // namespace

PreviewVideoDialog::PreviewVideoDialog(const VideoRow& row, PreviewContext context, QWidget* parent)
    : QDialog(parent), m_row(row), m_context(std::move(context)), m_folder(std::make_unique<QTemporaryDir>())
{
    setObjectName("frmPreviewVideo");
    setWindowTitle("Preview");
    DialogFrame frame(this, "Preview", QString::fromStdString("How " + row.filename + " will look"), 10);

    m_source = PictureLabel("picSourceFrame");
    m_output = PictureLabel("picOutputFrame");
    auto* pictures = new QGridLayout;
    pictures->addWidget(Caption("Source, as a player shows it"), 0, 0);
    pictures->addWidget(Caption(QString::fromStdString("Converted for " + m_context.device)), 0, 1);
    pictures->addWidget(m_source, 1, 0);
    pictures->addWidget(m_output, 1, 1);

    m_slider = new QSlider(Qt::Horizontal);
    m_slider->setObjectName("sldMoment");
    const std::int64_t duration = ParseClockTime(row.duration).value_or(0);
    m_slider->setRange(0, static_cast<int>(std::max<std::int64_t>(duration - 1, 0)));
    m_slider->setValue(
        static_cast<int>(std::min<std::int64_t>(DefaultPreviewMoment(row), m_slider->maximum())));
    m_slider->setPageStep(std::max(1, m_slider->maximum() / 10));
    m_moment = new QLabel;
    m_moment->setObjectName("lblMoment");
    auto* moment = new QHBoxLayout;
    moment->addWidget(m_slider, 1);
    moment->addWidget(m_moment);

    m_info = new QLabel;
    m_info->setObjectName("lblOutputInfo");
    m_info->setWordWrap(true);
    m_info->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const auto bytes = EstimateOutputBytes(row, m_context.settings);
    m_estimate = bytes ? QString::fromStdString("about " + FormatByteSize(*bytes)) : QString("unknown");

    m_close = DialogFrame::Button("cmdClose", "&Close", DialogFrame::Press::Default);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
    frame.Body()->addLayout(pictures);
    frame.Body()->addLayout(moment);
    frame.Body()->addWidget(m_info);
    frame.AddButtons({m_close});

    // A drag renders where it is let go; a click or a key at once.
    connect(m_slider, &QSlider::valueChanged, this, [this] {
        ShowMoment();
        if (!m_slider->isSliderDown())
            StartRender();
    });
    connect(m_slider, &QSlider::sliderReleased, this, &PreviewVideoDialog::StartRender);
    ShowMoment();
    StartRender();
}

PreviewVideoDialog::~PreviewVideoDialog()
{
    StopRenders();
}

void PreviewVideoDialog::ShowMoment()
{
    m_moment->setText(QString::fromStdString(FormatSeconds(m_slider->value()) + " / " + m_row.duration));
}

void PreviewVideoDialog::StopRenders()
{
    // Only this window's own encoders; each takes its ffmpeg with it.
    for (QProcess* process : m_running) {
        process->disconnect(this);
        process->kill();
        process->waitForFinished(-1);
        delete process;
    }
    m_running.clear();
}

void PreviewVideoDialog::StartRender()
{
    StopRenders();
    ++m_generation;
    const std::int64_t at = m_slider->value();
    const std::string stem = m_folder->filePath(QString("%1-").arg(m_generation)).toStdString();
    const auto line =
        PreviewEncoderLine(m_row, m_context.settings, m_context.profile, at, stem + "output.png");
    m_source->setText("Rendering...");
    m_pending = 0;
    Start(SourcePictureLine(m_row, at, stem + "source.png"), m_source, false);
    if (!line) {
        m_output->setText("No picture");
        m_info->setText(QString::fromStdString("No picture: " + line.error()));
        return;
    }
    m_output->setText("Rendering...");
    m_info->setText("Output frame: rendering... Estimated size: " + m_estimate);
    Start(*line, m_output, true);
}

QProcess* PreviewVideoDialog::Start(const EncoderLine& line, QLabel* target, bool output)
{
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::MergedChannels);
    QStringList arguments;
    for (const EncoderArgument& argument : line.arguments)
        arguments << QString::fromStdString(argument.text);
    connect(process, &QProcess::finished, this,
            [this, process, target, output, line] { Finished(process, target, output, line); });
    connect(process, &QProcess::errorOccurred, this,
            [this, process, target, output, line](QProcess::ProcessError error) {
                if (error == QProcess::FailedToStart)
                    Finished(process, target, output, line);
            });
    m_running.push_back(process);
    ++m_pending;
    process->start(QString::fromStdString(m_context.component), arguments);
    return process;
}

void PreviewVideoDialog::Finished(QProcess* process, QLabel* target, bool output, const EncoderLine& line)
{
    const PictureRun run{process->exitStatus() == QProcess::NormalExit &&
                                 process->error() != QProcess::FailedToStart
                             ? process->exitCode()
                             : -1,
                         process->readAll().toStdString()};
    std::erase(m_running, process);
    process->deleteLater();
    const auto picture = ReadPictureResult(line, run);
    if (!picture) {
        target->setText(QString::fromStdString(picture.error()));
        if (output)
            m_info->setText(QString::fromStdString("No picture: " + picture.error()));
    } else {
        const QPixmap pixmap(QString::fromStdString(picture->path));
        target->setPixmap(pixmap.scaled(kPictureBox, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        QFile::remove(QString::fromStdString(picture->path));
        if (output)
            m_info->setText(QString::fromStdString("Output frame: " + std::to_string(picture->width) + "x" +
                                                   std::to_string(picture->height) + " pixels at " +
                                                   ShownFrameRate(picture->frameRate) + ". ") +
                            "Estimated size: " + m_estimate);
    }
    if (--m_pending == 0) {
        ++m_shown;
        emit PictureShown();
    }
}

} // namespace zantrove
