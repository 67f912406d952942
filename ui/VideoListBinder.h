// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>

#include <cstdint>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace zantrove {

class VideoListModel;
struct VideoListChange;
struct VideoRow;

// Shows the video list's rows in lvwVideoFiles and keeps the selection of both in step: clicks in
// the widget go to the model, and model changes are drawn back. The widget also accepts drops of
// local files and folders, which it hands on through FilesDropped.
class VideoListBinder : public QObject
{
    Q_OBJECT
public:
    VideoListBinder(VideoListModel& model, QTreeWidget* list, QObject* parent = nullptr);
    ~VideoListBinder() override;

    VideoListModel& Model() const { return m_model; }
    QTreeWidget* List() const { return m_list; }

    // Selects exactly rows (1-based) with current holding the focus, in the model and the widget.
    void Select(const std::vector<std::int16_t>& rows, std::int16_t current);
    // Draws every row and the selection again.
    void Refresh();

signals:
    // The local paths of a drop, in the order the drop listed them.
    void FilesDropped(const QStringList& paths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnModelChanged(const VideoListChange& change);
    void ReadSelection();
    void ShowSelection();
    void ShowCurrentRow();
    void FillItem(QTreeWidgetItem* item, const VideoRow& row) const;

    VideoListModel& m_model;
    QTreeWidget* m_list;
    int m_listener = 0;
    bool m_drawing = false; // set while the binder itself changes the widget
};

} // namespace zantrove
