// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/OutputNaming.h"

#include "media/MediaProbe.h"
#include "media/VideoListModel.h"
#include "platform/FileSystem.h"

namespace zantrove {

std::string OutputBaseName(const VideoRow& row)
{
    // The media library reports a line break in a name as " / ". A separator in the base name would
    // put the output into a folder that is not there, or above the output folder: the path decides.
    return row.filename.find(kPathSeparator) == std::string::npos ? row.filename : NameFromPath(row.filepath);
}

std::string ChooseOutputPath(const std::string& folder, const std::string& baseName,
                             const std::string& extension, const FileExistsTest& exists)
{
    const std::string stem = JoinPath(folder, baseName);
    std::string candidate = stem + "." + extension;
    // A bound, so a test that always answers "taken" cannot hang the conversion.
    for (int n = 2; exists(candidate) && n <= 1000000; ++n)
        candidate = stem + " (" + std::to_string(n) + ")." + extension;
    return candidate;
}

} // namespace zantrove
