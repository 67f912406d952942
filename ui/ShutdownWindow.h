// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/ShutdownCountdown.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace zantrove {

// frmShutdown: one minute to change one's mind before the computer is powered off.
class ShutdownWindow : public QDialog
{
    Q_OBJECT
public:
    explicit ShutdownWindow(QWidget* parent = nullptr);

public slots:
    // One second of the countdown; the timer calls it, tests may call it directly.
    void tmrShutdown_Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Show(const ShutdownView& view);

    ShutdownCountdown m_state;
    QLabel* m_countdown;
    QProgressBar* m_progress;
    QPushButton* m_cancel;
    QTimer* m_timer;
    bool m_shutdownFailed = false;
};

} // namespace zantrove
