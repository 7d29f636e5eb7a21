// Locale-free formatting in integer arithmetic, correctly rounded. The C library's printf
// follows the C locale, which the GUI toolkits set from the user's environment.
#include "frequency_text.h"

#include <cmath>
#include <cstdint>

namespace kestrova {

std::string frequencyText(double megahertz, std::string_view decimalSeparator) {
    const double magnitude = std::fabs(megahertz);
    // magnitude = mantissa * 2^-shift exactly, with a 53-bit mantissa; times 1000 it still
    // fits 64 bits, so the thousandths and the rounding come out exact.
    int exponent = 0;
    const double fraction = std::frexp(magnitude, &exponent);
    const auto scaled = static_cast<std::uint64_t>(std::ldexp(fraction, 53)) * 1000;
    const int shift = 53 - exponent; // at least 3 below 1e15
    std::uint64_t thousandths = 0;
    if (shift < 64) {
        thousandths = scaled >> shift;
        const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        if (rest > half || (rest == half && (thousandths & 1) != 0)) {
            ++thousandths;
        }
    }

    std::string text;
    if (std::signbit(megahertz) && thousandths != 0) {
        text += '-';
    }
    if (thousandths >= 1000) {
        text += std::to_string(thousandths / 1000);
    }
    text.append(decimalSeparator);
    return text + std::to_string(1000 + thousandths % 1000).substr(1); // three digits
}

} // namespace kestrova
