// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/tools/TestIpod.h"

#include "tests/support/TestHome.h"

#include <cstdlib>
#include <filesystem>
#include <gpod/itdb.h>

namespace zantrove::test {

static void ShowMountTable(const std::string& content)
{
    const std::string table = MakeTempFolder("mounts") + "/mounts";
    WriteTextFile(table, content);
    ::setenv("ZANTROVE_TEST_MOUNTS", table.c_str(), 1);
}

TestIpod::TestIpod(const std::string& name) : m_mountPoint(MakeTempFolder("media") + "/JO S IPOD")
{
    std::filesystem::create_directories(m_mountPoint);
    GError* error = nullptr;
    m_made = itdb_init_ipod(m_mountPoint.c_str(), "MA002", name.c_str(), &error);
    g_clear_error(&error);
    // Blanks in the mount point are escaped as the kernel writes them.
    const std::string escaped = m_mountPoint.substr(0, m_mountPoint.size() - 9) + "JO\\040S\\040IPOD";
    ShowMountTable("/dev/sda1 / ext4 rw 0 0\n/dev/sdb2 " + escaped + " vfat rw,nosuid 0 0\n");
}

TestIpod::~TestIpod()
{
    ::unsetenv("ZANTROVE_TEST_MOUNTS");
}

std::vector<TestIpod::Track> TestIpod::Tracks() const
{
    std::vector<Track> tracks;
    GError* error = nullptr;
    Itdb_iTunesDB* database = itdb_parse(m_mountPoint.c_str(), &error);
    g_clear_error(&error);
    for (GList* item = database ? database->tracks : nullptr; item; item = item->next) {
        auto* track = static_cast<Itdb_Track*>(item->data);
        gchar* file = itdb_filename_on_ipod(track);
        tracks.push_back({track->title ? track->title : "", static_cast<unsigned>(track->tracklen),
                          track->mediatype, file ? file : "", itdb_track_has_thumbnails(track) != FALSE});
        g_free(file);
    }
    if (database)
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
