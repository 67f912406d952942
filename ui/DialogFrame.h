// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>

class QDialog;
class QLayout;
class QPushButton;
class QString;
class QVBoxLayout;
class QWidget;

namespace zantrove {

class DialogHeader;

// The layout the program's dialogs share: the header band, below it the body with the usual
// margins, and the button row at the body's end with the buttons pushed to the right.
class DialogFrame
{
public:
    // Lays the frame out on dialog; the body is filled afterwards, top to bottom. bodySpacing: between
    // the body's rows, the style's own when negative.
    DialogFrame(QDialog* dialog, const QString& title, const QString& subtitle, int bodySpacing = -1);
    // The body alone, for a dialog without a header.
    explicit DialogFrame(QDialog* dialog, int bodySpacing = -1);

    enum class Press
    {
        Click,
        Default, // Enter presses it
    };
    // A push button, named for the tests that find it.
    static QPushButton* Button(const char* name, const QString& caption, Press press = Press::Click);

    // Null for a dialog without a header.
    DialogHeader* Header() const { return m_header; }
    QVBoxLayout* Body() const { return m_body; }
    // The body takes the height the dialog gains.
    void StretchBody();
    // Ends the body with the button row: leading widgets at the left, buttons at the right.
    void AddButtons(std::initializer_list<QWidget*> buttons, std::initializer_list<QWidget*> leading = {});

private:
    QVBoxLayout* m_outer = nullptr;
    DialogHeader* m_header = nullptr;
    QVBoxLayout* m_body;
};

} // namespace zantrove
