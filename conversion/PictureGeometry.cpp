// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/PictureGeometry.h"

#include "base/TextUtilities.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

namespace zantrove {

namespace {
struct FrameSize
{
    std::int16_t width = 0;
    std::int16_t height = 0;
};

// The whole numbers before and after the first "x".
std::optional<FrameSize> ReadFrameSize(std::string_view text)
{
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos)
        return std::nullopt;
    const auto width = ParseInt16(text.substr(0, x));
    const auto height = ParseInt16(text.substr(x + 1));
    if (!width || !height)
        return std::nullopt;
    return FrameSize{*width, *height};
}

// The share of a narrower source's rows that may be cut to fill the frame: a PAL frame into 4:3
// loses 6%, a CIF frame 8%.
constexpr double kMostRowsCut = 0.10;

std::optional<int> ToRows(double value)
{
    if (!(value >= 0 && value <= std::numeric_limits<std::int16_t>::max()))
        return std::nullopt;
    return static_cast<int>(value);
}

int MakeEven(int total)
{
    return total % 2 != 0 ? total + 1 : total;
}

// Even amounts above and below that add up to an even total.
std::pair<int, int> SplitRows(int total)
{
    int top = total / 2;
    int bottom = total / 2;
    if (top % 2 != 0) {
        top += 1;
        bottom = top - 2;
    }
    return {top, bottom};
}
} // namespace

std::vector<std::string> FitToTargetSize(std::string_view sourceSize, std::string_view targetSize)
{
    const auto source = ReadFrameSize(sourceSize);
    const auto target = ReadFrameSize(targetSize);
    if (!source || !target || source->width <= 0 || source->height <= 0 || target->width <= 0 ||
        target->height <= 0)
        return {};
    const double sourceRatio = static_cast<double>(source->width) / source->height;
    const double targetRatio = static_cast<double>(target->width) / target->height;
    // nearbyint rounds half to even in the default rounding mode. A height beyond 16 bits (a sliver
    // of a source) cannot be written as a row count: the step is left out.
    const auto scaledHeight = ToRows(std::nearbyint(target->width / sourceRatio));
    if (!scaledHeight)
        return {};

    std::vector<std::string> fragment;
    if (sourceRatio >= targetRatio) {
        const int total = MakeEven(target->height - *scaledHeight);
        const auto [top, bottom] = SplitRows(total);
        fragment = {"-s", std::to_string(target->width) + "x" + std::to_string(target->height - total)};
        if (top != 0 || bottom != 0)
            fragment.insert(fragment.end(),
                            {"-padtop", std::to_string(top), "-padbottom", std::to_string(bottom)});
        return fragment;
    }
    const int cut = MakeEven(*scaledHeight - target->height);
    if (cut <= kMostRowsCut * *scaledHeight) {
        const auto [top, bottom] = SplitRows(cut);
        if (top != 0 || bottom != 0)
            fragment = {"-croptop", std::to_string(top), "-cropbottom", std::to_string(bottom)};
        fragment.insert(fragment.end(), {"-s", std::string(targetSize)});
        return fragment;
    }
    // Cutting would throw away more than a strip (a portrait clip, 4:3 into 16:9): the whole picture
    // goes in, with bars at the sides.
    const auto scaledWidth = ToRows(std::nearbyint(target->height * sourceRatio));
    if (!scaledWidth)
        return {};
    const int total = MakeEven(target->width - *scaledWidth);
    const auto [left, right] = SplitRows(total);
    return {"-s",        std::to_string(target->width - total) + "x" + std::to_string(target->height),
            "-padleft",  std::to_string(left),
            "-padright", std::to_string(right)};
}

} // namespace zantrove
