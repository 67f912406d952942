// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/VideoListStep.h"

#include "ui/PictureButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

namespace zantrove {

VideoListStep::VideoListStep(QWidget* parent)
    : StepPanel(
          2, "Step 2 of 3 :: Adding video files",
          {"In this step you can add one or more video files that you wish to convert. Click the 'Add "
           "Video(s)' button to add video files to the list below. You can also drag video files to the "
           "list below.",
           "To remove video files from your list, select one or more video files, and click the 'Remove "
           "Item(s)' button. Click the 'Next' button when you are done adding files."},
          parent)
{
    // Its rows, columns and headers come with the model that VideoListBinder gives it.
    m_list = new QTreeView;
    m_list->setObjectName("lvwVideoFiles");
    m_list->setAccessibleName(QStringLiteral("Video files"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    // Some air between the rows.
    m_list->setStyleSheet("QTreeView::item { padding: 3px 0; }");
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);

    m_add = new PictureButton("bttnAddVideos", ":/buttons/add-videos.svg", "Add Video File(s)", 32);
    m_remove =
        new PictureButton("bttnRemoveItems", ":/buttons/remove-items.svg", "Remove Selected Item(s)", 32);
    m_trim = new PictureButton("bttnTrimVideoFile", ":/buttons/trim.svg", "Trim selected video file", 32);
    for (auto* button : {m_add, m_remove, m_trim}) {
        button->setText(button->toolTip());
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    buttons->addWidget(m_trim);
    buttons->addStretch();
    Content()->addWidget(m_list, 1);
    Content()->addLayout(buttons);
}

} // namespace zantrove
