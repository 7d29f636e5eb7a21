// The "#.000" display pattern, including values no transponder produces.
#include "frequency_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace kestrova {
namespace {

struct Case {
    double value;
    const char* separator;
    const char* expected;
};

TEST(FrequencyText, FollowsThePattern) {
    const Case kCases[] = {
        {146.0, ".", "146.000"},     // a whole number keeps its three zeros
        {29.4, ".", "29.400"},       // no leading zero for two integer digits
        {435.8, ",", "435,800"},     // decimal comma
        {145.96251, ".", "145.963"}, // rounded, not truncated
        {145.96249, ".", "145.962"},
        {145.9996, ".", "146.000"},      // rounding carries into the integer part
        {1234567.0, ".", "1234567.000"}, // no digit grouping
        {1234567.0, ",", "1234567,000"},
        {0.5, ".", ".500"}, // "#" writes no digit for a zero integer part
        {0.0, ".", ".000"},
        {-0.0, ".", ".000"},
        {-0.0004, ".", ".000"}, // rounds to zero: no sign
        {-1.25, ".", "-1.250"},
        {-0.25, ",", "-,250"},
        {145.85, "\xd9\xab",
         "145\xd9\xab"
         "850"}, // Arabic decimal separator, two bytes
        {146.0, "", "146000"},
        // Near a half thousandth the decision follows the exact binary value, not value * 1000.
        {1.0005, ".", "1.000"}, // just below the half: 1000.5 after multiplying
        {8.0005, ".", "8.001"}, // just above it
        {0.0005, ".", ".001"},
        {2.0625, ".", "2.062"}, // exactly half way: to even
        {1234.5675, ".", "1234.568"},
        {435.9004999999999, ".", "435.900"},
        {-999.9995, ".", "-1000.000"},
        {999999999999.9, ".", "999999999999.900"},
        {1e15 + 0.25, ".", "1000000000000000.250"},
        {std::numeric_limits<double>::quiet_NaN(), ".", "NaN"},
        {std::numeric_limits<double>::infinity(), ".", "Infinity"},
        {-std::numeric_limits<double>::infinity(), ",", "-Infinity"},
        {std::numeric_limits<double>::denorm_min(), ".", ".000"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(frequencyText(c.value, c.separator), c.expected);
    }
}

TEST(FrequencyText, HugeValuesAreWrittenInFull) {
    const std::string largest = frequencyText(std::numeric_limits<double>::max(), ".");
    EXPECT_EQ(largest.size(), 309u + 4u);
    EXPECT_EQ(largest.substr(0, 6), "179769");
    EXPECT_EQ(largest.substr(largest.size() - 4), ".000");

    const std::string lowest = frequencyText(std::numeric_limits<double>::lowest(), ",");
    EXPECT_EQ(lowest, "-" + largest.substr(0, 309) + ",000");
}

} // namespace
} // namespace kestrova
