// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ShutdownWindow.h"

#include "app/DebugLog.h"
#include "platform/Platform.h"
#include "ui/DialogFrame.h"
#include "ui/QtText.h"

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace zantrove {

namespace {
constexpr int kTickMs = 1000;
} // namespace

ShutdownWindow::ShutdownWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmShutdown");
    setWindowTitle(Text(kShutdownCaption));
    DialogFrame frame(this, Text(kShutdownCaption), Text(kShutdownSubtitle), 10);

    m_countdown = new QLabel;
    m_countdown->setObjectName("lblCountdown");
    m_countdown->setTextFormat(Qt::PlainText);
    m_progress = new QProgressBar;
    m_progress->setObjectName("prgShutdown");
    m_progress->setRange(0, ShutdownCountdown::kSeconds);
    m_progress->setTextVisible(false);
    m_cancel = DialogFrame::Button("cmdCancel", Text(kShutdownCancelCaption), DialogFrame::Press::Default);
    m_timer = new QTimer(this);
    m_timer->setObjectName("tmrShutdown");
    m_timer->setInterval(kTickMs);

    frame.Body()->addWidget(m_countdown);
    frame.Body()->addWidget(m_progress);
    frame.Body()->addSpacing(6);
    frame.AddButtons({m_cancel});
    setMinimumWidth(420);

    // Esc presses Cancel through QDialog's reject while Cancel is enabled.
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_timer, &QTimer::timeout, this, &ShutdownWindow::tmrShutdown_Timer);
    Show(m_state.Opening());
}

void ShutdownWindow::Show(const ShutdownView& view)
{
    m_countdown->setText(QString::fromStdString(view.label));
    m_progress->setValue(view.secondsPassed);
    m_cancel->setEnabled(view.cancelEnabled);
    if (view.red) {
        const QColor red(255, 0, 0);
        QPalette palette = m_countdown->palette();
        palette.setColor(QPalette::WindowText, red);
        m_countdown->setPalette(palette);
        // The program's style sheet would win over the palette alone.
        m_countdown->setStyleSheet(QStringLiteral("color: %1;").arg(red.name()));
    }
    if (!view.timerRunning)
        m_timer->stop();
}

void ShutdownWindow::tmrShutdown_Timer()
{
    if (m_shutdownFailed)
        return;
    const ShutdownView view = m_state.Tick();
    Show(view);
    if (!view.requestShutdown)
        return;
    // A failed request is said in the window, which can then be closed again.
    if (const auto requested = Platform::Instance().RequestShutdown(); !requested) {
        ApplicationLog().LogEvent(requested.error().Text(), DebugLog::Information);
        m_shutdownFailed = true;
        m_countdown->setText(Text(kShutdownFailedText));
        m_cancel->setEnabled(true);
    }
}

void ShutdownWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_state.ShuttingDown() && !m_timer->isActive())
        m_timer->start();
}

void ShutdownWindow::hideEvent(QHideEvent* event)
{
    // However the window goes away, the countdown goes with it.
    m_timer->stop();
    QDialog::hideEvent(event);
}

void ShutdownWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && !m_cancel->isEnabled()) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace zantrove
