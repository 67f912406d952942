// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace zantrove {

// How a finished run went: a file whose output is there counts as converted, any other as failed.
struct BatchOutcome
{
    int converted = 0;
    int failed = 0;

    static BatchOutcome Of(const std::vector<std::string>& outputPaths);
    // The desktop notification's text: "3 files converted, 1 failed."
    std::string Text() const;
};

inline constexpr const char* kNotificationTitle = "Zantrove: conversion finished";

} // namespace zantrove
