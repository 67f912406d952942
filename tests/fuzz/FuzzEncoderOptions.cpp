// SPDX-License-Identifier: GPL-3.0-or-later
// The encoder component's option parser and the ffmpeg command it builds.
// Input: the arguments after the program's name, one per line.
#include "tests/fuzz/FuzzSupport.h"
#include "tools/encoder/EncoderOptions.h"

#include <algorithm>

using namespace zantrove;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzInput input(data, size);
    std::vector<std::string> arguments;
    while (!input.Empty() && arguments.size() < 256)
        arguments.emplace_back(input.Line());

    for (const std::string& argument : arguments) {
        // A converted rate is in ffmpeg's form already and stays as it is.
        if (const auto rate = ConvertRate(argument)) {
            ZANTROVE_FUZZ_CHECK(!rate->empty());
            ZANTROVE_FUZZ_CHECK(ConvertRate(*rate) == rate);
        }
        (void)MuxerForFileName(argument);
    }

    const auto parsed = ParseEncoderArguments(arguments);
    if (!parsed) {
        ZANTROVE_FUZZ_CHECK(!parsed.error().text.empty());
        return 0;
    }
    const EncoderRequest& request = *parsed;
    ZANTROVE_FUZZ_CHECK(!request.input.empty() && !request.output.empty());
    ZANTROVE_FUZZ_CHECK(!(request.videoOff && request.audioOff));
    ZANTROVE_FUZZ_CHECK((request.width == 0) == (request.height == 0));
    ZANTROVE_FUZZ_CHECK(request.width >= 0 && request.padTop >= 0 && request.padBottom >= 0 &&
                        request.cropTop >= 0 && request.cropBottom >= 0);

    const std::vector<std::string> ffmpeg = BuildFfmpegArguments(request);
    // ffmpeg always writes the unfinished name with a named muxer, never the final name.
    ZANTROVE_FUZZ_CHECK(ffmpeg.size() >= 3);
    ZANTROVE_FUZZ_CHECK(ffmpeg.back() == FileUrl(UnfinishedPath(request.output)));
    ZANTROVE_FUZZ_CHECK(ffmpeg[ffmpeg.size() - 3] == "-f" && !ffmpeg[ffmpeg.size() - 2].empty());
    const auto in = std::find(ffmpeg.begin(), ffmpeg.end(), "-i");
    ZANTROVE_FUZZ_CHECK(in != ffmpeg.end() && in + 1 != ffmpeg.end() && in[1] == FileUrl(request.input));
    if (const std::string chain = VideoFilterChain(request); !chain.empty()) {
        ZANTROVE_FUZZ_CHECK(chain.ends_with("setsar=1"));
        // Rows and sizes are never below zero, whatever the sums of the options.
        ZANTROVE_FUZZ_CHECK(chain.find("+-") == std::string::npos && chain.find("--") == std::string::npos);
        ZANTROVE_FUZZ_CHECK(chain.find(":-") == std::string::npos || chain.find(":-1,") != std::string::npos);
    }
    return 0;
}
