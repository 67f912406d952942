// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QIcon>

namespace zantrove {

class VideoListModel;
struct VideoListChange;

// The video list's rows as a Qt table, one column per VideoColumn. Nothing is copied: every
// change of the list is passed on to the views as it happens.
class VideoListTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit VideoListTableModel(VideoListModel& list, QObject* parent = nullptr);
    ~VideoListTableModel() override;

    // True between a change's two announcements, while views and selections are being moved.
    bool IsChanging() const { return m_changing; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void OnListChanged(const VideoListChange& change);

    VideoListModel& m_list;
    int m_listener = 0;
    bool m_changing = false;
    QIcon m_trimIcon;
};

} // namespace zantrove
