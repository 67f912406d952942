// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/StepPanel.h"

#include <QList>

class QPushButton;

namespace zantrove {

class SvgPicture;

// Step 1: one tile per device; exactly the current device's marker is visible.
class DeviceStep : public StepPanel
{
    Q_OBJECT
public:
    explicit DeviceStep(QWidget* parent = nullptr);

    // Hides every marker, then shows the one of identifier (none for an unknown identifier).
    void ShowMarker(const QString& identifier);

signals:
    void DeviceClicked(const QString& identifier);

private:
    QList<QPushButton*> m_clickAreas;
    QList<SvgPicture*> m_markers;
    QList<QWidget*> m_tiles;
};

} // namespace zantrove
