// How well a painted text reads: the WCAG 2 contrast between the most common colour of its
// pixels (the background) and the colour that stands out most from it (the text).
#pragma once

#include "colours.h"

#include <algorithm>
#include <map>

namespace kestrova {

template <typename PixelAt> // Colour pixelAt(int x, int y)
double paintedContrast(int width, int height, PixelAt pixelAt) {
    std::map<int, int> counts; // 0xRRGGBB -> pixels
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Colour c = pixelAt(x, y);
            ++counts[c.red << 16 | c.green << 8 | c.blue];
        }
    }
    const auto colour = [](int rgb) {
        return Colour{std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb)};
    };
    const int back = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                         return a.second < b.second;
                     })->first;
    double best = 1;
    for (const auto& [rgb, n] : counts) {
        best = std::max(best, contrastRatio(colour(rgb), colour(back)));
    }
    return best;
}

} // namespace kestrova
