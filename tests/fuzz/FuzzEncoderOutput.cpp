// SPDX-License-Identifier: GPL-3.0-or-later
// What reads an encoder's output: the encoder component's reader of ffmpeg's progress blocks, and the
// progress window's reader of the script's console, both fed in pieces cut from the input.
// Input: the rows ("hh:mm:ss,path" separated by "|"), then the piece lengths (numbers separated by
// blanks up to anything else, used in turn; none gives one piece); the rest is the output.
#include "conversion/ConversionProgress.h"
#include "conversion/ConversionScript.h"
#include "conversion/ProgressTexts.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tools/encoder/ProgressReport.h"

#include <cmath>
#include <sstream>
#include <vector>

using namespace zantrove;

namespace {

// Feeds one piece and checks what the window would show.
void Feed(ConversionProgress& progress, std::string_view piece, std::size_t& fed)
{
    const int before = progress.FileNumber();
    const bool started = progress.HandleOutput(piece);
    fed += piece.size();
    ZANTROVE_FUZZ_CHECK(progress.FileNumber() == before + (started ? 1 : 0));
    ZANTROVE_FUZZ_CHECK(progress.LogText().size() == fed);
    ZANTROVE_FUZZ_CHECK(progress.CurrentMaximum() > 0);
    ZANTROVE_FUZZ_CHECK(progress.CurrentValue() >= 0 && progress.CurrentValue() <= progress.CurrentMaximum());
    ZANTROVE_FUZZ_CHECK(progress.TotalValue() >= 0 && progress.TotalValue() <= progress.TotalMaximum());
    const std::string& errors = progress.ErrorLog();
    ZANTROVE_FUZZ_CHECK(errors.empty() || (errors.front() == '-' && errors.ends_with("\r\n")));
    (void)ProgressTexts(progress).FilePercent();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzInput input(data, size);
    std::vector<ConversionProgress::Row> rows;
    for (fuzz::FuzzInput rowText(input.Line()); !rowText.Empty() && rows.size() < 32;) {
        fuzz::FuzzInput row(rowText.Line('|'));
        const std::string_view duration = row.Line(',');
        rows.push_back({std::string(duration), std::string(row.Rest())});
    }
    std::vector<std::size_t> lengths;
    std::istringstream numbers{std::string(input.Line())};
    for (std::size_t length; lengths.size() < 64 && numbers >> length;)
        if (length > 0)
            lengths.push_back(length);

    for (const auto& row : rows)
        ZANTROVE_FUZZ_CHECK(ConversionProgress::DurationSeconds(row.duration) >= 0);

    // The console as the window reads it.
    ConversionProgress console(rows, EncoderLineStart("/s"));
    std::size_t fed = 0;
    // ffmpeg's progress as the encoder reads it, and the status lines it makes of that, read back by
    // the window while converting one long file.
    ProgressReader reader;
    ConversionProgress status(std::vector<ConversionProgress::Row>{{"999:00:00", "/in.avi"}},
                              EncoderLineStart("/s"));
    std::size_t statusFed = 0;
    Feed(status, "'/s/" + std::string(kStagedEncoderName) + "' -i '/in.avi'\n", statusFed);

    std::size_t next = 0;
    for (std::string_view rest = input.Rest(); !rest.empty();) {
        const std::size_t length = lengths.empty() ? rest.size() : lengths[next++ % lengths.size()];
        const std::string_view piece = rest.substr(0, length);
        rest.remove_prefix(piece.size());
        Feed(console, piece, fed);

        for (const ProgressBlock& block : reader.Feed(piece)) {
            const std::string line = FormatProgressLine(block);
            ZANTROVE_FUZZ_CHECK(line.ends_with('\r') && line.find(" time=") != std::string::npos);
            Feed(status, line, statusFed);
            if (block.seconds >= 0 && block.seconds < 3'000'000)
                ZANTROVE_FUZZ_CHECK(std::abs(status.CurrentValue() - block.seconds) <= 1.0);
        }
    }
    console.HandleEnd();
    ZANTROVE_FUZZ_CHECK(console.Finished() && console.CurrentValue() == console.CurrentMaximum());
    ZANTROVE_FUZZ_CHECK(console.TotalValue() == console.TotalMaximum());
    return 0;
}
