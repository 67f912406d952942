// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace zantrove {

// frmError: the errors a conversion collected, to read and scroll through.
class ErrorWindow : public QDialog
{
    Q_OBJECT
public:
    explicit ErrorWindow(QWidget* parent = nullptr);

    // errors: the collected text; its CR LF line ends are shown as lines.
    void SetErrors(const std::string& errors);

private:
    QPlainTextEdit* m_errors;
    QPushButton* m_close;
};

} // namespace zantrove
