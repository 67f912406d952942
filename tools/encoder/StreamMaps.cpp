// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/encoder/StreamMaps.h"

namespace zantrove {

std::string BurnedSubtitleGraph(const EncoderRequest& request)
{
    const StreamPlan& plan = request.streams;
    const auto [timing, shaping] = VideoFilterParts(request);
    // Drawn onto the frames at the source's size, the subtitle is scaled, cropped and padded with
    // the picture and stays where the film puts it.
    const std::string fit =
        plan.pictureWidth > 0 && plan.pictureHeight > 0
            ? "scale=" + std::to_string(plan.pictureWidth) + ":" + std::to_string(plan.pictureHeight)
            : "null";
    return "[0:" + std::to_string(plan.burned) + "]" + fit + "[sub];[0:" + std::to_string(plan.picture) +
           "]" + (timing.empty() ? "null" : timing) + "[pic];[pic][sub]overlay=eof_action=pass" +
           (shaping.empty() ? "" : "," + shaping) + "[v]";
}

void AddSurveyedMaps(const EncoderRequest& request, std::vector<std::string>& args)
{
    const StreamPlan& plan = request.streams;
    // After a seek, a subtitle that began before the cut would come out before 0, and the muxer
    // would move every text line that much late; from 0 on, it is left out instead.
    if (!request.start.empty() && !request.videoOff && !plan.text.empty())
        args.insert(args.end(), {"-ss", "0"});
    const auto map = [&args](int index) { args.insert(args.end(), {"-map", "0:" + std::to_string(index)}); };
    if (!request.videoOff && plan.burned >= 0)
        args.insert(args.end(), {"-filter_complex", BurnedSubtitleGraph(request), "-map", "[v]"});
    else if (!request.videoOff && plan.picture >= 0)
        map(plan.picture);
    if (!request.audioOff) {
        for (const OutputTrack& track : plan.sound)
            map(track.source);
    }
    if (!request.videoOff) {
        for (const OutputTrack& track : plan.text)
            map(track.source);
    }
    if (plan.cover >= 0)
        args.insert(args.end(), {"-map", (request.start.empty() ? "0:" : "1:") + std::to_string(plan.cover)});
}

void AddCoverInput(const EncoderRequest& request, std::vector<std::string>& args)
{
    // A seek drops the cover, which belongs to no moment: it comes from the source read again from
    // its start, and only as far as the cover.
    if (request.streams.cover >= 0 && !request.start.empty())
        args.insert(args.end(), {"-t", "0.1", "-i", FileUrl(request.input)});
}

void QualifyForMainPicture(std::vector<std::string>& args, std::size_t from)
{
    // Options after the first are values; every video option here takes one.
    for (std::size_t i = from; i < args.size(); i += 2) {
        std::string& option = args[i];
        if (option == "-movflags" || option == "-metadata")
            continue;
        if (option == "-vf")
            option = "-filter:v:0";
        else if (option.ends_with(":v"))
            option += ":0";
        else
            option += ":v:0";
    }
}

void AddTrackMarks(const EncoderRequest& request, std::vector<std::string>& args)
{
    const StreamPlan& plan = request.streams;
    const auto mark = [&args](const std::string& type, std::size_t n, const OutputTrack& track) {
        const std::string stream = type + ":" + std::to_string(n);
        if (!track.language.empty())
            args.insert(args.end(), {"-metadata:s:" + stream, "language=" + track.language});
        const std::string disposition = track.isDefault && track.forced ? "default+forced"
                                        : track.isDefault               ? "default"
                                        : track.forced                  ? "forced"
                                                                        : "0";
        args.insert(args.end(), {"-disposition:" + stream, disposition});
    };
    if (!request.audioOff) {
        for (std::size_t i = 0; i < plan.sound.size(); ++i)
            mark("a", i, plan.sound[i]);
    }
    if (!request.videoOff && !plan.text.empty()) {
        args.insert(args.end(), {"-c:s", "mov_text"});
        for (std::size_t i = 0; i < plan.text.size(); ++i)
            mark("s", i, plan.text[i]);
    }
    if (plan.cover >= 0) {
        // What the devices show of a cover, as a JPEG every one of them reads.
        const std::string cover = !request.videoOff && plan.picture >= 0 ? "v:1" : "v:0";
        args.insert(args.end(), {"-c:" + cover, "mjpeg", "-filter:" + cover,
                                 "scale='min(600,iw)':'min(600,ih)':force_original_aspect_ratio=decrease",
                                 "-pix_fmt:" + cover, "yuvj420p", "-qscale:" + cover, "3",
                                 "-disposition:" + cover, "attached_pic"});
    }
    if (!plan.title.empty())
        args.insert(args.end(), {"-metadata", "title=" + plan.title});
}

} // namespace zantrove
