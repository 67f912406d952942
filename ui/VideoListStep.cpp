// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/VideoListStep.h"

#include "ui/PictureButton.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zantrove {

namespace {
// Column widths in twips, the unit the list was laid out in; 15 twips make a pixel at 100%.
constexpr int kColumnTwips[] = {2100, 1440, 1440, 1440, 0, 0, 0};
} // namespace

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
    m_list = new QTreeWidget;
    m_list->setObjectName("lvwVideoFiles");
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    // Some air between the rows.
    m_list->setStyleSheet("QTreeView::item { padding: 3px 0; }");
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setHeaderLabels(
        {"Filename", "Codec", "Duration", "Video Size", "Begin Time", "End Time", "Filepath"});
    m_list->header()->setStretchLastSection(false);
    for (int column = 0; column < 7; ++column) {
        if (kColumnTwips[column] == 0)
            m_list->setColumnHidden(column, true); // they hold data, not shown
        else
            m_list->setColumnWidth(column, kColumnTwips[column] / 15);
    }
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);

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
