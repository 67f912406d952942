// SPDX-License-Identifier: GPL-3.0-or-later
// The message box itself (the window tests answer it through the seam): its text as the user reads
// it, and the answer of the button pressed.
#include "platform/MessageBox.h"
#include "tests/platform/WhenShown.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <gtest/gtest.h>
#include <tuple>

namespace zantrove {
namespace {

TEST(MessageBoxTest, TheBoxShowsEveryLineAndAnswersWithTheButtonPressed)
{
    MessageBox::SetTestMode(false);
    using Row = std::tuple<bool, QMessageBox::StandardButton, MessageBox::Answer>;
    for (const auto& [question, press, answer] :
         {Row{true, QMessageBox::No, MessageBox::No}, Row{true, QMessageBox::Yes, MessageBox::Yes},
          Row{false, QMessageBox::Ok, MessageBox::Ok}}) {
        QString title, text;
        test::WhenShown<QMessageBox>([&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            box->button(press)->click();
        });
        // CR LF and a lone CR both end a line; nothing after a lone CR is lost.
        const UserMessage message{MessageIcon::Question, "one\r\ntwo\rthree\r", "Asked"};
        EXPECT_EQ(question ? MessageBox::Ask(nullptr, message) : MessageBox::Show(nullptr, message), answer);
        EXPECT_EQ(title, "Asked");
        EXPECT_EQ(text, "one\ntwo\nthree\n");
    }
    MessageBox::SetTestMode(true);
}

} // namespace
} // namespace zantrove
