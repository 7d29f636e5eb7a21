// The transponder entries against whole-kHz arithmetic, and the "#.000" text at its edges.
#include "frequency_text.h"
#include "transponder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kestrova {
namespace {

// The published data again, in whole kHz, so that no double arithmetic is shared with the
// code under test. Steps are kHz per kHz of tuning offset.
struct ExpectedEntry {
    const char* entry; // list text, sidebands, span
    int uplinkKHz, uplinkStep, downlinkKHz, downlinkStep;
};
constexpr ExpectedEntry kExpected[] = {
    {"FO-29 LSB USB 100", 146000, -1, 435800, +1},
    {"AO-7 Mode A USB USB 100", 145850, +1, 29400, +1},
    {"AO-7 Mode B LSB USB 50", 432175, -1, 145925, +1},
    {"VO-52 LSB USB 50", 435275, -1, 145875, +1},
    {"HO-68 LSB USB 50", 145925, +1, 435765, -1},
};

std::string kilohertzText(int kHz) {
    return std::to_string(kHz / 1000) + "." + std::to_string(1000 + kHz % 1000).substr(1);
}

// Every entry at every whole offset shows the exact kHz value.
TEST(Transponder, EveryEntryAtEveryOffsetShowsTheExactKilohertz) {
    for (std::int16_t position = 0; position < 5; ++position) {
        const ExpectedEntry& x = kExpected[position];
        const TransponderEntry* e = findEntry(position);
        ASSERT_NE(e, nullptr);
        ASSERT_EQ(std::string(e->listText) + " " + std::string(e->uplinkSideband) + " " +
                      std::string(e->downlinkSideband) + " " + std::to_string(e->tuningSpan),
                  x.entry);
        for (std::int16_t k = 0; k <= e->tuningSpan; ++k) {
            EXPECT_EQ(frequencyText(frequency(e->uplink, k), ".") + " " +
                          frequencyText(frequency(e->downlink, k), "."),
                      kilohertzText(x.uplinkKHz + x.uplinkStep * k) + " " +
                          kilohertzText(x.downlinkKHz + x.downlinkStep * k))
                << x.entry << " at " << k;
        }
    }
}

// The pattern's own cases, which no transponder produces but the header promises.
TEST(FrequencyText, FollowsThePatternAtItsEdges) {
    const struct {
        double value;
        const char *separator, *expected;
    } kCases[] = {
        {0.5, ".", ".500"},         // no digit before the separator
        {-0.0004, ".", ".000"},     // no sign on a value that rounds to zero
        {-0.25, ",", "-,250"},      // any separator
        {2.0625, ".", "2.062"},     // a true half goes to even
        {1e15, ".", "Overflow"},    // beyond any frequency
        {std::nan(""), ".", "NaN"}, // not a number
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(frequencyText(c.value, c.separator), c.expected) << c.value;
    }
}

} // namespace
} // namespace kestrova
