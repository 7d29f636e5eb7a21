// Fixed transponder data. Base frequencies are the published decimal values stored as doubles.
#include "transponder.h"

namespace kestrova {
namespace {

constexpr std::array<TransponderEntry, kEntryCount> kEntries{{
    {"FO-29", 100, "LSB", "USB", {146.0, Slope::Falling}, {435.8, Slope::Rising}},
    {"AO-7 Mode A", 100, "USB", "USB", {145.85, Slope::Rising}, {29.4, Slope::Rising}},
    {"AO-7 Mode B", 50, "LSB", "USB", {432.175, Slope::Falling}, {145.925, Slope::Rising}},
    {"VO-52", 50, "LSB", "USB", {435.275, Slope::Falling}, {145.875, Slope::Rising}},
    {"HO-68", 50, "LSB", "USB", {145.925, Slope::Rising}, {435.765, Slope::Falling}},
}};

constexpr std::array<std::string_view, kEntryCount> kListTexts{
    kEntries[0].listText, kEntries[1].listText, kEntries[2].listText,
    kEntries[3].listText, kEntries[4].listText,
};

} // namespace

const TransponderEntry* findEntry(std::int16_t listPosition) {
    if (listPosition < 0 || listPosition >= kEntryCount) {
        return nullptr;
    }
    return &kEntries[static_cast<std::size_t>(listPosition)];
}

const std::array<std::string_view, kEntryCount>& listTexts() {
    return kListTexts;
}

double linkFrequency(const LinkRule& link, std::int16_t tuningOffset) {
    const double offsetMHz = static_cast<double>(tuningOffset) / 1000.0;
    return link.slope == Slope::Rising ? offsetMHz + link.baseMHz : link.baseMHz - offsetMHz;
}

std::optional<double> uplinkFrequency(std::int16_t listPosition, std::int16_t tuningOffset) {
    const TransponderEntry* entry = findEntry(listPosition);
    if (entry == nullptr) {
        return std::nullopt;
    }
    return linkFrequency(entry->uplink, tuningOffset);
}

std::optional<double> downlinkFrequency(std::int16_t listPosition, std::int16_t tuningOffset) {
    const TransponderEntry* entry = findEntry(listPosition);
    if (entry == nullptr) {
        return std::nullopt;
    }
    return linkFrequency(entry->downlink, tuningOffset);
}

} // namespace kestrova
