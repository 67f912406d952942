// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowHelp.h"
#include "base/Version.h"
#include "ui/MainWindow.h"
#include "ui/Theme.h"

#include <QApplication>

#include <iostream>

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    // Taken before QApplication, which removes the options it knows (-style ...) from argv.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    // Answered before any window, so they work without a display.
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::cout << zantrove::kWindowHelp;
        return 0;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        std::cout << "Zantrove " << zantrove::kVersion << '\n';
        return 0;
    }
    // The embedded page view shares its drawing context with the windows; this must come first.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName("Zantrove");
    QApplication::setDesktopFileName(ZANTROVE_APP_ID);
    zantrove::ApplyTheme(application);

    zantrove::MainWindow window;
    if (!window.Load(arguments))
        return 1;
    window.show();
    return QApplication::exec();
}
