// The five fixed transponder entries and the rules that turn a tuning offset into frequencies.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrova {

// Which way a link moves when the tuning offset rises.
enum class Slope { Rising, Falling };

// One link (uplink or downlink) of a transponder: base frequency in MHz and its direction.
struct LinkRule {
    double baseMHz;
    Slope slope;
};

struct TransponderEntry {
    std::string_view listText;
    std::int16_t tuningSpan; // highest tuning offset in kHz; the lowest is always 0
    std::string_view uplinkSideband;
    std::string_view downlinkSideband;
    LinkRule uplink;
    LinkRule downlink;
};

inline constexpr int kEntryCount = 5;

// The entry at a list position, or nullptr for any position outside 0..4 (-1 means "none").
const TransponderEntry* findEntry(std::int16_t listPosition);

// The list texts in position order, for filling the selection list.
const std::array<std::string_view, kEntryCount>& listTexts();

// Frequency of one link at a tuning offset in kHz, in MHz, computed in double precision.
double linkFrequency(const LinkRule& link, std::int16_t tuningOffset);

// Uplink and downlink frequency in MHz; empty for a list position that selects no entry.
std::optional<double> uplinkFrequency(std::int16_t listPosition, std::int16_t tuningOffset);
std::optional<double> downlinkFrequency(std::int16_t listPosition, std::int16_t tuningOffset);

} // namespace kestrova
