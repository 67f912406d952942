// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QSvgRenderer;

namespace zantrove {

// A picture drawn from vector artwork, sharp at every scale factor.
class SvgPicture : public QWidget
{
    Q_OBJECT
public:
    enum class Fit
    {
        KeepAspect, // centred, whole picture visible
        Stretch,    // fills the widget
    };

    explicit SvgPicture(const QString& resource, Fit fit = Fit::KeepAspect, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSvgRenderer* m_renderer;
    Fit m_fit;
};

} // namespace zantrove
