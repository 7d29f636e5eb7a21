// WCAG 2 relative luminance and contrast.
#include "colours.h"

#include <cmath>

namespace kestrova {
namespace {

double luminance(Colour colour) {
    const auto linear = [](std::uint8_t channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) +
           0.0722 * linear(colour.blue);
}

} // namespace

double contrastRatio(Colour a, Colour b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::fmax(la, lb) + 0.05) / (std::fmin(la, lb) + 0.05);
}

Colour readableOn(Colour wanted, Colour background) {
    const std::uint8_t towards = luminance(background) < 0.18 ? 255 : 0;
    const auto mix = [towards](std::uint8_t channel, int step) {
        return static_cast<std::uint8_t>(channel + (towards - channel) * step / 64);
    };
    Colour colour = wanted;
    for (int step = 1; step <= 64 && contrastRatio(colour, background) < 4.5; ++step) {
        colour = {mix(wanted.red, step), mix(wanted.green, step), mix(wanted.blue, step)};
    }
    return colour;
}

} // namespace kestrova
