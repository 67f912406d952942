// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"
#include "ui/Theme.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // The embedded page view shares its drawing context with the windows; this must come first.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName("Zantrove");
    QApplication::setDesktopFileName("zantrove");
    zantrove::ApplyTheme(application);

    zantrove::MainWindow window;
    window.Load({argv + 1, argv + argc});
    window.show();
    return QApplication::exec();
}
