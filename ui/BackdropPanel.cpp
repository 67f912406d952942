// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/BackdropPanel.h"

#include "ui/SvgPicture.h"

#include <QResizeEvent>

namespace zantrove {

BackdropPanel::BackdropPanel(const QString& resource, QWidget* parent) : QWidget(parent)
{
    m_backdrop = new SvgPicture(resource, SvgPicture::Fit::Stretch, this);
    m_backdrop->lower();
}

void BackdropPanel::resizeEvent(QResizeEvent* event)
{
    m_backdrop->setGeometry(rect());
    QWidget::resizeEvent(event);
}

} // namespace zantrove
