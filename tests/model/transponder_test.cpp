// Transponder entries and frequency rules, checked exhaustively against whole-kHz arithmetic.
#include "frequency_text.h"
#include "transponder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace kestrova {
namespace {

// The published data, written again in whole kHz so that no double arithmetic is shared
// with the code under test.
struct ExpectedEntry {
    const char* listText;
    int span;
    const char* uplinkSideband;
    const char* downlinkSideband;
    int uplinkBaseKHz;
    int uplinkStep; // kHz per kHz of tuning offset
    int downlinkBaseKHz;
    int downlinkStep;
};

constexpr ExpectedEntry kExpected[] = {
    {"FO-29", 100, "LSB", "USB", 146000, -1, 435800, +1},
    {"AO-7 Mode A", 100, "USB", "USB", 145850, +1, 29400, +1},
    {"AO-7 Mode B", 50, "LSB", "USB", 432175, -1, 145925, +1},
    {"VO-52", 50, "LSB", "USB", 435275, -1, 145875, +1},
    {"HO-68", 50, "LSB", "USB", 145925, +1, 435765, -1},
};

std::string kilohertzText(int kHz, const std::string& separator) {
    std::string decimals = std::to_string(kHz % 1000);
    decimals.insert(0, 3 - decimals.size(), '0');
    return std::to_string(kHz / 1000) + separator + decimals;
}

TEST(TransponderEntries, MatchThePublishedTableInListOrder) {
    ASSERT_EQ(listTexts().size(), std::size(kExpected));
    for (std::int16_t position = 0; position < kEntryCount; ++position) {
        const ExpectedEntry& expected = kExpected[position];
        SCOPED_TRACE(expected.listText);
        const TransponderEntry* entry = findEntry(position);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->listText, expected.listText);
        EXPECT_EQ(listTexts()[static_cast<std::size_t>(position)], expected.listText);
        EXPECT_EQ(entry->tuningSpan, expected.span);
        EXPECT_EQ(entry->uplinkSideband, expected.uplinkSideband);
        EXPECT_EQ(entry->downlinkSideband, expected.downlinkSideband);
    }
}

TEST(TransponderEntries, PositionsOutsideTheListSelectNothing) {
    constexpr std::int16_t kNoEntry[] = {-1,
                                         5,
                                         6,
                                         100,
                                         -2,
                                         std::numeric_limits<std::int16_t>::min(),
                                         std::numeric_limits<std::int16_t>::max()};
    for (std::int16_t position : kNoEntry) {
        SCOPED_TRACE(position);
        EXPECT_EQ(findEntry(position), nullptr);
        EXPECT_FALSE(uplinkFrequency(position, 0).has_value());
        EXPECT_FALSE(downlinkFrequency(position, 37).has_value());
    }
}

// Every entry at every whole offset shows the exact kHz value, in a point and a comma locale.
TEST(TransponderEntries, EveryOffsetShowsTheExactKilohertz) {
    int frequenciesChecked = 0;
    for (const std::string separator : {".", ","}) {
        for (std::int16_t position = 0; position < kEntryCount; ++position) {
            const ExpectedEntry& expected = kExpected[position];
            for (std::int16_t k = 0; k <= expected.span; ++k) {
                SCOPED_TRACE(std::string(expected.listText) + " k=" + std::to_string(k));
                const auto uplink = uplinkFrequency(position, k);
                const auto downlink = downlinkFrequency(position, k);
                ASSERT_TRUE(uplink && downlink);
                EXPECT_EQ(
                    frequencyText(*uplink, separator),
                    kilohertzText(expected.uplinkBaseKHz + expected.uplinkStep * k, separator));
                EXPECT_EQ(
                    frequencyText(*downlink, separator),
                    kilohertzText(expected.downlinkBaseKHz + expected.downlinkStep * k, separator));
                frequenciesChecked += 2;
            }
        }
    }
    EXPECT_EQ(frequenciesChecked, 2 * 710);
}

// The operators' reference points: both ends of each passband and offset 37.
TEST(TransponderEntries, ReferenceDisplayTexts) {
    struct Row {
        std::int16_t position;
        std::int16_t offset;
        const char* uplink;
        const char* downlink;
    };
    constexpr Row kRows[] = {
        {0, 0, "146.000", "435.800"}, {0, 100, "145.900", "435.900"}, {0, 37, "145.963", "435.837"},
        {1, 0, "145.850", "29.400"},  {1, 100, "145.950", "29.500"},  {1, 37, "145.887", "29.437"},
        {2, 0, "432.175", "145.925"}, {2, 50, "432.125", "145.975"},  {2, 37, "432.138", "145.962"},
        {3, 0, "435.275", "145.875"}, {3, 50, "435.225", "145.925"},  {3, 37, "435.238", "145.912"},
        {4, 0, "145.925", "435.765"}, {4, 50, "145.975", "435.715"},  {4, 37, "145.962", "435.728"},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(std::to_string(row.position) + " k=" + std::to_string(row.offset));
        EXPECT_EQ(frequencyText(*uplinkFrequency(row.position, row.offset), "."), row.uplink);
        EXPECT_EQ(frequencyText(*downlinkFrequency(row.position, row.offset), "."), row.downlink);
    }
}

} // namespace
} // namespace kestrova
