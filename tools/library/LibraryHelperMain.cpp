// SPDX-License-Identifier: GPL-3.0-or-later
// Called after a conversion with the finished file: copies it onto the connected iPod that plays
// video, whose database is the library that travels with the device; without one, lists it once
// in the Zantrove playlist of the user's videos folder. One line on standard output says where it
// went; a failure is one line on standard error that starts with the file's path.
#include "conversion/LibraryReport.h"
#include "media/MediaProbe.h"
#include "platform/FileSystem.h"
#include "tools/library/IpodDatabase.h"
#include "tools/library/MountTable.h"
#include "tools/library/PlaylistFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

int Fail(const std::string& file, const std::string& problem)
{
    std::fprintf(stderr, "%s: %s\n", file.c_str(), problem.c_str());
    return 1;
}

// Only the play time and the cover are asked: the probe's name template would expand what the name
// holds.
void ReadPlayTimeAndCover(zantrove::MovieEntry& movie)
{
    zantrove::MediaLibrary& library = zantrove::MediaInfoLibrary::Shared();
    zantrove::MediaLibrary::Handle handle = library.New();
    library.Option(handle, "Internet", "no");
    library.Option(handle, "Cover_Data", "base64");
    library.Open(handle, movie.file);
    library.Option(handle, "Inform", zantrove::kPlayTimeTemplate);
    movie.milliseconds = zantrove::ReadPlayTimeMilliseconds(library.Inform(handle));
    library.Option(handle, "Inform", "General;%Cover_Data%");
    movie.coverBase64 = library.Inform(handle);
    library.Close(handle);
    library.Delete(handle);
}

std::vector<std::string> MountedFolders()
{
    std::ifstream in(zantrove::MountTablePath(), std::ios::binary);
    std::ostringstream table;
    table << in.rdbuf();
    return zantrove::MountPoints(table.str());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 || argv[1][0] == '\0') {
        std::fprintf(stderr, "Usage: AddiTunes.exe FILE\n");
        return 2;
    }
    const std::string file = argv[1];
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return Fail(file, "no such file");
    const std::filesystem::path absolute = std::filesystem::absolute(file, error).lexically_normal();
    if (error)
        return Fail(file, error.message());

    const zantrove::IpodSearch search = zantrove::FindVideoIpod(MountedFolders());
    if (!search.videoIpod.empty()) {
        zantrove::MovieEntry movie{absolute.string(), absolute.stem().string()};
        ReadPlayTimeAndCover(movie);
        std::string name;
        if (const std::string problem = zantrove::AddMovieToIpod(search.videoIpod, movie, name);
            !problem.empty())
            return Fail(file, problem);
        std::printf("%s\n", zantrove::IpodReportLine(name).c_str());
        return 0;
    }

    const std::string folder = zantrove::UserVideosFolder();
    if (const auto added = zantrove::AddToPlaylist(folder, absolute.string()); !added)
        return Fail(file, added.error().Text());
    const char* why = search.otherIpods > 0 ? "that plays video is connected" : "connected";
    std::printf(
        "%s\n",
        zantrove::PlaylistReportLine(why, zantrove::JoinPath(folder, zantrove::kPlaylistName)).c_str());
    return 0;
}
