// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ReviewStep.h"

#include "ui/ClickLabel.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace zantrove {

ReviewStep::ReviewStep(QWidget* parent)
    : StepPanel(
          4, "Convert your video files!",
          {"Please, review the settings below. When you are ready, click the \"Convert\" button to start "
           "converting your video files. Click the \"Back\" button if you wish to change any settings."},
          parent)
{
    auto* card = new QWidget;
    card->setProperty("role", "card");
    card->setAttribute(Qt::WA_StyledBackground);
    auto* grid = new QGridLayout(card);
    grid->setContentsMargins(18, 14, 18, 14);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);

    const auto addRow = [grid](int row, const char* captionName, const char* caption, const char* valueName) {
        auto* captionLabel = new QLabel(caption);
        captionLabel->setObjectName(captionName);
        captionLabel->setProperty("role", "reviewCaption");
        auto* value = new QLabel;
        value->setObjectName(valueName);
        value->setProperty("role", "reviewValue");
        value->setTextFormat(Qt::PlainText);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(captionLabel, row, 0);
        grid->addWidget(value, row, 1);
        return value;
    };
    m_videoFiles =
        addRow(0, "lblVideoFilesDescription", "Number of video files..................", "lblVideoFiles");
    m_device = addRow(1, "lblSelectedDeviceDescription", "Selected Device...........................",
                      "lblSelectedDevice");
    m_profile = addRow(2, "lblSelectedProfileDescription", "Selected Profile...........................",
                       "lblSelectedProfile");
    m_output = addRow(3, "lblOutputDescription", "Files are saved to........................", "lblOutput");
    m_estimatedSize =
        addRow(4, "lblEstimatedSizeDescription", "Estimated size of the files.........", "lblEstimatedSize");
    m_ipodSpace =
        addRow(5, "lblIpodSpaceDescription", "Space on the iPod............................", "lblIpodSpace");
    m_ipodSpaceCaption = qobject_cast<QLabel*>(grid->itemAtPosition(5, 0)->widget());
    m_ipodSpace->setWordWrap(true);
    grid->setColumnStretch(1, 1);

    m_summary = new QLabel;
    m_summary->setObjectName("lblReviewSummary");
    m_summary->setProperty("role", "reviewSummary");
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // The word under the link is drawn transparent, so only the link's blue "here" shows; the
    // sentence stays whole for screen readers. One line, so the word's place is known.
    m_tip = new QLabel(QStringLiteral("Tip: click <span style=\"color: transparent\">here</span> if you have "
                                      "trouble playing video files on your computer."));
    m_tip->setObjectName("lblTip");
    m_tip->setProperty("role", "tip");
    m_tip->setTextFormat(Qt::RichText);
    m_tip->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_tip->setAccessibleName("Tip: click here if you have trouble playing video files on your computer.");
    m_tipLink = new ClickLabel("lblTipLink", "here", m_tip);
    m_tipLink->SetColor(QColor(0x25, 0x63, 0xEB));
    m_tip->installEventFilter(this);

    Content()->addWidget(card);
    Content()->addWidget(m_summary);
    Content()->addStretch(1);
    Content()->addWidget(m_tip);
}

bool ReviewStep::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_tip && (event->type() == QEvent::Resize || event->type() == QEvent::FontChange ||
                             event->type() == QEvent::StyleChange || event->type() == QEvent::Polish)) {
        // Over the word "here": after "Tip: click " in the tip's own font, centred on its line.
        const QFontMetrics metrics(m_tip->font());
        const QRect text = m_tip->contentsRect();
        m_tipLink->setFont(m_tip->font());
        const QSize size(metrics.horizontalAdvance("here") + 1, metrics.height());
        m_tipLink->setGeometry(QRect(QPoint(text.left() + metrics.horizontalAdvance("Tip: click "),
                                            text.top() + (text.height() - size.height()) / 2),
                                     size));
    }
    return StepPanel::eventFilter(watched, event);
}

QString ReviewStep::Shortened(const QString& folder)
{
    const QList<uint> characters = folder.toUcs4();
    if (characters.size() <= 50)
        return folder;
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), 50) + "...";
}

void ReviewStep::Fill(const ReviewValues& values)
{
    m_videoFiles->setText(QString::number(values.videoFiles));
    m_device->setText(values.device);
    m_profile->setText(values.profile);
    m_output->setText(Shortened(values.outputFolder));
    m_output->setToolTip(values.outputFolder);
    m_estimatedSize->setText(values.estimatedSize);
    // Said only with an iPod to copy to; a batch too large for it is marked before the start.
    m_ipodSpace->setText(values.ipodSpace);
    m_ipodSpace->setStyleSheet(values.ipodTooSmall ? "color: #B91C1C; font-weight: bold;" : "");
    m_ipodSpace->setVisible(!values.ipodSpace.isEmpty());
    m_ipodSpaceCaption->setVisible(!values.ipodSpace.isEmpty());
    QString files = values.videoFiles == 1
                        ? QStringLiteral("1 video file will be converted")
                        : QStringLiteral("%1 video files will be converted").arg(values.videoFiles);
    if (values.trimmedFiles > 0)
        files += values.videoFiles == 1 ? QStringLiteral(" (trimmed)")
                                        : QStringLiteral(" (%1 of them trimmed)").arg(values.trimmedFiles);
    if (values.soundOnlyFiles > 0)
        files += values.soundOnlyFiles == 1
                     ? QStringLiteral(" (1 without a picture, as sound alone)")
                     : QStringLiteral(" (%1 without a picture, as sound alone)").arg(values.soundOnlyFiles);
    m_summary->setText(files + QStringLiteral(" and saved to:\n") + values.outputFolder);
}

} // namespace zantrove
