// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>

#include <cstdint>
#include <vector>

class QTreeView;

namespace zantrove {

class VideoListModel;
class VideoListTableModel;
struct VideoListChange;

// Shows the video list's rows in lvwVideoFiles through a table model and keeps the selection of
// both in step: clicks in the view go to the list, and the list's selection is drawn back. The
// view also accepts drops of local files and folders, which it hands on through FilesDropped.
class VideoListBinder : public QObject
{
    Q_OBJECT
public:
    VideoListBinder(VideoListModel& model, QTreeView* list, QObject* parent = nullptr);
    ~VideoListBinder() override;

    VideoListModel& Model() const { return m_model; }
    QTreeView* List() const { return m_list; }

signals:
    // The local paths of a drop, in the order the drop listed them.
    void FilesDropped(const QStringList& paths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayOutColumns();
    void OnModelChanged(const VideoListChange& change);
    void ReadSelection();
    void ShowSelection();
    void ShowCurrentRow();

    VideoListModel& m_model;
    VideoListTableModel* m_table;
    QTreeView* m_list;
    int m_listener = 0;
    bool m_drawing = false; // set while the binder itself changes the view's selection
};

} // namespace zantrove
