// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FilePropertiesWindow.h"

#include "media/VideoListModel.h"
#include "ui/DialogHeader.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
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
    if (row.IsTrimmed())
        AddField("Trimmed to:", QString::fromStdString(row.beginTime + " - " + row.endTime));

    auto* close = new QPushButton("&Close");
    close->setObjectName("cmdClose");
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(18, 14, 18, 14);
    body->addLayout(m_form);
    body->addSpacing(8);
    body->addStretch();
    body->addLayout(buttons);

    // The header keeps its own height; any room left over goes below the fields.
    auto* header = new DialogHeader("File Properties", info.fileName());
    header->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addLayout(body);
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
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setAccessibleName(caption);
    m_form->addRow(caption, label);
}

QLabel* FilePropertiesWindow::Value(const QString& caption) const
{
    for (int row = 0; row < m_form->rowCount(); ++row) {
        auto* captionItem = m_form->itemAt(row, QFormLayout::LabelRole);
        auto* valueItem = m_form->itemAt(row, QFormLayout::FieldRole);
        auto* captionLabel = captionItem ? qobject_cast<QLabel*>(captionItem->widget()) : nullptr;
        if (captionLabel && valueItem && captionLabel->text() == caption)
            return qobject_cast<QLabel*>(valueItem->widget());
    }
    return nullptr;
}

} // namespace zantrove
