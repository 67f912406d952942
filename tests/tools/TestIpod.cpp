// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/tools/TestIpod.h"

#include "tests/support/TestHome.h"

#include <cstdlib>
#include <filesystem>
#include <gpod/itdb.h>

namespace zantrove::test {

static std::string MountTable(const std::string& content)
{
    const std::string table = MakeTempFolder("mounts") + "/mounts";
    WriteTextFile(table, content);
    return table;
}

// Blanks in the mount point are escaped as the kernel writes them.
TestIpod::TestIpod(const std::string& name)
    : m_mountPoint(MakeTempFolder("media") + "/JO S IPOD"),
      m_mounts("ZANTROVE_TEST_MOUNTS", MountTable("/dev/sda1 / ext4 rw 0 0\n/dev/sdb2 " +
                                                  m_mountPoint.substr(0, m_mountPoint.size() - 9) +
                                                  "JO\\040S\\040IPOD vfat rw,nosuid 0 0\n"))
{
    std::filesystem::create_directories(m_mountPoint);
    m_made = itdb_init_ipod(m_mountPoint.c_str(), "MA002", name.c_str(), nullptr);
}

std::vector<TestIpod::Track> TestIpod::Tracks() const
{
    std::vector<Track> tracks;
    Itdb_iTunesDB* database = itdb_parse(m_mountPoint.c_str(), nullptr);
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

std::string MountsWithoutIpod()
{
    return MountTable("/dev/sda1 / ext4 rw 0 0\n");
}

void ShowNoIpod()
{
    ::setenv("ZANTROVE_TEST_MOUNTS", MountsWithoutIpod().c_str(), 1);
}

} // namespace zantrove::test
