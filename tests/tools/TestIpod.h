// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tests/support/ScopedEnv.h"

#include <string>
#include <vector>

namespace zantrove::test {

// A 5th-generation iPod Video made by libgpod in a fresh folder, shown to the library helper by a
// mount table of its own (ZANTROVE_TEST_MOUNTS) while this lives.
class TestIpod
{
public:
    explicit TestIpod(const std::string& name = "Test iPod");

    bool Made() const { return m_made; }
    const std::string& MountPoint() const { return m_mountPoint; }
    std::string DatabasePath() const { return m_mountPoint + "/iPod_Control/iTunes/iTunesDB"; }

    struct Track
    {
        std::string title;
        unsigned milliseconds = 0;
        unsigned mediatype = 0;
        std::string file; // empty when libgpod cannot tell
        bool artwork = false;
    };
    std::vector<Track> Tracks() const;           // the database read back with libgpod
    std::vector<std::string> MusicFiles() const; // every file below the iPod's music folders

private:
    std::string m_mountPoint;
    bool m_made = false;
    ScopedEnv m_mounts;
};

// A mount table without any iPod, for ZANTROVE_TEST_MOUNTS; ShowNoIpod sets it until changed again.
std::string MountsWithoutIpod();
void ShowNoIpod();

} // namespace zantrove::test
