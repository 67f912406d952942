// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Error.h"
#include "media/MediaProbe.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zantrove {

class VideoListModel;
struct VideoRow;

inline constexpr std::string_view kAddFilesDialogTitle = "Add Video File(s)";
inline constexpr std::string_view kAddingFileText = "Adding File...";
inline constexpr std::string_view kAddingFilesText = "Adding Files...";

// One entry of the open-file dialog's filter list; patterns separated by blanks.
struct FileFilter
{
    std::string_view name;
    std::string_view patterns;
};

inline constexpr std::array<FileFilter, 8> kAddFilesFilters{{
    {"All Supported Files", "*.mp3 *.mpg *.mpeg *.mpe *.m2v *.mp2 *.dat *.avi *.divx *.3gp *.flv *.wma *.wmv "
                            "*.asf *.mp4 *.m4v *.mov "
                            "*.mkv *.webm *.ts *.m2ts *.mts *.vob *.ogv"},
    {"MP3 Files", "*.mp3"},
    {"MPEG Files", "*.mpg *.mpeg *.mpe *.m2v *.mp2 *.dat"},
    {"AVI Files", "*.avi *.divx"},
    {"3GP Files", "*.3gp"},
    {"FLV Files", "*.flv"},
    {"Windows Media Files", "*.wma *.wmv *.asf"},
    {"All Files", "*"},
}};

// "Name (*.a *.b)" for each entry, in order; the first is the one selected when the dialog opens.
std::vector<std::string> AddFilesDialogFilters();

// What the open-file dialog is shown with.
struct AddFilesDialogSetup
{
    std::string title;
    std::string startFolder;
    std::vector<std::string> filters;
};

// The folder to remember for a dialog selection: for one file its folder with a trailing separator,
// for several the folder without one. A root folder keeps its single separator either way. Empty for
// an empty selection.
std::string SelectionFolder(const std::vector<std::string>& chosenPaths);

// The add display, as the status bar shows it while files are added.
struct AddFilesProgress
{
    std::string_view statusText; // "Adding File..." or "Adding Files..."
    std::int16_t filesDone = 0;  // 0 before the first file
    std::int16_t value = 0;      // the bar's value; 1 from the start of the first file
    std::int16_t maximum = 0;
    bool finished = false;   // the last file is done: hide the display, empty the status text
    bool pumpEvents = false; // process pending window events now (repaint, a cancel click)
};
using AddFilesCallback = std::function<void(const AddFilesProgress&)>;

struct AddFilesResult
{
    std::int16_t added = 0;
    bool cancelled = false; // stopped by Cancel after the file in progress
    bool listFull = false;  // stopped because the list holds 32767 rows
    // Why the dialog's folder could not be kept for next time; the files were added all the same.
    std::optional<Error> folderNotKept;
};

// Why a probed row holds no media file the encoder could be given ("no such file", "not a media
// file": a folder, a FIFO, a device, text); empty for a media file. The probe fills a row for any
// path; only a codec or a play time shows it read a media file.
std::string MediaRowRefusal(const VideoRow& row);

// A media file without a picture (an .mp3, an .m4a): with a video profile it is converted as sound
// alone, with the profile's audio settings, instead of failing for want of a picture.
bool IsSoundOnlyRow(const VideoRow& row);

// Adding files to the video list from the open-file dialog or a drop, without widgets. Each file is
// probed first and then appended as one complete row, so no half-filled row is ever seen.
class AddFilesFlow
{
public:
    using ProbeFunction = std::function<ProbeFields(const std::string& path)>;
    // Shows the dialog; returns the chosen full paths, empty when the user cancelled.
    using ChooseFiles = std::function<std::vector<std::string>(const AddFilesDialogSetup& setup)>;

    // homeFolder is where the dialog starts while no folder is remembered. Without a probe the
    // files are probed through the shared media library.
    AddFilesFlow(VideoListModel& list, std::string settingsFolder, std::string homeFolder,
                 ProbeFunction probe = {});

    // The dialog's setup with the remembered folder ("Commondialog" / "AddFiles").
    AddFilesDialogSetup DialogSetup() const;

    // The dialog flow: shows the dialog through choose, remembers the selection's folder when it
    // differs from the start folder, and adds the files. A cancelled dialog changes nothing. One file
    // is added without pumping events and cannot be cancelled.
    AddFilesResult AddVideoFiles(const ChooseFiles& choose, const AddFilesCallback& progress = {});

    // The drop flow: every path as given, files and folders alike, unfiltered.
    AddFilesResult AddDroppedFiles(const std::vector<std::string>& paths,
                                   const AddFilesCallback& progress = {});

    // The cancel click: the running loop stops after the file in progress.
    void Cancel() { m_cancelled = true; }
    // True while a loop runs; more than one may run when events pumped by one start another.
    bool IsAdding() const { return m_running > 0; }

private:
    AddFilesResult AddPaths(const std::vector<std::string>& paths, bool singleDialogFile,
                            const AddFilesCallback& progress);
    bool AddOne(const std::string& path);

    VideoListModel& m_list;
    std::string m_settingsFolder;
    std::string m_homeFolder;
    ProbeFunction m_probe;
    bool m_cancelled = false;
    int m_running = 0;
};

} // namespace zantrove
