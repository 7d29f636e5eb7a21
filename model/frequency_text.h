// Display text of a frequency: the "#.000" pattern with the caller's decimal separator.
#pragma once

#include <string>
#include <string_view>

namespace kestrova {

// Rounds to three decimals and writes the integer part without leading zeros or grouping,
// then the separator (any UTF-8 text), then exactly three decimals, all in ASCII digits.
// A zero integer part writes no digit (".500"), as the pattern's "#" asks.
// Non-finite values, which no transponder produces, read "NaN", "Infinity" and "-Infinity".
std::string frequencyText(double megahertz, std::string_view decimalSeparator);

} // namespace kestrova
