// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStatusBar>

class QLabel;
class QProgressBar;

namespace zantrove {

// StatusBar: the version, with the add-files progress laid over it while files are added, the
// cancel link for that, and the status text.
class WizardStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit WizardStatusBar(QWidget* parent = nullptr);

    QProgressBar* AddFilesProgressBar() const { return m_addFilesProgress; }
    QWidget* CancelOverlay() const { return m_cancelOverlay; }
    QLabel* CancelLabel() const { return m_cancelLabel; }
    QLabel* VersionPanel() const { return m_versionPanel; }
    QLabel* StatusText() const { return m_statusText; }

signals:
    // A double click on the version.
    void AboutRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_versionPanel;
    QProgressBar* m_addFilesProgress;
    QWidget* m_cancelOverlay;
    QLabel* m_cancelLabel;
    QLabel* m_statusText;
};

} // namespace zantrove
