// How well a painted text reads: the WCAG 2 contrast between the most common colour of its
// pixels (the background) and the colour that stands out most from it (the text).
#pragma once

#include "colours.h"

#include <algorithm>
#include <map>

namespace kestrova {

template <typename PixelAt> // int pixelAt(int x, int y), the colour as 0xRRGGBB
double paintedContrast(int width, int height, PixelAt pixelAt) {
    std::map<int, int> counts; // colour -> pixels
    for (int i = 0; i < width * height; ++i) {
        ++counts[pixelAt(i % width, i / width)];
    }
    const auto colour = [](int rgb) {
        return Colour{std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb)};
    };
    const int back = std::ranges::max_element(counts, {}, [](auto& n) { return n.second; })->first;
    double best = 1;
    for (const auto& [rgb, n] : counts) {
        best = std::max(best, contrastRatio(colour(rgb), colour(back)));
    }
    return best;
}

} // namespace kestrova
