// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FilePropertiesWindow.h"

#include "media/VideoListModel.h"
#include "ui/DialogFrame.h"
#include "ui/DialogHeader.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QPushButton>
#include <QVBoxLayout>

namespace zantrove {

namespace {
QString DateText(const QDateTime& time)
{
    return time.isValid() ? QLocale().toString(time, QLocale::LongFormat) : QStringLiteral("Not known");
}

QString SizeText(qint64 bytes)
{
    const QLocale locale;
    return QStringLiteral("%1 (%2 bytes)").arg(locale.formattedDataSize(bytes), locale.toString(bytes));
}

QString TypeText(const QFileInfo& info)
{
    if (info.isDir())
        return QStringLiteral("Folder");
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info);
    return type.isValid() ? QStringLiteral("%1 (%2)").arg(type.comment(), type.name())
                          : QStringLiteral("File");
}
} // namespace

FilePropertiesWindow::FilePropertiesWindow(const VideoRow& row, QWidget* parent) : QDialog(parent)
{
    setObjectName("frmFileProperties");
    const QFileInfo info(QString::fromStdString(row.filepath));
    setWindowTitle(QStringLiteral("%1 Properties").arg(info.fileName()));
    DialogFrame frame(this, "File Properties", info.fileName());
    // The header keeps its own height; any room left over goes below the fields.
    frame.Header()->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    m_form = new QFormLayout;
    m_form->setLabelAlignment(Qt::AlignRight);
    m_form->setHorizontalSpacing(14);
    m_form->setVerticalSpacing(6);
    AddField("Name:", info.fileName());
    AddField("Location:", QDir::toNativeSeparators(info.absolutePath()));
    AddField("Type:", TypeText(info));
    if (!info.isDir())
        AddField("Size:", SizeText(info.size()));
    AddField("Created:", DateText(info.birthTime()));
    AddField("Modified:", DateText(info.lastModified()));
    AddField("Accessed:", DateText(info.lastRead()));

    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    m_form->addRow(line);
    AddField("Codec:", QString::fromStdString(row.codec));
    AddField("Duration:", QString::fromStdString(row.duration));
    AddField("Video Size:", QString::fromStdString(row.videoSize));
    if (!row.scan.empty())
        AddField("Scan:", QString::fromStdString(row.scan));
    if (!row.tracks.empty())
        AddField("Tracks:", QString::fromStdString(row.tracks));
    if (row.IsTrimmed())
        AddField("Trimmed to:", QString::fromStdString(row.beginTime + " - " + row.endTime));

    frame.Body()->addLayout(m_form);
    frame.Body()->addSpacing(8);
    frame.Body()->addStretch();

    auto* close = DialogFrame::Button("cmdClose", "&Close", DialogFrame::Press::Default);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    frame.AddButtons({close});
    setMinimumWidth(440);
}

FilePropertiesWindow* FilePropertiesWindow::Open(const VideoRow& row, QWidget* parent)
{
    if (row.filepath.empty() || !QFileInfo::exists(QString::fromStdString(row.filepath)))
        return nullptr;
    auto* window = new FilePropertiesWindow(row, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void FilePropertiesWindow::AddField(const QString& caption, const QString& value)
{
    auto* label = new QLabel(value);
    // "Video Size:" is shown in lblVideoSize.
    label->setObjectName("lbl" + QString(caption).remove(' ').remove(':'));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setAccessibleName(caption);
    m_form->addRow(caption, label);
}

} // namespace zantrove
