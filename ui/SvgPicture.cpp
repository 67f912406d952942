// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SvgPicture.h"

#include "ui/Artwork.h"

#include <QPainter>
#include <QSvgRenderer>

void InitZantroveArtwork()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(zantrove);
        return true;
    }();
    (void)registered;
}

namespace zantrove {

SvgPicture::SvgPicture(const QString& resource, Fit fit, QWidget* parent)
    : QWidget(parent), m_renderer(new QSvgRenderer(resource, this)), m_fit(fit)
{
    ::InitZantroveArtwork();
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QSize SvgPicture::sizeHint() const
{
    return m_renderer->defaultSize();
}

void SvgPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_fit == Fit::Stretch) {
        m_renderer->render(&painter, rect());
        return;
    }
    QSizeF size = m_renderer->viewBoxF().size();
    if (size.isEmpty())
        return;
    size.scale(QSizeF(width(), height()), Qt::KeepAspectRatio);
    const QRectF target((width() - size.width()) / 2, (height() - size.height()) / 2, size.width(),
                        size.height());
    m_renderer->render(&painter, target);
}

} // namespace zantrove
