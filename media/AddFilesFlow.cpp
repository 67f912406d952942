// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/AddFilesFlow.h"

#include "media/VideoListModel.h"
#include "platform/FileSystem.h"
#include "storage/UserSettings.h"

#include <algorithm>
#include <utility>

namespace zantrove {

namespace {

// The part of path before its last separator; a root keeps its separator ("/", "D:\").
std::string ParentFolder(const std::string& path, bool withTrailingSeparator)
{
    const auto last = path.find_last_of(kPathSeparator);
    if (last == std::string::npos)
        return {};
    std::string folder = path.substr(0, last);
    const bool isRoot = folder.empty() || (folder.size() == 2 && folder[1] == ':');
    if (withTrailingSeparator || isRoot)
        folder += kPathSeparator;
    return folder;
}

} // namespace

std::vector<std::string> AddFilesDialogFilters()
{
    std::vector<std::string> filters;
    for (const auto& filter : kAddFilesFilters)
        filters.push_back(std::string(filter.name) + " (" + std::string(filter.patterns) + ")");
    return filters;
}

std::string SelectionFolder(const std::vector<std::string>& chosenPaths)
{
    if (chosenPaths.empty())
        return {};
    return ParentFolder(chosenPaths.front(), chosenPaths.size() == 1);
}

AddFilesFlow::AddFilesFlow(VideoListModel& list, std::string settingsFolder, std::string homeFolder,
                           ProbeFunction probe)
    : m_list(list), m_settingsFolder(std::move(settingsFolder)), m_homeFolder(std::move(homeFolder)),
      m_probe(std::move(probe))
{
    if (!m_probe)
        m_probe = [](const std::string& path) { return ProbeMediaFile(path); };
}

AddFilesDialogSetup AddFilesFlow::DialogSetup() const
{
    return {std::string(kAddFilesDialogTitle), ReadAddFilesFolder(m_settingsFolder, m_homeFolder),
            AddFilesDialogFilters()};
}

AddFilesResult AddFilesFlow::AddVideoFiles(const ChooseFiles& choose, const AddFilesCallback& progress)
{
    const AddFilesDialogSetup setup = DialogSetup();
    const std::vector<std::string> chosen = choose ? choose(setup) : std::vector<std::string>{};
    if (chosen.empty())
        return {};
    const std::string folder = SelectionFolder(chosen);
    std::optional<Error> folderNotKept;
    // Only where the dialog starts next time depends on it; the files chosen are added anyway.
    if (!folder.empty() && folder != setup.startFolder) {
        if (auto kept = WriteAddFilesFolder(m_settingsFolder, folder); !kept)
            folderNotKept = kept.error();
    }
    m_cancelled = false;
    AddFilesResult result = AddPaths(chosen, chosen.size() == 1, progress);
    result.folderNotKept = std::move(folderNotKept);
    return result;
}

AddFilesResult AddFilesFlow::AddDroppedFiles(const std::vector<std::string>& paths,
                                             const AddFilesCallback& progress)
{
    if (paths.empty())
        return {};
    m_cancelled = false;
    return AddPaths(paths, false, progress);
}

std::string MediaRowRefusal(const VideoRow& row)
{
    if (row.codec != kUnknownCodec || (!row.duration.empty() && row.duration != "00:00:00"))
        return {};
    return FileExists(row.filepath) || FolderExists(row.filepath) ? "not a media file" : "no such file";
}

bool IsSoundOnlyRow(const VideoRow& row)
{
    return row.codec == kUnknownCodec && MediaRowRefusal(row).empty();
}

bool AddFilesFlow::AddOne(const std::string& path)
{
    if (m_list.Count() >= VideoListModel::kMaxRows)
        return false;
    ProbeFields fields = m_probe(path);
    VideoRow row;
    row.filename = std::move(fields.filename);
    row.codec = std::move(fields.codec);
    row.duration = std::move(fields.duration);
    row.videoSize = std::move(fields.videoSize);
    row.scan = std::move(fields.scan);
    row.tracks = std::move(fields.tracks);
    row.filepath = path;
    return m_list.Append(std::move(row)) != 0;
}

AddFilesResult AddFilesFlow::AddPaths(const std::vector<std::string>& paths, bool singleDialogFile,
                                      const AddFilesCallback& progress)
{
    struct RunningGuard
    {
        int& running;
        explicit RunningGuard(int& counter) : running(counter) { ++running; }
        ~RunningGuard() { --running; }
        RunningGuard(const RunningGuard&) = delete;
        RunningGuard& operator=(const RunningGuard&) = delete;
    } guard(m_running);

    // The bar counts in 16 bits like the list, so no more than a full list's worth is offered.
    const auto total = static_cast<std::int16_t>(
        std::min<std::size_t>(paths.size(), static_cast<std::size_t>(VideoListModel::kMaxRows)));
    const std::string_view text = singleDialogFile ? kAddingFileText : kAddingFilesText;
    const auto report = [&](std::int16_t done, bool pump) {
        if (progress)
            progress({text, done, std::max<std::int16_t>(done, 1), total, done == total, pump});
    };

    AddFilesResult result;
    report(0, false);
    for (std::int16_t i = 1; i <= total; ++i) {
        if (!AddOne(paths[static_cast<std::size_t>(i - 1)])) {
            result.listFull = true;
            // Hide the display: the loop ends early without reaching the last file.
            if (progress)
                progress({text, static_cast<std::int16_t>(i - 1), static_cast<std::int16_t>(i - 1), total,
                          true, false});
            break;
        }
        ++result.added;
        // The single dialog file is added in one go: no events, no cancel.
        report(i, !singleDialogFile);
        if (!singleDialogFile && m_cancelled) {
            result.cancelled = i < total;
            break;
        }
    }
    if (paths.size() > static_cast<std::size_t>(total) && !result.cancelled)
        result.listFull = true;
    return result;
}

} // namespace zantrove
