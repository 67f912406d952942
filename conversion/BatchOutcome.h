// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace zantrove {

// How an ended run went, judged by the files it left as well as by what it printed: an encoder that
// was killed prints nothing, yet its file is missing.
struct BatchOutcome
{
    int converted = 0; // rows with their output and without an error entry
    int failed = 0;
    // The one verdict of each row, in list order, that every report of the run shares.
    std::vector<bool> rowConverted;
    // The run's own error entries, then "-" + source + ": ..." for each row whose output is missing
    // or empty and that has no entry yet.
    std::string errorLog;

    // "3 converted, 1 failed"
    std::string CountText() const;
    // The desktop notification's text: "3 files converted, 1 failed."
    std::string NotificationText() const;
};

inline constexpr const char* kNotificationTitle = "Zantrove: conversion finished";

// sources and outputs hold one path per row, in list order; errorLog is the run's error log.
BatchOutcome JudgeBatch(const std::vector<std::string>& sources, const std::vector<std::string>& outputs,
                        const std::string& errorLog);

} // namespace zantrove
