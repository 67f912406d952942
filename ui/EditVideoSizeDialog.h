// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace zantrove {

class EncodingSettingsModel;

// frmEditVideoSize: a size that is not in the device's list, as width and height.
class EditVideoSizeDialog : public QDialog
{
    Q_OBJECT
public:
    EditVideoSizeDialog(EncodingSettingsModel& model, QWidget* parent = nullptr);

public slots:
    void cmdOk_Click();

private:
    EncodingSettingsModel& m_model;
    QLineEdit* m_width;
    QLineEdit* m_height;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

} // namespace zantrove
