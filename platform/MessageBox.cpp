// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MessageBox.h"

#include <QMessageBox>
#include <deque>

namespace zantrove {

namespace {
bool g_testMode = false;
std::deque<MessageBox::Answer> g_answers;
std::vector<UserMessage> g_shown;

QMessageBox::Icon ToQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

MessageBox::Answer Run(QWidget* parent, const UserMessage& message, bool question)
{
    if (g_testMode) {
        g_shown.push_back(message);
        MessageBox::Answer answer = question ? MessageBox::Yes : MessageBox::Ok;
        if (!g_answers.empty()) {
            answer = g_answers.front();
            g_answers.pop_front();
        }
        return answer;
    }
    QMessageBox box(ToQt(message.icon), QString::fromStdString(message.title),
                    QString::fromStdString(MessageBox::DisplayText(message.text)),
                    question ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    if (question)
        box.setDefaultButton(QMessageBox::Yes);
    const int result = box.exec();
    if (!question)
        return MessageBox::Ok;
    return result == QMessageBox::Yes ? MessageBox::Yes : MessageBox::No;
}
} // namespace

MessageBox::Answer MessageBox::Show(QWidget* parent, const UserMessage& message)
{
    return Run(parent, message, false);
}

MessageBox::Answer MessageBox::Ask(QWidget* parent, const UserMessage& message)
{
    return Run(parent, message, true);
}

void MessageBox::SetTestMode(bool on)
{
    g_testMode = on;
    g_answers.clear();
    g_shown.clear();
}

void MessageBox::SetNextAnswer(Answer answer)
{
    g_answers.push_back(answer);
}

const std::vector<UserMessage>& MessageBox::Shown()
{
    return g_shown;
}

void MessageBox::ClearShown()
{
    g_shown.clear();
}

std::string MessageBox::DisplayText(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace zantrove
