// Fixed transponder data. Base frequencies are the published decimal values stored as doubles.
#include "transponder.h"

namespace kestrova {

constexpr bool kRising = true;
constexpr bool kFalling = false;

const std::array<TransponderEntry, 5> kTransponderEntries{{
    {"FO-29", 100, "LSB", "USB", {146.0, kFalling}, {435.8, kRising}},
    {"AO-7 Mode A", 100, "USB", "USB", {145.85, kRising}, {29.4, kRising}},
    {"AO-7 Mode B", 50, "LSB", "USB", {432.175, kFalling}, {145.925, kRising}},
    {"VO-52", 50, "LSB", "USB", {435.275, kFalling}, {145.875, kRising}},
    {"HO-68", 50, "LSB", "USB", {145.925, kRising}, {435.765, kFalling}},
}};

const TransponderEntry* findEntry(std::int16_t listPosition) {
    if (listPosition < 0 || listPosition >= std::ssize(kTransponderEntries)) {
        return nullptr;
    }
    return &kTransponderEntries[static_cast<std::size_t>(listPosition)];
}

double frequency(const LinkRule& link, std::int16_t tuningOffset) {
    const double offsetMHz = static_cast<double>(tuningOffset) / 1000.0;
    return link.rising ? offsetMHz + link.baseMHz : link.baseMHz - offsetMHz;
}

} // namespace kestrova
