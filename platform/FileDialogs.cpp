// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileDialogs.h"

#include <QFileDialog>
#include <deque>

namespace zantrove {

namespace {
bool g_testMode = false;
std::deque<std::optional<std::string>> g_folders;
std::deque<std::vector<std::string>> g_files;
FileDialogs::Call g_lastCall;
} // namespace

std::optional<std::string> FileDialogs::BrowseForFolder(QWidget* owner, const std::string& title)
{
    g_lastCall = {title, {}, {}};
    if (g_testMode) {
        if (g_folders.empty())
            return std::nullopt;
        auto answer = g_folders.front();
        g_folders.pop_front();
        return answer;
    }
    const QString folder = QFileDialog::getExistingDirectory(owner, QString::fromStdString(title), QString(),
                                                             QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return std::nullopt;
    return folder.toStdString();
}

std::vector<std::string> FileDialogs::OpenFiles(QWidget* owner, const std::string& title,
                                                const std::string& startFolder,
                                                const std::vector<std::string>& filters)
{
    g_lastCall = {title, startFolder, filters};
    if (g_testMode) {
        if (g_files.empty())
            return {};
        auto answer = g_files.front();
        g_files.pop_front();
        return answer;
    }
    QStringList filterList;
    for (const auto& filter : filters)
        filterList << QString::fromStdString(filter);
    QString selected = filterList.isEmpty() ? QString() : filterList.front();
    const QStringList chosen =
        QFileDialog::getOpenFileNames(owner, QString::fromStdString(title),
                                      QString::fromStdString(startFolder), filterList.join(";;"), &selected);
    std::vector<std::string> files;
    for (const QString& file : chosen)
        files.push_back(file.toStdString());
    return files;
}

void FileDialogs::SetTestMode(bool on)
{
    g_testMode = on;
    g_folders.clear();
    g_files.clear();
}

void FileDialogs::SetNextFolder(std::optional<std::string> folder)
{
    g_folders.push_back(std::move(folder));
}

void FileDialogs::SetNextFiles(std::vector<std::string> files)
{
    g_files.push_back(std::move(files));
}

const FileDialogs::Call& FileDialogs::LastCall()
{
    return g_lastCall;
}

} // namespace zantrove
