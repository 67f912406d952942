// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zantrove {

// frmTranslate: a help page of the maker's site with the wizard text in another language. Modeless,
// so the wizard stays usable beside it.
class TranslateWindow : public QDialog
{
    Q_OBJECT
public:
    explicit TranslateWindow(QWidget* parent = nullptr);

    // Whether this build shows pages inside the window; without it the window offers the address as
    // a link for the default browser.
    static bool HasEmbeddedView();

    // Shows the page at address, replacing the one shown before.
    void Navigate(const QString& address);
    // The address last navigated to, as the page view holds it.
    QString Address() const;

private:
    QLabel* m_note;
    QWidget* m_view;
    QPushButton* m_close;
};

} // namespace zantrove
