// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zantrove {

// One stream of the source as ffprobe describes it.
struct SourceStream
{
    int index = 0;    // among all the source's streams
    std::string type; // "video", "audio", "subtitle", ...
    std::string codec;
    std::string language; // empty when not tagged
    bool isDefault = false;
    bool forced = false;
    bool cover = false; // an attached picture
    int width = 0;
    int height = 0;
};

// What ffprobe says of the source in one look: its streams and its title.
struct StreamSurvey
{
    std::vector<SourceStream> streams;
    std::string title;
};

// The streams from ffprobe's answer to SurveyArguments (SourceScan.h), one "key=value" a line, or
// to "-of compact=p=0", one stream a line.
StreamSurvey ReadStreamSurvey(std::string_view answer);

// A track of the output and the source stream it is made from.
struct OutputTrack
{
    int source = -1;
    std::string language;
    bool isDefault = false;
    bool forced = false;
};

// Which of the source's streams go into the output, and how.
struct StreamPlan
{
    bool surveyed = false; // false: the first picture and the request's one sound track, as before
    int picture = -1;      // the first picture stream that is no cover
    int pictureWidth = 0;
    int pictureHeight = 0;
    std::vector<OutputTrack> sound; // the default first; all are alternatives of one another
    std::vector<OutputTrack> text;  // become mov_text
    int burned = -1;                // a forced picture subtitle drawn into the picture
    int cover = -1;
    std::string title;              // empty: the source's own stays
    std::vector<std::string> notes; // what was left out and why, one sentence each
};

// Sound tracks the output keeps at most; players list more poorly and the iPods not at all.
constexpr std::size_t kMostSoundTracks = 8;

// The plan for a source; fileStem names an output whose source has no title.
StreamPlan PlanStreams(const StreamSurvey& survey, const std::string& fileStem);

} // namespace zantrove
