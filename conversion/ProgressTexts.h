// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zantrove {

class ConversionProgress;

inline constexpr std::string_view kProcessingCaption = "Converting Video Files...";
inline constexpr std::string_view kInitializingText = "Initializing...";
inline constexpr std::string_view kFinishedText = "Finished!";
inline constexpr std::string_view kCancelCaption = "&Cancel";
inline constexpr std::string_view kCloseCaption = "&Close";

// The words a run's progress is shown in, made from what the parser read: the progress window's
// title, file line, status line and button, and the command line's file lines and bar.
class ProgressTexts
{
public:
    explicit ProgressTexts(const ConversionProgress& progress) : m_progress(progress) {}

    // "Converting Video Files...(25%)" by the last reading within its file, "...Finished!" at the end.
    std::string Caption() const;
    // "Processing File: 2 of 3...", "Initializing..." before the first file, "Finished!" at the end.
    std::string CurrentFile() const;
    // The encoder's last progress line, "Initializing..." before the first.
    std::string Status() const;
    // "&Cancel" while the run goes on, "&Close" once it has ended.
    std::string_view ButtonCaption() const;
    // How far into the current file the encoder is, in percent: "12.5".
    std::string FilePercent() const;

    // value / maximum in percent, two decimals at most, no trailing zeros: "12.5", "50", "33.33".
    static std::string PercentText(std::int32_t value, std::int32_t maximum);

private:
    const ConversionProgress& m_progress;
};

} // namespace zantrove
