// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/MediaProbe.h"

#include "base/TextUtilities.h"
#include "base/TimeText.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace zantrove {

namespace {

// Plain decimal text: an optional sign, digits, and optionally a point with more digits.
bool IsDecimalText(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
            ++digits;
        }
    }
    return digits > 0 && i == text.size();
}

// A plain decimal answer as a number; nullopt for anything else.
std::optional<double> ReadDecimalNumber(std::string_view answer)
{
    answer = TrimBlanks(answer);
    if (!IsDecimalText(answer))
        return std::nullopt;
    if (answer.front() == '+')
        answer.remove_prefix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(answer.data(), answer.data() + answer.size(), value);
    if (ec != std::errc() || end != answer.data() + answer.size())
        return std::nullopt;
    return value;
}

// Releases the handle however the probe leaves.
class ProbeHandle
{
public:
    explicit ProbeHandle(MediaLibrary& library) : m_library(library), m_handle(library.New()) {}
    ~ProbeHandle()
    {
        m_library.Close(m_handle);
        m_library.Delete(m_handle);
    }
    ProbeHandle(const ProbeHandle&) = delete;
    ProbeHandle& operator=(const ProbeHandle&) = delete;

    std::string Ask(std::string_view informTemplate)
    {
        m_library.Option(m_handle, "Inform", informTemplate);
        return m_library.Inform(m_handle);
    }

    // The answer of the first stream of a template whose answers end with "|".
    std::string AskFirstStream(std::string_view informTemplate)
    {
        std::string answer = Ask(informTemplate);
        answer.erase(std::min(answer.find('|'), answer.size()));
        return answer;
    }

    MediaLibrary::Handle Get() const { return m_handle; }

private:
    MediaLibrary& m_library;
    MediaLibrary::Handle m_handle;
};

} // namespace

std::string NameFromPath(std::string_view path)
{
    const std::size_t separator = path.rfind(kPathSeparator);
    std::string_view name = separator == std::string_view::npos ? path : path.substr(separator + 1);
    if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos && dot > 0)
        name = name.substr(0, dot);
    return std::string(name);
}

std::int32_t ReadPlayTimeMilliseconds(std::string_view answer)
{
    answer = TrimBlanks(answer);
    if (const auto whole = ParseInt32(answer))
        return *whole;
    const auto value = ReadDecimalNumber(answer);
    if (!value)
        return 0;
    const double rounded = std::nearbyint(*value); // the default rounding mode: half to even
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max())
        return 0;
    return static_cast<std::int32_t>(rounded);
}

std::int32_t RoundMillisecondsToSeconds(std::int32_t milliseconds)
{
    return static_cast<std::int32_t>(std::nearbyint(static_cast<double>(milliseconds) / 1000.0));
}

std::int16_t ReadPictureDimension(std::string_view answer)
{
    return ParseInt16(answer).value_or(0);
}

DisplaySize DisplayedPictureSize(std::string_view width, std::string_view height,
                                 std::string_view pixelAspect, std::string_view rotation)
{
    DisplaySize size{ReadPictureDimension(width), ReadPictureDimension(height)};
    const auto aspect = ReadDecimalNumber(pixelAspect);
    // The library gives three decimals, so square pixels may read as 0.999 or 1.001.
    if (size.width > 0 && aspect && *aspect > 0 && std::abs(*aspect - 1.0) > 0.002) {
        const double shown = std::nearbyint(size.width * *aspect);
        size.width = shown >= 1 && shown <= std::numeric_limits<std::int16_t>::max()
                         ? static_cast<std::int16_t>(shown)
                         : std::int16_t{0};
    }
    if (const auto turn = ReadDecimalNumber(rotation)) {
        const long quarter = std::lround(*turn / 90.0);
        if (std::abs(*turn - quarter * 90.0) < 1.0 && quarter % 2 != 0)
            std::swap(size.width, size.height);
    }
    return size;
}

std::string ScanText(std::string_view answer)
{
    std::string_view parts[4];
    for (std::string_view& part : parts) {
        const std::size_t slash = std::min(answer.find('/'), answer.size());
        part = TrimBlanks(answer.substr(0, slash));
        answer.remove_prefix(std::min(slash + 1, answer.size()));
    }
    const auto [type, order, originalType, originalOrder] = parts;
    if (order.find("Pulldown") != std::string_view::npos ||
        originalOrder.find("Pulldown") != std::string_view::npos)
        return "Film with pulldown";
    const auto interlaced = [](std::string_view scan) {
        return scan == "Interlaced" || scan == "MBAFF" || scan == "PAFF";
    };
    if (interlaced(type) || (type.empty() && interlaced(originalType))) {
        const std::string_view known = order.empty() ? originalOrder : order;
        if (known.starts_with("B"))
            return "Interlaced, bottom field first";
        return known.starts_with("T") ? "Interlaced, top field first" : "Interlaced";
    }
    return type == "Progressive" ? "Progressive" : "";
}

std::string TracksText(std::string_view answer)
{
    const std::size_t bar = std::min(answer.find('|'), answer.size());
    const int sound = ParseInt32(TrimBlanks(answer.substr(0, bar))).value_or(0);
    std::string_view formats = answer.substr(std::min(bar + 1, answer.size()));
    int text = 0;
    int picture = 0;
    while (!TrimBlanks(formats).empty()) {
        const std::size_t slash = std::min(formats.find(" / "), formats.size());
        const std::string_view format = TrimBlanks(formats.substr(0, slash));
        formats.remove_prefix(std::min(slash + 3, formats.size()));
        // Subtitles stored as pictures; every other format carries text.
        const bool isPicture = format == "VobSub" || format == "PGS" || format == "DVB Subtitle" ||
                               format == "XSUB" || format == "Bitmap";
        ++(isPicture ? picture : text);
    }
    std::string counted;
    for (const auto& [count, kind] : {std::pair{sound, "sound"}, {text, "text"}, {picture, "picture"}}) {
        if (count > 0)
            counted += (counted.empty() ? "" : ", ") + std::to_string(count) + " " + kind;
    }
    return counted;
}

ProbeFields ConvertProbeAnswers(const ProbeAnswers& answers)
{
    ProbeFields fields;
    fields.filename = answers.fileName;
    if (!answers.codec.empty())
        fields.codec = answers.codec;
    else if (!answers.format.empty())
        fields.codec = answers.format;
    else
        fields.codec = kUnknownCodec;
    fields.duration = FormatSeconds(RoundMillisecondsToSeconds(ReadPlayTimeMilliseconds(answers.playTime)));
    const DisplaySize shown =
        DisplayedPictureSize(answers.width, answers.height, answers.pixelAspect, answers.rotation);
    fields.videoSize = std::to_string(shown.width) + "x" + std::to_string(shown.height);
    fields.scan = ScanText(answers.scan);
    fields.tracks = TracksText(answers.tracks);
    return fields;
}

ProbeAnswers QueryProbeAnswers(const std::string& path, MediaLibrary& library)
{
    ProbeAnswers answers;
    ProbeHandle handle(library);
    // No network while probing: a file must never wait for it.
    library.Option(handle.Get(), "Internet", "no");
    library.Open(handle.Get(), path); // a file it cannot parse still gets the empty answers
    // The library's own name field expands what the name spells ("%FileName%" in a name hangs it).
    answers.fileName = NameFromPath(path);
    answers.codec = handle.AskFirstStream(kCodecTemplate);
    if (answers.codec.empty())
        answers.format = handle.AskFirstStream(kFormatTemplate);
    answers.playTime = handle.Ask(kPlayTimeTemplate);
    answers.width = handle.AskFirstStream(kWidthTemplate);
    answers.height = handle.AskFirstStream(kHeightTemplate);
    answers.pixelAspect = handle.AskFirstStream(kPixelAspectTemplate);
    answers.rotation = handle.AskFirstStream(kRotationTemplate);
    answers.scan = handle.AskFirstStream(kScanTemplate);
    answers.tracks = handle.Ask(kTracksTemplate);
    return answers;
}

ProbeFields ProbeMediaFile(const std::string& path, MediaLibrary& library)
{
    return ConvertProbeAnswers(QueryProbeAnswers(path, library));
}

} // namespace zantrove
