// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/tools/TestIpod.h"

#include "tests/support/TestHome.h"

#include <cstdlib>
#include <filesystem>
#include <gpod/itdb.h>

namespace zantrove::test {

namespace {
void ShowMountTable(const std::string& content)
{
    const std::string table = MakeTempFolder("mounts") + "/mounts";
    WriteTextFile(table, content);
    ::setenv("ZANTROVE_TEST_MOUNTS", table.c_str(), 1);
}

// The mount table's escape for a blank, as the kernel writes it.
std::string Escaped(const std::string& path)
{
    std::string text;
    for (const char c : path)
        text += c == ' ' ? std::string("\\040") : std::string(1, c);
    return text;
}
} // namespace

TestIpod::TestIpod(const std::string& name) : m_mountPoint(MakeTempFolder("media") + "/JO S IPOD")
{
    std::filesystem::create_directories(m_mountPoint);
    GError* error = nullptr;
    m_made = itdb_init_ipod(m_mountPoint.c_str(), "MA002", name.c_str(), &error);
    g_clear_error(&error);
    ShowMountTable("/dev/sda1 / ext4 rw 0 0\n/dev/sdb2 " + Escaped(m_mountPoint) + " vfat rw,nosuid 0 0\n");
}

TestIpod::~TestIpod()
{
    ::unsetenv("ZANTROVE_TEST_MOUNTS");
}

std::string TestIpod::DatabasePath() const
{
    return m_mountPoint + "/iPod_Control/iTunes/iTunesDB";
}

std::vector<TestIpod::Track> TestIpod::Tracks() const
{
    std::vector<Track> tracks;
    GError* error = nullptr;
    Itdb_iTunesDB* database = itdb_parse(m_mountPoint.c_str(), &error);
    g_clear_error(&error);
    if (!database)
        return tracks;
    for (GList* item = database->tracks; item; item = item->next) {
        auto* track = static_cast<Itdb_Track*>(item->data);
        gchar* file = itdb_filename_on_ipod(track);
        tracks.push_back({track->title ? track->title : "", static_cast<unsigned>(track->tracklen),
                          track->mediatype, file ? file : ""});
        g_free(file);
    }
    itdb_free(database);
    return tracks;
}

std::vector<std::string> TestIpod::MusicFiles() const
{
    std::vector<std::string> files;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(m_mountPoint + "/iPod_Control/Music"))
        if (entry.is_regular_file())
            files.push_back(entry.path().string());
    return files;
}

void ShowNoIpod()
{
    ShowMountTable("/dev/sda1 / ext4 rw 0 0\n");
}

} // namespace zantrove::test
