// Display text of a frequency: the "#.000" pattern with the caller's decimal separator.
#pragma once

#include <string>
#include <string_view>

namespace kestrova {

// Rounds the exact binary value to three decimals (half to even) and writes the integer part
// without leading zeros or grouping, then the separator (any UTF-8 text), then exactly three
// decimals, all in ASCII digits. A zero integer part writes no digit (".500"), as the
// pattern's "#" asks, and a value that rounds to zero has no sign.
// Transponders produce 29.4 to 435.9 MHz; the magnitude must be finite and below 1e15.
std::string frequencyText(double megahertz, std::string_view decimalSeparator);

} // namespace kestrova
