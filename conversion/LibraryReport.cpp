// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/LibraryReport.h"

#include <vector>

namespace zantrove {

namespace {
struct Destination
{
    std::string text; // "on the iPod "NAME"" or "in the playlist PATH"
    int files = 0;
};

void Count(std::vector<Destination>& destinations, std::string text)
{
    for (Destination& destination : destinations) {
        if (destination.text == text) {
            ++destination.files;
            return;
        }
    }
    destinations.push_back({std::move(text), 1});
}
} // namespace

std::string IpodReportLine(const std::string& ipodName)
{
    return std::string(kIpodLinePrefix) + '"' + ipodName + '"';
}

std::string PlaylistReportLine(std::string_view why, const std::string& playlist)
{
    return std::string(kNoIpodLinePrefix) + std::string(why) + ": " + std::string(kPlaylistMarker) + playlist;
}

std::string LibrarySummary(std::string_view log)
{
    std::vector<Destination> destinations;
    for (std::size_t start = 0; start < log.size();) {
        std::size_t end = log.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = log.size();
        const std::string_view line = log.substr(start, end - start);
        start = end + 1;
        if (line.starts_with(kIpodLinePrefix)) {
            Count(destinations, "on the iPod " + std::string(line.substr(kIpodLinePrefix.size())));
        } else if (line.starts_with(kNoIpodLinePrefix)) {
            const std::size_t marker = line.find(kPlaylistMarker);
            if (marker != std::string_view::npos)
                Count(destinations,
                      "in the playlist " + std::string(line.substr(marker + kPlaylistMarker.size())));
        }
    }
    std::string summary;
    for (const Destination& destination : destinations) {
        if (!summary.empty())
            summary += ' ';
        summary += destination.files == 1 ? "1 file is " : std::to_string(destination.files) + " files are ";
        summary += destination.text + '.';
    }
    return summary;
}

} // namespace zantrove
