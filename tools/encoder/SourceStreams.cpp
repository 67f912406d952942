// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/encoder/SourceStreams.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace zantrove {

namespace {

// Subtitles the output can carry as text; styling is lost on the way, the words are not.
constexpr std::array<std::string_view, 6> kTextSubtitles{"subrip", "srt", "ass", "ssa", "webvtt", "mov_text"};
// Subtitles stored as pictures, which only drawing into the picture can keep.
constexpr std::array<std::string_view, 4> kPictureSubtitles{"dvd_subtitle", "hdmv_pgs_subtitle",
                                                            "dvb_subtitle", "xsub"};

bool IsOneOf(const std::string& codec, const auto& names)
{
    return std::find(names.begin(), names.end(), codec) != names.end();
}

int ReadNumber(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

std::string Describe(const SourceStream& stream)
{
    return "stream " + std::to_string(stream.index) + " (" + stream.codec +
           (stream.language.empty() ? "" : ", " + stream.language) + ")";
}

OutputTrack TrackOf(const SourceStream& stream)
{
    return {stream.index, stream.language, stream.isDefault, stream.forced};
}

} // namespace

StreamSurvey ReadStreamSurvey(std::string_view answer)
{
    StreamSurvey survey;
    SourceStream* stream = nullptr;
    while (!answer.empty()) {
        const std::size_t end = std::min(answer.find_first_of("|\n"), answer.size());
        std::string_view field = answer.substr(0, end);
        answer.remove_prefix(std::min(end + 1, answer.size()));
        while (!field.empty() && field.back() == '\r')
            field.remove_suffix(1);
        const std::size_t equals = field.find('=');
        if (equals == std::string_view::npos)
            continue;
        std::string key(field.substr(0, equals));
        std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
        const std::string_view value = field.substr(equals + 1);
        if (key == "index") {
            const int index = ReadNumber(value);
            // A transport stream's programs list their streams before the streams themselves: the
            // last listing counts.
            std::erase_if(survey.streams, [index](const SourceStream& s) { return s.index == index; });
            stream = &survey.streams.emplace_back();
            stream->index = index;
        } else if (key == "tag:title") {
            survey.title = value; // only the file's title is asked for
        } else if (stream == nullptr) {
            continue;
        } else if (key == "codec_type") {
            stream->type = value;
        } else if (key == "codec_name") {
            stream->codec = value;
        } else if (key == "width" || key == "height") {
            (key == "width" ? stream->width : stream->height) = ReadNumber(value);
        } else if (key == "disposition:default") {
            stream->isDefault = value == "1";
        } else if (key == "disposition:forced") {
            stream->forced = value == "1";
        } else if (key == "disposition:attached_pic") {
            stream->cover = value == "1";
        } else if (key == "tag:language") {
            stream->language = value == "und" ? "" : value;
        }
    }
    return survey;
}

StreamPlan PlanStreams(const StreamSurvey& survey, const std::string& fileStem)
{
    StreamPlan plan;
    plan.surveyed = true;
    plan.title = survey.title.empty() ? fileStem : std::string();
    std::vector<SourceStream> sound;
    std::vector<SourceStream> text;
    std::vector<SourceStream> pictures; // picture subtitles
    for (const SourceStream& stream : survey.streams) {
        if (stream.type == "video" && stream.cover && plan.cover < 0) {
            plan.cover = stream.index;
        } else if (stream.type == "video" && !stream.cover && plan.picture < 0) {
            plan.picture = stream.index;
            plan.pictureWidth = stream.width;
            plan.pictureHeight = stream.height;
        } else if (stream.type == "audio" && !stream.codec.empty()) {
            // A track ffmpeg has no decoder for would fail the whole file.
            sound.push_back(stream);
        } else if (stream.type == "subtitle" && IsOneOf(stream.codec, kTextSubtitles)) {
            text.push_back(stream);
        } else if (stream.type == "subtitle" && IsOneOf(stream.codec, kPictureSubtitles)) {
            pictures.push_back(stream);
        } else if (stream.type == "subtitle") {
            plan.notes.push_back("subtitle " + Describe(stream) + " left out: no device shows it");
        }
    }
    // The default sound first: the iPods play the first track, and the players start with it.
    const auto defaultSound = std::find_if(sound.begin(), sound.end(), [](auto& s) { return s.isDefault; });
    if (defaultSound != sound.end())
        std::rotate(sound.begin(), defaultSound, defaultSound + 1);
    for (std::size_t i = 0; i < sound.size(); ++i) {
        if (i == kMostSoundTracks) {
            plan.notes.push_back(std::to_string(sound.size() - i) + " sound tracks beyond the first " +
                                 std::to_string(kMostSoundTracks) + " left out");
            break;
        }
        plan.sound.push_back(TrackOf(sound[i]));
        plan.sound.back().isDefault = i == 0;
    }
    // The output's first text track is shown unless another is marked default, so it is the default
    // one, else a forced one: forced subtitles are meant to be seen.
    std::stable_sort(text.begin(), text.end(), [](const SourceStream& a, const SourceStream& b) {
        return std::pair(a.isDefault, a.forced) > std::pair(b.isDefault, b.forced);
    });
    bool haveDefault = false;
    for (const SourceStream& stream : text) {
        plan.text.push_back(TrackOf(stream));
        plan.text.back().isDefault = stream.isDefault && !haveDefault;
        haveDefault = haveDefault || stream.isDefault;
    }
    for (const SourceStream& stream : pictures) {
        if (stream.forced && plan.burned < 0 && plan.picture >= 0)
            plan.burned = stream.index;
        else
            plan.notes.push_back("picture subtitle " + Describe(stream) +
                                 (stream.forced ? " left out: one forced track is drawn in already"
                                                : " left out: only a forced one is drawn into the picture"));
    }
    return plan;
}

} // namespace zantrove
