// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/IniFile.h"

#include "base/TextUtilities.h"
#include "platform/RegularFile.h"
#include "storage/AtomicFile.h"

#include <cerrno>
#include <chrono>
#include <mutex>
#include <optional>
#include <vector>

namespace zantrove {
namespace {

struct IniText
{
    std::vector<std::string> lines; // without their line ends
    std::string eol = "\n";
    bool endsWithEol = true;
    bool byteOrderMark = false; // written back, so what follows the mark keeps its meaning
};

std::string LowerName(std::string_view name)
{
    std::string lower(TrimBlanks(name));
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

IniText SplitLines(std::string_view content)
{
    IniText text;
    if (content.substr(0, 3) == "\xEF\xBB\xBF") {
        content.remove_prefix(3);
        text.byteOrderMark = true;
    }
    if (content.find("\r\n") != std::string_view::npos)
        text.eol = "\r\n";
    text.endsWithEol = content.empty() || content.back() == '\n';
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string_view::npos)
            end = content.size();
        std::string_view line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        text.lines.emplace_back(line);
        start = end + 1;
    }
    return text;
}

// The name of a section header line, or nullopt when the line is no header.
std::optional<std::string_view> SectionName(std::string_view line)
{
    line = TrimBlanks(line);
    if (line.size() < 2 || line.front() != '[')
        return std::nullopt;
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return TrimBlanks(line.substr(1, close - 1));
}

// Splits "key = value"; nullopt for lines without "=" (comments, blanks, headers).
std::optional<std::pair<std::string_view, std::string_view>> KeyValue(std::string_view line)
{
    if (SectionName(line))
        return std::nullopt;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return std::make_pair(TrimBlanks(line.substr(0, eq)), TrimBlanks(line.substr(eq + 1)));
}

struct Location
{
    std::optional<std::size_t> sectionLine;
    std::optional<std::size_t> keyLine;
    std::size_t insertAfter =
        0; // the section's last key line, so comments before the next section stay there
};

Location Find(const IniText& text, std::string_view section, std::string_view key)
{
    // The file's names count without the blanks around them, so the asked ones do too.
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    Location where;
    for (std::size_t i = 0; i < text.lines.size(); ++i) {
        if (const auto name = SectionName(text.lines[i])) {
            if (where.sectionLine)
                break; // the section ended
            if (EqualsIgnoringCase(*name, section)) {
                where.sectionLine = i;
                where.insertAfter = i;
            }
            continue;
        }
        if (!where.sectionLine)
            continue;
        const auto kv = KeyValue(text.lines[i]);
        if (!kv)
            continue;
        where.insertAfter = i;
        if (EqualsIgnoringCase(kv->first, key)) {
            where.keyLine = i;
            break;
        }
    }
    return where;
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

struct IniFile::Content
{
    // Section and key names in lower case; per name only its first section, per section the first key.
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> sections;
    int openError = 0;
    std::optional<std::uint64_t> oversize;
    bool holdsNul = false;
};

namespace {

std::shared_ptr<const IniFile::Content> Parse(std::string_view content)
{
    auto parsed = std::make_shared<IniFile::Content>();
    parsed->holdsNul = content.find('\0') != std::string_view::npos;
    const IniText text = SplitLines(content);
    // The same matches as Find: the first section of a name, and in it the first key of a name.
    std::unordered_map<std::string, std::string>* current = nullptr;
    for (const std::string& line : text.lines) {
        if (const auto name = SectionName(line)) {
            const auto [entry, added] = parsed->sections.try_emplace(LowerName(*name));
            current = added ? &entry->second : nullptr;
            continue;
        }
        if (const auto kv = KeyValue(line); kv && current)
            current->try_emplace(LowerName(kv->first), kv->second);
    }
    return parsed;
}

// Files read in this process, by path, with the identity they had when read. The window and the
// command line ask a profile file for its lists, its profile and its codec lines at different
// moments; it is read once while it stays as it was.
class ReadFiles
{
public:
    std::shared_ptr<const IniFile::Content> Find(const std::string& path, const FileIdentity& identity)
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_files.find(path);
        return found != m_files.end() && found->second.first == identity ? found->second.second : nullptr;
    }
    void Keep(const std::string& path, const FileIdentity& identity,
              std::shared_ptr<const IniFile::Content> content)
    {
        // A file written moments ago may be written again within one tick of the file system's
        // clock at the same size, so it would look unchanged: only settled files are kept.
        const auto age = std::chrono::system_clock::now().time_since_epoch() -
                         std::chrono::nanoseconds(identity.modifiedNs);
        if (age < std::chrono::seconds(2))
            return;
        const std::lock_guard lock(m_mutex);
        if (m_files.size() >= 64)
            m_files.clear();
        m_files[path] = {identity, std::move(content)};
    }

private:
    std::mutex m_mutex;
    std::unordered_map<std::string, std::pair<FileIdentity, std::shared_ptr<const IniFile::Content>>> m_files;
};

std::shared_ptr<const IniFile::Content> Load(const std::string& path)
{
    static ReadFiles readFiles;
    auto opened = RegularFile::Open(path);
    if (!opened) {
        auto absent = std::make_shared<IniFile::Content>();
        absent->openError = opened.error();
        return absent;
    }
    const FileIdentity identity = opened->Identity();
    if (identity.size > kIniFileMaxBytes) {
        auto oversize = std::make_shared<IniFile::Content>();
        oversize->oversize = identity.size;
        return oversize;
    }
    if (auto known = readFiles.Find(path, identity))
        return known;
    const std::string content = opened->ReadAll();
    if (content.size() > kIniFileMaxBytes) { // it grew while being read
        auto oversize = std::make_shared<IniFile::Content>();
        oversize->oversize = content.size();
        return oversize;
    }
    auto parsed = Parse(content);
    readFiles.Keep(path, identity, parsed);
    return parsed;
}

} // namespace

IniFile::IniFile(const std::string& file) : m_content(Load(file)) {}

std::string IniFile::Value(std::string_view section, std::string_view key, std::string_view defaultValue,
                           std::size_t maxChars) const
{
    std::string_view result = defaultValue;
    const auto& sections = m_content->sections;
    if (const auto found = sections.find(LowerName(section)); found != sections.end()) {
        if (const auto value = found->second.find(LowerName(key)); value != found->second.end())
            result = value->second;
    }
    return std::string(Utf8Prefix(result, maxChars));
}

int IniFile::OpenError() const
{
    return m_content->openError;
}

std::optional<std::uint64_t> IniFile::OversizeBytes() const
{
    return m_content->oversize;
}

bool IniFile::HoldsNul() const
{
    return m_content->holdsNul;
}

std::string ReadIniValue(std::string_view section, std::string_view key, std::string_view defaultValue,
                         const IniFile& file)
{
    return file.Value(section, key, defaultValue);
}

std::string ReadIniValue(std::string_view section, std::string_view key, long long defaultValue,
                         const IniFile& file)
{
    return ReadIniValue(section, key, std::to_string(defaultValue), file);
}

std::string ReadIniPath(std::string_view section, std::string_view key, std::string_view defaultValue,
                        const IniFile& file)
{
    const std::string path = file.Value(section, key, defaultValue, kIniPathMaxChars + 1);
    return Utf8Length(path) > kIniPathMaxChars ? std::string(defaultValue) : path;
}

Expected<void, Error> WriteIniValue(std::string_view section, std::string_view key, std::string_view value,
                                    const std::string& file)
{
    const Unexpected<Error> refused{
        {file + " could not be written", "a name or value that the file cannot hold", EINVAL}};
    // A line break would smuggle further keys or sections into the file.
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) || TrimBlanks(key).empty() ||
        section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos)
        return refused;
    // Nor may a key like "[x]" turn its own line into a section header.
    const std::string entry = std::string(key) + "=" + std::string(value);
    if (SectionName(entry))
        return refused;

    ClearReadOnly(file);
    // Anything but a regular file (a folder, a FIFO) reads as absent.
    std::optional<std::string> content;
    if (auto opened = RegularFile::Open(file)) {
        // Rewritten without its content, a file too large to be read would lose all of it.
        if (const std::uint64_t size = opened->Identity().size; size > kIniFileMaxBytes)
            return Unexpected<Error>{{file + " could not be written",
                                      "it is " + FormatByteSize(size) + ", far larger than it can be",
                                      EFBIG}};
        content = opened->ReadAll();
    }
    IniText text = content ? SplitLines(*content) : IniText{};
    const Location where = Find(text, section, key);
    if (where.keyLine) {
        text.lines[*where.keyLine] = entry;
    } else if (where.sectionLine) {
        text.lines.insert(text.lines.begin() + static_cast<std::ptrdiff_t>(where.insertAfter) + 1, entry);
    } else {
        text.lines.push_back("[" + std::string(section) + "]");
        text.lines.push_back(entry);
        text.endsWithEol = true;
    }

    std::string out = text.byteOrderMark ? "\xEF\xBB\xBF" : "";
    for (std::size_t i = 0; i < text.lines.size(); ++i) {
        out += text.lines[i];
        if (i + 1 < text.lines.size() || text.endsWithEol)
            out += text.eol;
    }
    return WriteFileAtomically(file, out);
}

} // namespace zantrove
