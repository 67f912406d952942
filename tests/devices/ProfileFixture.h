// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "devices/DeviceCatalog.h"
#include "platform/FileSystem.h"
#include "tests/support/TestHome.h"

#include <string>

namespace zantrove::test {

// An application folder of its own with one profile file written per test.
class ProfileFolder
{
public:
    ProfileFolder() : m_folder(MakeTempFolder("app")) { CreateFolderPath(m_folder + "/Profiles"); }

    const std::string& Folder() const { return m_folder; }
    std::string Write(const std::string& device, const std::string& content) const
    {
        const std::string file = ProfileFilePath(m_folder, device);
        WriteTextFile(file, content);
        return file;
    }

private:
    std::string m_folder;
};

// Two codecs, three sizes, three profiles; Profile2 is audio only, Profile3 has "No Video" unset.
inline constexpr const char* kSampleProfile = R"([General]
NumberOfProfiles=3
DefaultProfile=0
[Defaults]
AudioCodec=aac
AudioQuality=96 kbps|128 kbps
AudioSampleRate=44100|48000
AudioChannels=Mono|Stereo
VideoCodec=libx264|mpeg4
VideoSize=320x240|640x480|1280x720
VideoQuality=768 kbps|1500 kbps
VideoFrameRate=25 fps|30 fps
[Profile1]
Name=Movie
AudioCodec=0
AudioQuality=1
AudioSampleRate=0
AudioChannels=1
VideoCodec=0
VideoSize=1
VideoQuality=1
VideoFrameRate=0
VideoKeepAspectRatio=1
[Profile2]
Name=Audio Only
AudioCodec=0
AudioQuality=0
AudioSampleRate=1
AudioChannels=1
VideoNoVideo=1
[Profile3]
Name=Small
AudioCodec=0
AudioQuality=0
AudioSampleRate=0
AudioChannels=0
VideoCodec=1
VideoSize=0
VideoQuality=0
VideoFrameRate=1
[libx264]
Extension=m4v
MaxVideoSize=1
[aac]
Extension=m4a
)";

} // namespace zantrove::test
