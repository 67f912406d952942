// SPDX-License-Identifier: GPL-3.0-or-later
// What following the encoder's output costs: progress lines through the parser alone, and through
// the progress window (offscreen), against the encoder's pace of about two lines a second.
#include "conversion/ConversionProgress.h"
#include "conversion/ConversionScript.h"
#include "platform/ConsoleLauncher.h"
#include "platform/MessageBox.h"
#include "ui/MainWindow.h"
#include "ui/ProcessingWindow.h"

#include <QApplication>
#include <chrono>
#include <iostream>

namespace {
using Steady = std::chrono::steady_clock;

class DrivenLauncher : public zantrove::ConsoleLauncher
{
public:
    static inline DrivenLauncher* current = nullptr;
    DrivenLauncher() { current = this; }
    zantrove::Expected<void, zantrove::Error> Start() override { return {}; }
    void Stop() override {}
    bool IsRunning() const override { return true; }
    void Send(const std::string& data) { EmitData(data); }
};

std::string Line(int i)
{
    return "frame=" + std::to_string(i) + " fps= 25 q=2.0 size=    1024kB time=" + std::to_string(i / 25) +
           "." + std::to_string(i % 25 * 4) + " bitrate= 838.9kbits/s speed=1.02x\r";
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    zantrove::MessageBox::SetTestMode(true);
    const int lines = 20000;
    const std::string echo = "'/s/Zantrove.exe' -i '/in/a.avi' -y '/out/a.mp4'\n";

    zantrove::ConversionProgress progress(
        std::vector<zantrove::ConversionProgress::Row>{{"10:00:00", "/in/a.avi"}},
        zantrove::EncoderLineStart("/s"));
    auto start = Steady::now();
    progress.HandleOutput(echo);
    for (int i = 0; i < lines; ++i)
        progress.HandleOutput(Line(i));
    const double parser = std::chrono::duration<double, std::micro>(Steady::now() - start).count() / lines;

    zantrove::ProcessingWindow::SetLauncherFactory([] { return std::make_unique<DrivenLauncher>(); });
    zantrove::MainWindow main;
    auto* window = main.MakeProcessingWindow(
        zantrove::ConversionRun(std::vector<zantrove::ConversionProgress::Row>{{"10:00:00", "/in/a.avi"}},
                                "/s/Zantrove.bat", {36000}));
    window->show();
    window->StartConversion();
    start = Steady::now();
    DrivenLauncher::current->Send(echo);
    for (int i = 0; i < lines; ++i) {
        DrivenLauncher::current->Send(Line(i));
        if (i % 50 == 0)
            QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    const double windowCost =
        std::chrono::duration<double, std::micro>(Steady::now() - start).count() / lines;
    std::cout << "progress lines: " << lines << "\n"
              << "  parser alone     " << parser << " us per line\n"
              << "  progress window  " << windowCost << " us per line (offscreen, log kept)\n"
              << "  share of the 500 ms between two encoder lines: " << windowCost / 5000.0 << " %\n"
              << "TABLE|progress window per line vs the encoder's 500 ms pace|" << windowCost
              << " us|500000 us|" << windowCost / 500000.0 << "\n";
    delete window;
    return 0;
}
