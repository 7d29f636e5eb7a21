// The transponder entries against whole-kHz arithmetic, and the "#.000" text at its edges.
#include "frequency_text.h"
#include "transponder.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace kestrova {
namespace {

// The published data again, in whole kHz, so that no double arithmetic is shared with the
// code under test. Steps are kHz per kHz of tuning offset.
struct ExpectedEntry {
    const char *listText, *sidebands;
    int span, uplinkKHz, uplinkStep, downlinkKHz, downlinkStep;
};
constexpr ExpectedEntry kExpected[] = {
    {"FO-29", "LSB USB", 100, 146000, -1, 435800, +1},
    {"AO-7 Mode A", "USB USB", 100, 145850, +1, 29400, +1},
    {"AO-7 Mode B", "LSB USB", 50, 432175, -1, 145925, +1},
    {"VO-52", "LSB USB", 50, 435275, -1, 145875, +1},
    {"HO-68", "LSB USB", 50, 145925, +1, 435765, -1},
};

std::string kilohertzText(int kHz, const std::string& separator) {
    const std::string decimals = std::to_string(1000 + kHz % 1000).substr(1);
    return std::to_string(kHz / 1000) + separator + decimals;
}

// Every entry at every whole offset shows the exact kHz value, with a point and a comma.
TEST(Transponder, EveryEntryAtEveryOffsetShowsTheExactKilohertz) {
    ASSERT_EQ(std::size(kTransponderEntries), std::size(kExpected));
    for (std::int16_t position = 0; position < 5; ++position) {
        const ExpectedEntry& expected = kExpected[position];
        const TransponderEntry* entry = findEntry(position);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->listText, expected.listText);
        EXPECT_EQ(std::string(entry->uplinkSideband) + " " + std::string(entry->downlinkSideband),
                  expected.sidebands);
        EXPECT_EQ(entry->tuningSpan, expected.span);
        for (const std::string separator : {".", ","}) {
            for (std::int16_t k = 0; k <= expected.span; ++k) {
                SCOPED_TRACE(std::string(expected.listText) + " k=" + std::to_string(k));
                EXPECT_EQ(frequencyText(frequency(entry->uplink, k), separator),
                          kilohertzText(expected.uplinkKHz + expected.uplinkStep * k, separator));
                EXPECT_EQ(
                    frequencyText(frequency(entry->downlink, k), separator),
                    kilohertzText(expected.downlinkKHz + expected.downlinkStep * k, separator));
            }
        }
    }
    for (int position : {-1, 5, -32768, 32767}) {
        EXPECT_EQ(findEntry(static_cast<std::int16_t>(position)), nullptr) << position;
    }
}

TEST(FrequencyText, FollowsThePatternAtItsEdges) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        const char *separator, *expected;
    } kCases[] = {
        {146.0, ".", "146.000"},
        {29.4, ",", "29,400"},
        {145.96251, ".", "145.963"},
        {145.96249, ".", "145.962"},
        {145.9996, ".", "146.000"},
        {1234567.0, ".", "1234567.000"},
        {0.5, ".", ".500"},
        {-0.0, ".", ".000"},
        {-0.0004, ".", ".000"},
        {-0.25, ",", "-,250"},
        {146.0, "", "146000"},
        {145.85, "\xd9\xab",
         "145\xd9\xab"
         "850"},
        // Near a half thousandth the exact binary value decides, and a true half goes to even.
        {1.0005, ".", "1.000"},
        {8.0005, ".", "8.001"},
        {2.0625, ".", "2.062"},
        {1234.5675, ".", "1234.568"},
        {999999999999999.9, ".", "999999999999999.875"},
        {1e15, ".", "Overflow"},
        {-1e300, ".", "Overflow"},
        {kNaN, ".", "NaN"},
        {kInfinity, ".", "Infinity"},
        {-kInfinity, ".", "-Infinity"},
        {std::numeric_limits<double>::denorm_min(), ".", ".000"},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(frequencyText(c.value, c.separator), c.expected) << c.value;
    }
}

} // namespace
} // namespace kestrova
