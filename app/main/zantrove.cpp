// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"
#include "ui/Theme.h"

#include <QApplication>

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    // Taken before QApplication, which removes the options it knows (-style ...) from argv.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    // The embedded page view shares its drawing context with the windows; this must come first.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName("Zantrove");
    QApplication::setDesktopFileName("zantrove");
    zantrove::ApplyTheme(application);

    zantrove::MainWindow window;
    if (!window.Load(arguments))
        return 1;
    window.show();
    return QApplication::exec();
}
