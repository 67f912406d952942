// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace zantrove {

// The system's file and folder choosers behind one seam, so tests pick files without a person.
class FileDialogs
{
public:
    // A chosen folder's path, or nothing when the user cancelled.
    static std::optional<std::string> BrowseForFolder(QWidget* owner, const std::string& title);
    // Chosen files (several allowed); empty when cancelled. filters in Qt's "Name (*.a *.b)" form.
    static std::vector<std::string> OpenFiles(QWidget* owner, const std::string& title,
                                              const std::string& startFolder,
                                              const std::vector<std::string>& filters);

    // Test seam: while on, the next queued answer is returned instead of showing a dialog
    // (a cancel when none is queued). The last call's arguments are kept for inspection.
    struct Call
    {
        std::string title;
        std::string startFolder;
        std::vector<std::string> filters;
    };
    static void SetTestMode(bool on);
    static void SetNextFolder(std::optional<std::string> folder);
    static void SetNextFiles(std::vector<std::string> files);
    static const Call& LastCall();
};

} // namespace zantrove
