// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QFormLayout;

namespace zantrove {

struct VideoRow;

// frmFileProperties: what we know of a listed file when the desktop offers no properties sheet of
// its own. It shows the file system's facts (place, type, size, dates) and the probe's fields.
class FilePropertiesWindow : public QDialog
{
    Q_OBJECT
public:
    FilePropertiesWindow(const VideoRow& row, QWidget* parent = nullptr);

    // Shows a new window for the row's path, modeless and deleted on close; nullptr when nothing
    // exists at that path.
    static FilePropertiesWindow* Open(const VideoRow& row, QWidget* parent);

private:
    void AddField(const QString& caption, const QString& value);

    QFormLayout* m_form;
};

} // namespace zantrove
