// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/encoder/EncoderOptions.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zantrove {

// The -filter_complex graph that draws request.streams.burned into the picture between the filters
// that make the frames and those that shape them, ending in "[v]".
std::string BurnedSubtitleGraph(const EncoderRequest& request);

// The maps of a surveyed source: the picture (through the graph when a subtitle is drawn in), every
// sound track, the text subtitles and the cover.
void AddSurveyedMaps(const EncoderRequest& request, std::vector<std::string>& args);

// The source once more as a second input, for its cover, when the first is read from a seek; it
// goes right after the first input.
void AddCoverInput(const EncoderRequest& request, std::vector<std::string>& args);

// The video options from args[from] on, as pairs, made to reach the first picture stream alone.
void QualifyForMainPicture(std::vector<std::string>& args, std::size_t from);

// Each track's language and marks, the text tracks' codec, the cover's encoding and the title.
void AddTrackMarks(const EncoderRequest& request, std::vector<std::string>& args);

} // namespace zantrove
