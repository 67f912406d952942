// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DeviceStep.h"

#include "devices/DeviceCatalog.h"
#include "ui/SvgPicture.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace zantrove {

namespace {
struct TileNames
{
    const char* clickArea;
    const char* marker;
    const char* picture;
};

constexpr TileNames kTileNames[] = {
    {"lblClickAreaIPodClassic", "imgIPodClassicSelected", ":/devices/ipod-classic.svg"},
    {"lblClickAreaIPodTouch", "imgIPodTouchSelected", ":/devices/ipod-touch.svg"},
    {"lblClickAreaIPodNano", "imgIPodNanoSelected", ":/devices/ipod-nano.svg"},
    {"lblClickAreaIPhone", "imgIPhoneSelected", ":/devices/iphone.svg"},
    {"lblClickAreaIPad", "imgIPadSelected", ":/devices/ipad.svg"},
};

// Keeps the transparent click area over the whole tile.
class CoverFilter : public QObject
{
public:
    CoverFilter(QWidget* cover, QObject* parent) : QObject(parent), m_cover(cover) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            m_cover->setGeometry(static_cast<QWidget*>(watched)->rect());
        return false;
    }

private:
    QWidget* m_cover;
};

// The tile's picture and its checkmark, in words.
QString SelectionDescription(const QString& device, bool selected)
{
    return QStringLiteral("Picture of the %1%2")
        .arg(device, selected ? QStringLiteral(", checkmarked: the selected device") : QString());
}
} // namespace

DeviceStep::DeviceStep(QWidget* parent)
    : StepPanel(
          1, "Step 1 of 3 :: Select your device",
          {"Please, click on the device for which you wish to convert your video files.",
           "If you wish to convert your video files for multiple devices (e.g. iPod and iPhone), choose "
           "iPod Classic.",
           "A checkmark indicates the selected device."},
          parent)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(10); // five tiles and their gaps fit the default window without scrolling
    row->addStretch();
    for (std::size_t i = 0; i < kDevices.size(); ++i) {
        const DeviceInfo& device = kDevices[i];
        auto* tile = new QWidget;
        tile->setObjectName(QStringLiteral("tile%1").arg(i));
        tile->setProperty("role", "deviceTile");
        tile->setAttribute(Qt::WA_StyledBackground);
        tile->setFixedSize(124, 178);

        auto* picture = new SvgPicture(kTileNames[i].picture);
        picture->setFixedSize(84, 112);
        const QString caption =
            device.captionBottom.empty()
                ? QString::fromUtf8(device.captionTop.data(), device.captionTop.size())
                : QString::fromUtf8(device.captionTop.data(), device.captionTop.size()) + '\n' +
                      QString::fromUtf8(device.captionBottom.data(), device.captionBottom.size());
        auto* label = new QLabel(caption);
        label->setAlignment(Qt::AlignCenter);
        label->setProperty("role", "deviceCaption");

        auto* layout = new QVBoxLayout(tile);
        layout->setContentsMargins(8, 12, 8, 8);
        layout->setSpacing(6);
        layout->addWidget(picture, 0, Qt::AlignHCenter);
        layout->addWidget(label);

        auto* marker = new SvgPicture(":/devices/selected.svg", SvgPicture::Fit::KeepAspect, tile);
        marker->setObjectName(kTileNames[i].marker);
        marker->setGeometry(tile->width() - 34, 8, 26, 26);
        marker->hide();

        auto* clickArea = new QPushButton(tile);
        clickArea->setObjectName(kTileNames[i].clickArea);
        clickArea->setProperty("role", "clickArea");
        clickArea->setFlat(true);
        // Outside a dialog only an auto-default push button takes Enter as well as Space.
        clickArea->setAutoDefault(true);
        clickArea->setCursor(Qt::PointingHandCursor);
        clickArea->setToolTip(caption.simplified());
        clickArea->setAccessibleName(caption.simplified());
        clickArea->setAccessibleDescription(SelectionDescription(caption.simplified(), false));
        tile->installEventFilter(new CoverFilter(clickArea, tile));
        clickArea->setGeometry(tile->rect());
        clickArea->raise();
        const QString identifier = QString::fromUtf8(device.identifier.data(), device.identifier.size());
        connect(clickArea, &QPushButton::clicked, this,
                [this, identifier] { emit DeviceClicked(identifier); });

        row->addWidget(tile);
        m_tiles.append(tile);
        m_markers.append(marker);
        m_clickAreas.append(clickArea);
    }
    row->addStretch();
    Content()->addStretch(1);
    Content()->addLayout(row);
    Content()->addStretch(2);
}

void DeviceStep::ShowMarker(const QString& identifier)
{
    const int selected = DeviceIndex(identifier.toStdString());
    for (int i = 0; i < m_markers.size(); ++i) {
        m_markers[i]->setVisible(i == selected);
        m_clickAreas[i]->setAccessibleDescription(
            SelectionDescription(m_clickAreas[i]->accessibleName(), i == selected));
        m_tiles[i]->setProperty("selected", i == selected);
        m_tiles[i]->style()->unpolish(m_tiles[i]);
        m_tiles[i]->style()->polish(m_tiles[i]);
    }
}

} // namespace zantrove
