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
    ChosenFiles chosen = ChooseVideoFiles(choose);
    if (chosen.paths.empty())
        return {};
    const bool single = chosen.paths.size() == 1;
    AddFilesResult result = AddPaths(std::move(chosen.paths), single, progress);
    result.folderNotKept = std::move(chosen.folderNotKept);
    return result;
}

ChosenFiles AddFilesFlow::ChooseVideoFiles(const ChooseFiles& choose)
{
    const AddFilesDialogSetup setup = DialogSetup();
    const std::vector<std::string> chosen = choose ? choose(setup) : std::vector<std::string>{};
    if (chosen.empty())
        return {};
    const std::string folder = SelectionFolder(chosen);
    ChosenFiles result{chosen, std::nullopt};
    // Only where the dialog starts next time depends on it; the files chosen are added anyway.
    if (!folder.empty() && folder != setup.startFolder) {
        if (auto kept = WriteAddFilesFolder(m_settingsFolder, folder); !kept)
            result.folderNotKept = kept.error();
    }
    return result;
}

AddFilesResult AddFilesFlow::AddDroppedFiles(const std::vector<std::string>& paths,
                                             const AddFilesCallback& progress)
{
    if (paths.empty())
        return {};
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

AddFilesResult AddFilesFlow::AddPaths(std::vector<std::string> paths, bool singleDialogFile,
                                      AddFilesCallback progress)
{
    Begin(std::move(paths), singleDialogFile, std::move(progress));
    while (Step()) {
    }
    return m_result;
}

void AddFilesFlow::Begin(std::vector<std::string> paths, bool singleDialogFile, AddFilesCallback progress)
{
    m_cancelled = false;
    m_adding = !paths.empty();
    m_paths = std::move(paths);
    m_singleDialogFile = singleDialogFile;
    m_progress = std::move(progress);
    // The bar counts in 16 bits like the list, so no more than a full list's worth is offered.
    m_total = static_cast<std::int16_t>(
        std::min<std::size_t>(m_paths.size(), static_cast<std::size_t>(VideoListModel::kMaxRows)));
    m_next = 1;
    m_result = {};
    if (m_adding)
        Report(0, false);
}

bool AddFilesFlow::Step()
{
    if (!m_adding)
        return false;
    const auto end = [this] {
        if (m_paths.size() > static_cast<std::size_t>(m_total) && !m_result.cancelled)
            m_result.listFull = true;
        m_adding = false;
        return false;
    };
    if (m_next > m_total)
        return end();
    // A cancel from the events after the last file; the single dialog file has none to take.
    if (m_next > 1 && !m_singleDialogFile && m_cancelled) {
        m_result.cancelled = true;
        return end();
    }
    if (!AddOne(m_paths[static_cast<std::size_t>(m_next - 1)])) {
        m_result.listFull = true;
        // Hide the display: the add ends early without reaching the last file.
        if (m_progress)
            m_progress({StatusText(), static_cast<std::int16_t>(m_next - 1),
                        static_cast<std::int16_t>(m_next - 1), m_total, true, false});
        return end();
    }
    ++m_result.added;
    // The single dialog file is added in one go: no events, no cancel.
    Report(static_cast<std::int16_t>(m_next), m_next == m_total);
    ++m_next;
    return true;
}

std::string_view AddFilesFlow::StatusText() const
{
    return m_singleDialogFile ? kAddingFileText : kAddingFilesText;
}

void AddFilesFlow::Report(std::int16_t done, bool finished) const
{
    if (m_progress)
        m_progress({StatusText(), done, std::max<std::int16_t>(done, 1), m_total, finished,
                    done > 0 && !m_singleDialogFile});
}

} // namespace zantrove
