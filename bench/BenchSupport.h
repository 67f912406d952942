// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace zantrove::bench {

struct Captured
{
    int status = -1; // the exit status, -1 when the program did not start or did not exit
    std::string text;
};

enum class Capture
{
    Output,
    Errors
};

// Runs a program without a shell (so a figure is the program's own cost, not a shell's), stdin
// closed and all output discarded; the exit status, -1 when it did not start or did not exit.
int RunQuiet(const std::vector<std::string>& arguments);

// As RunQuiet, but one stream is captured and the other discarded.
Captured RunCaptured(const std::vector<std::string>& arguments, Capture which = Capture::Output);

// The middle value (the mean of the two middle ones for an even count), 0 for none.
double Median(std::vector<double> values);

} // namespace zantrove::bench
