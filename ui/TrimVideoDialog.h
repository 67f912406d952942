// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zantrove {

class VideoListModel;
struct RgbColour;

// frmTrimVideo: the start and end time of one row. The row is looked up by its index at every
// access, so a list that changed under the dialog is never written at a stale place.
class TrimVideoDialog : public QDialog
{
    Q_OBJECT
public:
    TrimVideoDialog(VideoListModel& list, std::int16_t index, QWidget* parent = nullptr);

public slots:
    void cmdSet_Click();
    void cmdDoNotTrim_Click();
    void cmdClose_Click();

private:
    void Form_Load();
    void ShowStatus(QStringView text, const RgbColour& colour);

    VideoListModel& m_list;
    std::int16_t m_index;
    QLineEdit* m_boxes[6] = {};
    QLabel* m_total[3] = {};
    QLabel* m_status = nullptr;
    QPushButton* m_set = nullptr;
    QPushButton* m_doNotTrim = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace zantrove
