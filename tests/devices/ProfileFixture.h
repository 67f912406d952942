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
inline constexpr const char* kSampleProfile =
    "[General]\nNumberOfProfiles=3\nDefaultProfile=0\n"
    "[Defaults]\nAudioCodec=aac\nAudioQuality=96 kbps|128 kbps\nAudioSampleRate=44100|48000\n"
    "AudioChannels=Mono|Stereo\nVideoCodec=libx264|mpeg4\nVideoSize=320x240|640x480|1280x720\n"
    "VideoQuality=768 kbps|1500 kbps\nVideoFrameRate=25 fps|30 fps\n"
    "[Profile1]\nName=Movie\nAudioCodec=0\nAudioQuality=1\nAudioSampleRate=0\nAudioChannels=1\n"
    "VideoCodec=0\nVideoSize=1\nVideoQuality=1\nVideoFrameRate=0\nVideoKeepAspectRatio=1\n"
    "[Profile2]\nName=Audio Only\nAudioCodec=0\nAudioQuality=0\nAudioSampleRate=1\nAudioChannels=1\n"
    "VideoNoVideo=1\n"
    "[Profile3]\nName=Small\nAudioCodec=0\nAudioQuality=0\nAudioSampleRate=0\nAudioChannels=0\n"
    "VideoCodec=1\nVideoSize=0\nVideoQuality=0\nVideoFrameRate=1\n"
    "[libx264]\nExtension=m4v\nMaxVideoSize=1\n"
    "[aac]\nExtension=m4a\n";

} // namespace zantrove::test
