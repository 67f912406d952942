// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TrimVideoDialog.h"

#include "media/VideoListModel.h"
#include "platform/MessageBox.h"
#include "trim/TrimDialogModel.h"
#include "ui/DialogFrame.h"
#include "ui/QtText.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace zantrove {

namespace {
// A click anywhere in the box selects its whole text, so typing replaces the value.
class TimeBox : public QLineEdit
{
public:
    explicit TimeBox(const char* name)
    {
        setObjectName(name);
        setAlignment(Qt::AlignCenter);
        setFixedWidth(52);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QLineEdit::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton)
            selectAll();
    }
};

QLabel* Colon()
{
    auto* colon = new QLabel(":");
    colon->setAlignment(Qt::AlignCenter);
    return colon;
}

QLabel* TotalPart(const char* name)
{
    auto* label = new QLabel("00");
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setFixedWidth(52);
    return label;
}

constexpr const char* kBoxNames[6] = {"txtStartTimeHours", "txtStartTimeMinutes", "txtStartTimeSeconds",
                                      "txtEndTimeHours",   "txtEndTimeMinutes",   "txtEndTimeSeconds"};
} // namespace

TrimVideoDialog::TrimVideoDialog(VideoListModel& list, std::int16_t index, QWidget* parent)
    : QDialog(parent), m_list(list), m_index(index)
{
    setObjectName("frmTrimVideo");
    setWindowTitle(Text(kTrimDialogTitle));
    DialogFrame frame(this, Text(kTrimDialogTitle), Text(kTrimDialogSubtitle), 10);

    auto* intro = new QLabel(Text(kTrimDialogIntro));
    intro->setObjectName("Label1");
    intro->setWordWrap(true);

    auto* startLabel = new QLabel(Text(kTrimStartTimeLabel));
    startLabel->setObjectName("lblStartTime");
    auto* endLabel = new QLabel(Text(kTrimEndTimeLabel));
    endLabel->setObjectName("lblEndTime");
    auto* totalLabel = new QLabel(Text(kTrimTotalDurationLabel));
    totalLabel->setObjectName("Label2");
    for (int i = 0; i < 6; ++i) {
        m_boxes[i] = new TimeBox(kBoxNames[i]);
        // Only the first box of a line sits beside its caption; each says what it holds.
        m_boxes[i]->setAccessibleName(QStringLiteral("%1 time, %2")
                                          .arg(i < 3 ? "Start" : "End")
                                          .arg(std::array{"hours", "minutes", "seconds"}[i % 3]));
    }
    m_total[0] = TotalPart("lblHr");
    m_total[1] = TotalPart("lblMin");
    m_total[2] = TotalPart("lblSec");

    auto* times = new QGridLayout;
    times->setHorizontalSpacing(6);
    times->setVerticalSpacing(8);
    times->setColumnMinimumWidth(1, 12);
    QLabel* captions[3] = {startLabel, endLabel, totalLabel};
    for (int line = 0; line < 3; ++line) {
        times->addWidget(captions[line], line, 0);
        for (int part = 0; part < 3; ++part) {
            QWidget* cell = line < 2 ? static_cast<QWidget*>(m_boxes[line * 3 + part]) : m_total[part];
            times->addWidget(cell, line, 2 + part * 2);
            if (part < 2)
                times->addWidget(Colon(), line, 3 + part * 2);
        }
    }
    times->setColumnStretch(7, 1);
    startLabel->setBuddy(m_boxes[0]);
    endLabel->setBuddy(m_boxes[3]);

    m_status = new QLabel;
    m_status->setObjectName("lblIsSet");
    m_status->setAlignment(Qt::AlignCenter);
    auto* note = new QLabel(Text(kTrimNote));
    note->setObjectName("lblNote");
    note->setProperty("role", "tip");
    note->setWordWrap(true);

    frame.Body()->addWidget(intro);
    frame.Body()->addLayout(times);
    frame.Body()->addWidget(m_status);
    frame.Body()->addWidget(note);
    frame.Body()->addSpacing(4);

    m_set = DialogFrame::Button("cmdSet", Text(kTrimSetCaption), DialogFrame::Press::Default);
    m_doNotTrim = DialogFrame::Button("cmdDoNotTrim", Text(kTrimDoNotTrimCaption));
    m_close = DialogFrame::Button("cmdClose", Text(kTrimCloseCaption));
    frame.AddButtons({m_set, m_doNotTrim, m_close});
    setMinimumWidth(430);

    for (int i = 0; i + 1 < 6; ++i)
        setTabOrder(m_boxes[i], m_boxes[i + 1]);
    setTabOrder(m_boxes[5], m_set);
    setTabOrder(m_set, m_doNotTrim);
    setTabOrder(m_doNotTrim, m_close);

    connect(m_set, &QPushButton::clicked, this, &TrimVideoDialog::cmdSet_Click);
    connect(m_doNotTrim, &QPushButton::clicked, this, &TrimVideoDialog::cmdDoNotTrim_Click);
    connect(m_close, &QPushButton::clicked, this, &TrimVideoDialog::cmdClose_Click);
    Form_Load();
}

void TrimVideoDialog::Form_Load()
{
    const VideoRow* row = m_list.Row(m_index);
    const TrimDialogState state = LoadTrimDialog(row ? *row : VideoRow{});
    const TimeParts* parts[2] = {&state.entries.start, &state.entries.end};
    for (int line = 0; line < 2; ++line) {
        m_boxes[line * 3]->setText(QString::fromStdString(parts[line]->hours));
        m_boxes[line * 3 + 1]->setText(QString::fromStdString(parts[line]->minutes));
        m_boxes[line * 3 + 2]->setText(QString::fromStdString(parts[line]->seconds));
    }
    m_total[0]->setText(QString::fromStdString(state.total.hours));
    m_total[1]->setText(QString::fromStdString(state.total.minutes));
    m_total[2]->setText(QString::fromStdString(state.total.seconds));
    ShowStatus(Text(state.statusText), state.statusColour);
    m_boxes[0]->setFocus();
    m_boxes[0]->selectAll();
}

void TrimVideoDialog::ShowStatus(QStringView text, const RgbColour& colour)
{
    m_status->setText(text.toString());
    const QColor background(colour.red, colour.green, colour.blue);
    // The style sheet is what paints; the palette says the same for anyone who reads it.
    QPalette palette = m_status->palette();
    palette.setColor(QPalette::Window, background);
    m_status->setPalette(palette);
    m_status->setAutoFillBackground(true);
    m_status->setStyleSheet(QStringLiteral("QLabel { background-color: %1; color: #1E293B; padding: 8px; "
                                           "border-radius: 6px; }")
                                .arg(background.name()));
}

void TrimVideoDialog::cmdSet_Click()
{
    TrimEntries entries;
    TimeParts* parts[2] = {&entries.start, &entries.end};
    for (int line = 0; line < 2; ++line) {
        parts[line]->hours = m_boxes[line * 3]->text().toStdString();
        parts[line]->minutes = m_boxes[line * 3 + 1]->text().toStdString();
        parts[line]->seconds = m_boxes[line * 3 + 2]->text().toStdString();
    }
    if (const Verdict stored = SetTrimTimes(m_list, m_index, entries); !stored) {
        MessageBox::Show(this, stored.error());
        return;
    }
    accept();
}

void TrimVideoDialog::cmdDoNotTrim_Click()
{
    DoNotTrim(m_list, m_index);
    accept();
}

void TrimVideoDialog::cmdClose_Click()
{
    reject();
}

} // namespace zantrove
