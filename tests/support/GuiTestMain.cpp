// SPDX-License-Identifier: GPL-3.0-or-later
// Window tests run offscreen in a temporary home; message boxes and dialogs are answered by the tests.
#include "platform/FileDialogs.h"
#include "platform/MessageBox.h"
#include "tests/support/TestHome.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    zantrove::test::TestHome home;
    // Window tests never talk to the desktop of whoever runs them; a test that wants a bus sets one.
    const zantrove::test::ScopedEnv noBus("DBUS_SESSION_BUS_ADDRESS", std::nullopt);
    ::testing::InitGoogleTest(&argc, argv);
    // The embedded page view shares its drawing context with the windows; this must come first.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    zantrove::MessageBox::SetTestMode(true);
    zantrove::FileDialogs::SetTestMode(true);
    return RUN_ALL_TESTS();
}
