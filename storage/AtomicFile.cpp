// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/AtomicFile.h"

#include "platform/FileSystem.h"

#include <filesystem>
#include <optional>

namespace zantrove {
namespace fs = std::filesystem;

void ClearReadOnly(const std::string& path)
{
    std::error_code ec;
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ec);
}

Expected<void, Error> WriteFileAtomically(const std::string& path, std::string_view content)
{
    const auto failed = [&path](int code) {
        return Unexpected{SystemError(path + " could not be written", code)};
    };
    std::error_code ec;
    fs::path target = path;
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::canonical(target, ec);
        if (ec)
            return failed(ec.value());
        target = resolved;
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const std::optional<unsigned> old = FilePermissions(target.string());
    const unsigned permissions = old ? *old : DefaultFilePermissions();
    const auto written = WriteNewFile(pattern, content, permissions);
    if (!written)
        return failed(written.error());
    if (const auto replaced = ReplaceFile(*written, target.string()); !replaced)
        return failed(replaced.error());
    return {};
}

} // namespace zantrove
