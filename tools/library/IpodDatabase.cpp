// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/library/IpodDatabase.h"

#include "platform/FileSystem.h"
#include "storage/AtomicFile.h"

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gpod/itdb.h>
#include <memory>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zantrove {

namespace {
// Beside each database file while a new one is written.
constexpr const char* kPreviousSuffix = ".zantrove-previous";
constexpr const char* kDatabaseNames[] = {"iTunesDB", "iTunesCDB"};

struct GlibFree
{
    void operator()(void* pointer) const { g_free(pointer); }
};
using GlibText = std::unique_ptr<char, GlibFree>;

struct DatabaseFree
{
    void operator()(Itdb_iTunesDB* database) const { itdb_free(database); }
};

struct DeviceFree
{
    void operator()(Itdb_Device* device) const { itdb_device_free(device); }
};

std::string TakeError(GError*& error)
{
    std::string text = error ? error->message : "unknown error";
    g_clear_error(&error);
    return text;
}

std::string ReadWhole(const std::string& path, bool& ok)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    ok = static_cast<bool>(in) || in.eof();
    return content.str();
}

// libgpod rewrites its database files in place; a copy of each is kept until the new one is on disk.
class PreviousDatabase
{
public:
    explicit PreviousDatabase(std::string folder) : m_folder(std::move(folder)) {}

    // An earlier run that stopped while writing left its copy: the database beside it may be half
    // written, the copy is whole.
    void RestoreInterrupted() const
    {
        for (const char* name : kDatabaseNames) {
            const std::string kept = JoinPath(m_folder, name) + kPreviousSuffix;
            if (FileExists(kept))
                std::rename(kept.c_str(), JoinPath(m_folder, name).c_str());
        }
    }

    bool Keep()
    {
        for (const char* name : kDatabaseNames) {
            const std::string path = JoinPath(m_folder, name);
            if (!FileExists(path))
                continue;
            bool ok = false;
            const std::string content = ReadWhole(path, ok);
            if (!ok || !WriteFileAtomically(path + kPreviousSuffix, content))
                return Drop(), false;
            m_kept.push_back(path);
        }
        return true;
    }

    void Restore()
    {
        for (const std::string& path : m_kept)
            std::rename((path + kPreviousSuffix).c_str(), path.c_str());
        m_kept.clear();
    }

    void Drop()
    {
        ::sync();
        for (const std::string& path : m_kept)
            std::remove((path + kPreviousSuffix).c_str());
        m_kept.clear();
    }

private:
    std::string m_folder;
    std::vector<std::string> m_kept;
};

// Held on the iTunes folder itself, so nothing new is written onto the iPod for it.
class FolderLock
{
public:
    explicit FolderLock(const std::string& folder)
        : m_fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (m_fd >= 0)
            ::flock(m_fd, LOCK_EX);
    }
    ~FolderLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int m_fd;
};

std::string ValidText(const std::string& text)
{
    const GlibText valid(g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size())));
    return valid.get();
}
} // namespace

IpodSearch FindVideoIpod(const std::vector<std::string>& mountPoints)
{
    IpodSearch search;
    for (const std::string& point : mountPoints) {
        // Resolved without regard to case, as the iPod's FAT file system is read.
        const GlibText database(itdb_get_itunesdb_path(point.c_str()));
        if (!database)
            continue;
        const std::unique_ptr<Itdb_Device, DeviceFree> device(itdb_device_new());
        itdb_device_set_mountpoint(device.get(), point.c_str());
        if (!itdb_device_supports_video(device.get())) {
            ++search.otherIpods;
            continue;
        }
        search.videoIpod = point;
        break;
    }
    return search;
}

std::string AddMovieToIpod(const std::string& mountPoint, const MovieEntry& movie, std::string& ipodName)
{
    const GlibText folder(itdb_get_itunes_dir(mountPoint.c_str()));
    if (!folder)
        return "no iTunes folder on the iPod at " + mountPoint;
    // Two runs that finish at once would each write the database they read; one would win.
    const FolderLock lock(folder.get());
    PreviousDatabase previous(folder.get());
    previous.RestoreInterrupted();

    GError* error = nullptr;
    const std::unique_ptr<Itdb_iTunesDB, DatabaseFree> database(itdb_parse(mountPoint.c_str(), &error));
    if (!database)
        return "the database of the iPod at " + mountPoint + " cannot be read (" + TakeError(error) + ")";
    Itdb_Playlist* master = itdb_playlist_mpl(database.get());
    ipodName = master && master->name && *master->name
                   ? master->name
                   : std::filesystem::path(mountPoint).filename().string();

    struct stat info
    {
    };
    if (::stat(movie.file.c_str(), &info) != 0)
        return "cannot read the file";
    Itdb_Track* track = itdb_track_new();
    track->title = g_strdup(ValidText(movie.title).c_str());
    track->filetype = g_strdup("MPEG-4 video file");
    track->mediatype = ITDB_MEDIATYPE_MOVIE;
    track->movie_flag = 1;
    track->tracklen = movie.milliseconds;
    track->size = static_cast<guint32>(info.st_size);
    track->time_added = std::time(nullptr);
    track->time_modified = track->time_added;
    itdb_track_add(database.get(), track, -1);
    // The iPod shows the cover beside the movie; without it the movie is still worth having.
    if (!movie.coverBase64.empty()) {
        gsize length = 0;
        const std::unique_ptr<guchar, GlibFree> cover(g_base64_decode(movie.coverBase64.c_str(), &length));
        if (!itdb_track_set_thumbnails_from_data(track, cover.get(), length))
            // Not the file's error line, which begins with its path.
            std::fprintf(stderr, "Note: the iPod got no cover for %s\n", movie.file.c_str());
    }
    if (master)
        itdb_playlist_add_track(master, track, -1);

    const auto removeCopy = [track] {
        const GlibText copy(itdb_filename_on_ipod(track));
        if (copy)
            std::remove(copy.get());
    };
    if (!itdb_cp_track_to_ipod(track, movie.file.c_str(), &error)) {
        removeCopy();
        return "cannot copy it onto the iPod at " + mountPoint + " (" + TakeError(error) + ")";
    }
    if (!previous.Keep()) {
        removeCopy();
        return "cannot keep a copy of the iPod's database at " + mountPoint;
    }
    if (!itdb_write(database.get(), &error)) {
        previous.Restore();
        removeCopy();
        return "cannot write the database of the iPod at " + mountPoint + " (" + TakeError(error) + ")";
    }
    previous.Drop();
    return {};
}

} // namespace zantrove
