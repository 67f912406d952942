// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/StepPanel.h"

class QTreeView;

namespace zantrove {

class PictureButton;

// Step 2: the list of files to convert and the buttons that change it.
class VideoListStep : public StepPanel
{
    Q_OBJECT
public:
    explicit VideoListStep(QWidget* parent = nullptr);

    QTreeView* List() const { return m_list; }
    PictureButton* AddButton() const { return m_add; }
    PictureButton* RemoveButton() const { return m_remove; }
    PictureButton* TrimButton() const { return m_trim; }
    PictureButton* PreviewButton() const { return m_preview; }

private:
    QTreeView* m_list;
    PictureButton* m_add;
    PictureButton* m_remove;
    PictureButton* m_trim;
    PictureButton* m_preview;
};

} // namespace zantrove
