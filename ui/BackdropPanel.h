// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace zantrove {

// A panel with artwork stretched behind its contents, however the panel is sized.
class BackdropPanel : public QWidget
{
    Q_OBJECT
public:
    explicit BackdropPanel(const QString& resource, QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* m_backdrop;
};

} // namespace zantrove
