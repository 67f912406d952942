// SPDX-License-Identifier: GPL-3.0-or-later
// The window's start-up to the first shown step (offscreen), and the memory a list of 1,000 rows
// takes, read from the process's own peak resident size.
#include "platform/MessageBox.h"
#include "ui/MainWindow.h"
#include "ui/VideoListActions.h"

#include <QElapsedTimer>
#include <QTimer>
#include <filesystem>

#include <QApplication>
#include <chrono>
#include <fstream>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {
long PeakKilobytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const auto start = std::chrono::steady_clock::now();
    QApplication application(argc, argv);
    zantrove::MessageBox::SetTestMode(true);
    zantrove::MainWindow window;
    if (!window.Load({}))
        return 1; // no settings folder: nothing to measure
    window.show();
    QCoreApplication::processEvents();
    const double startup =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const long before = PeakKilobytes();

    for (int i = 0; i < 1000; ++i) {
        zantrove::VideoRow row;
        row.filename = "Holiday video number " + std::to_string(i);
        row.codec = "AVC";
        row.duration = "00:42:17";
        row.videoSize = "1920x1080";
        row.filepath = "/home/user/Videos/Holidays/Holiday video number " + std::to_string(i) + ".mp4";
        window.VideoList().Append(row);
    }
    window.ShowWizardStep(2);
    QCoreApplication::processEvents();
    const long after = PeakKilobytes();
    // 500 files through the add flow, while a 10 ms timer measures how long the window goes without
    // handling its events.
    window.VideoList().Clear();
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("zantrove-bench-add-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string clip = (folder / "clip.mp4").string();
    std::system(("ffmpeg -v error -f lavfi -i testsrc2=size=160x120:rate=25 -t 1 -c:v libx264 -preset "
                 "ultrafast -y '" +
                 clip + "'")
                    .c_str());
    QStringList files;
    for (int i = 0; i < 500; ++i) {
        const auto link = folder / ("clip " + std::to_string(i) + ".mp4");
        std::filesystem::create_hard_link(clip, link);
        files.append(QString::fromStdString(link.string()));
    }
    QElapsedTimer gap;
    qint64 longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { longestGap = std::max(longestGap, gap.restart()); });
    ticker.start(10);
    gap.start();
    const auto addStart = std::chrono::steady_clock::now();
    window.VideoListCommands()->AddDroppedFiles(files);
    while (window.VideoList().Count() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const double addMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - addStart).count();
    ticker.stop();
    std::filesystem::remove_all(folder);

    std::cout << "500 files added through the add flow: " << addMs << " ms (" << addMs / 500
              << " ms a file), longest "
              << "time without event handling " << longestGap << " ms\n"
              << "TABLE|add 500 files (window responsive: longest pause " << longestGap << " ms)|"
              << addMs / 500 << " ms a file|-|-\n";
    std::cout << "start-up to the first shown step: " << startup << " ms\n"
              << "peak memory with the window open: " << before / 1024.0 << " MiB\n"
              << "peak memory with 1,000 rows:      " << after / 1024.0 << " MiB (+"
              << (after - before) / 1024.0 << " MiB)\n"
              << "TABLE|window start-up to step 1 (offscreen)|" << startup << " ms|-|-\n"
              << "TABLE|peak memory with 1,000 rows|" << after / 1024.0 << " MiB|" << before / 1024.0
              << " MiB without rows|" << static_cast<double>(after) / before << "\n";
    return 0;
}
