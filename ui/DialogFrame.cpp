// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DialogFrame.h"

#include "ui/DialogHeader.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace zantrove {

namespace {
void SetBodyRoom(QVBoxLayout* body, int spacing)
{
    body->setContentsMargins(18, 14, 18, 14);
    if (spacing >= 0)
        body->setSpacing(spacing);
}
} // namespace

DialogFrame::DialogFrame(QDialog* dialog, const QString& title, const QString& subtitle, int bodySpacing)
{
    m_outer = new QVBoxLayout(dialog);
    m_outer->setContentsMargins(0, 0, 0, 0);
    m_outer->setSpacing(0);
    m_header = new DialogHeader(title, subtitle);
    m_outer->addWidget(m_header);
    m_body = new QVBoxLayout;
    SetBodyRoom(m_body, bodySpacing);
    m_outer->addLayout(m_body);
}

DialogFrame::DialogFrame(QDialog* dialog, int bodySpacing) : m_body(new QVBoxLayout(dialog))
{
    SetBodyRoom(m_body, bodySpacing);
}

QPushButton* DialogFrame::Button(const char* name, const QString& caption, Press press)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    if (press == Press::Default)
        button->setDefault(true);
    return button;
}

void DialogFrame::StretchBody()
{
    if (m_outer)
        m_outer->setStretchFactor(m_body, 1);
}

void DialogFrame::AddButtons(std::initializer_list<QWidget*> buttons, std::initializer_list<QWidget*> leading)
{
    auto* row = new QHBoxLayout;
    m_body->addLayout(row);
    for (QWidget* widget : leading)
        row->addWidget(widget);
    row->addStretch();
    for (QWidget* widget : buttons)
        row->addWidget(widget);
}

} // namespace zantrove
