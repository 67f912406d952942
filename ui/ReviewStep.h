// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/StepPanel.h"

class QLabel;

namespace zantrove {

class ClickLabel;

struct ReviewValues
{
    int videoFiles = 0;
    QString device;
    QString profile;
    QString outputFolder;
    int trimmedFiles = 0;
    int soundOnlyFiles = 0; // without a picture: converted as sound alone
    QString estimatedSize;  // what the converted files will take together, in words
    QString ipodSpace;      // the connected iPod's free space; empty without one or the library option
    bool ipodTooSmall = false;
};

// Step 4: what will happen, shown once more before the conversion starts.
class ReviewStep : public StepPanel
{
    Q_OBJECT
public:
    explicit ReviewStep(QWidget* parent = nullptr);

    // Each row is filled on its own; the folder is shortened to 50 characters with "...",
    // the summary below the rows shows it whole.
    void Fill(const ReviewValues& values);
    static QString Shortened(const QString& folder);

    // lblTipLink: the blue "here" laid over the same word of lblTip.
    ClickLabel* TipLink() const { return m_tipLink; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_videoFiles;
    QLabel* m_device;
    QLabel* m_profile;
    QLabel* m_output;
    QLabel* m_estimatedSize;
    QLabel* m_ipodSpaceCaption;
    QLabel* m_ipodSpace;
    QLabel* m_summary;
    QLabel* m_tip;
    ClickLabel* m_tipLink;
};

} // namespace zantrove
