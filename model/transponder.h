// The five fixed transponder entries and the rule that turns a tuning offset into a frequency.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kestrova {

// One link (uplink or downlink): its base frequency in MHz, and whether it rises or falls as
// the tuning offset rises.
struct LinkRule {
    double baseMHz;
    bool rising;
};

struct TransponderEntry {
    std::string_view listText;
    std::int16_t tuningSpan; // highest tuning offset in kHz; the lowest is always 0
    std::string_view uplinkSideband;
    std::string_view downlinkSideband;
    LinkRule uplink;
    LinkRule downlink;
};

// The entries in list order.
extern const std::array<TransponderEntry, 5> kTransponderEntries;

// The entry at a list position, or nullptr for any position outside 0..4 (-1 means "none").
const TransponderEntry* findEntry(std::int16_t listPosition);

// The link's frequency in MHz at a tuning offset in kHz, in double precision, unrounded.
double frequency(const LinkRule& link, std::int16_t tuningOffset);

} // namespace kestrova
