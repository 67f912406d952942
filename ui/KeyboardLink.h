// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QLabel;

namespace zantrove {

// Tab reaches a link label and Enter or Space follows its link, as a click does. Qt's own keyboard
// links take two Tabs to pass and trap Shift+Tab, so this filter takes the keys instead.
class KeyboardLink : public QObject
{
    Q_OBJECT
public:
    // The filter lives as long as the label does.
    static void Attach(QLabel* label, const QString& link);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KeyboardLink(QLabel* label, QString link);

    QLabel* m_label;
    QString m_link;
};

} // namespace zantrove
