// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/VideoListModel.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBox.h"
#include "tests/support/TestHome.h"
#include "ui/MainWindow.h"

#include <QAbstractItemModel>
#include <QTreeView>

#include <cstdlib>
#include <memory>
#include <string>

namespace zantrove::test {

// A loaded main window on a data home of its own, so settings never leak between tests; message
// boxes and file dialogs are answered by the test.
inline std::unique_ptr<MainWindow> OpenMainWindow()
{
    MessageBox::SetTestMode(true);
    FileDialogs::SetTestMode(true);
    ::setenv("XDG_DATA_HOME", MakeTempFolder("data").c_str(), 1);
    auto window = std::make_unique<MainWindow>();
    window->Load({});
    return window;
}

// A row as the probe would give it, without probing: for tests that do not care what the file holds.
inline VideoRow ListRow(const std::string& name, const std::string& duration = "00:00:02",
                        const std::string& path = {})
{
    VideoRow row;
    row.filename = name;
    row.codec = "AVC";
    row.duration = duration;
    row.videoSize = "160x120";
    row.filepath = path.empty() ? "/videos/" + name + ".avi" : path;
    return row;
}

// What lvwVideoFiles shows in one cell, through the view's own model.
inline QVariant ShownCell(const QTreeView* list, int row, int column, int role = Qt::DisplayRole)
{
    return list->model()->index(row, column).data(role);
}

} // namespace zantrove::test
