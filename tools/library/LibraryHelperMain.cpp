// SPDX-License-Identifier: GPL-3.0-or-later
// Called after a conversion with the finished file: lists it once in the Zantrove playlist of the
// user's videos folder, where media players pick it up.
#include "tools/library/PlaylistFile.h"

#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2 || argv[1][0] == '\0') {
        std::fprintf(stderr, "Usage: AddiTunes.exe FILE\n");
        return 2;
    }
    const std::string file = argv[1];
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        std::fprintf(stderr, "Zantrove: %s: no such file\n", file.c_str());
        return 1;
    }
    const std::filesystem::path absolute = std::filesystem::absolute(file, error);
    if (error) {
        std::fprintf(stderr, "Zantrove: %s: %s\n", file.c_str(), error.message().c_str());
        return 1;
    }
    const std::string problem =
        zantrove::AddToPlaylist(zantrove::UserVideosFolder(), absolute.lexically_normal().string());
    if (!problem.empty()) {
        std::fprintf(stderr, "Zantrove: %s\n", problem.c_str());
        return 1;
    }
    return 0;
}
