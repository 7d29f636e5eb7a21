// Locale-free formatting, correctly rounded. The C library's printf follows the C locale,
// which the GUI toolkits set from the user's environment, so it is not used here.
#include "frequency_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace kestrova {
namespace {

// The value in whole thousandths, correctly rounded, from one multiplication where that is
// exact enough. The product lies within 2^-53 of its size from value * 1000, so unless its
// fraction is that close to one half, it rounds the same way as the exact product. Display
// values (whole kHz in MHz) are never close to a half and always take this path.
bool roundToThousandths(double value, std::uint64_t& thousandths) {
    const double magnitude = std::fabs(value);
    if (!(magnitude < 1e12)) {
        return false;
    }
    const double scaled = magnitude * 1000.0;
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole; // exact
    if (std::fabs(fraction - 0.5) <= scaled * 0x1p-50) {
        return false;
    }
    thousandths = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    return true;
}

// Writes "#.000" from a sign, integer digits and three decimals.
std::string assemble(bool negative, std::string_view integerPart, std::string_view decimals,
                     std::string_view separator) {
    if (integerPart == "0") {
        integerPart = {}; // "#" writes no digit for a zero integer part
        if (decimals == "000") {
            negative = false; // a value that rounds to zero has no sign
        }
    }
    std::string text;
    text.reserve(1 + integerPart.size() + separator.size() + decimals.size());
    if (negative) {
        text += '-';
    }
    text.append(integerPart).append(separator).append(decimals);
    return text;
}

} // namespace

std::string frequencyText(double megahertz, std::string_view decimalSeparator) {
    if (std::isnan(megahertz)) {
        return "NaN";
    }
    if (std::isinf(megahertz)) {
        return megahertz > 0 ? "Infinity" : "-Infinity";
    }

    // The largest double has 309 integer digits; sign, point and decimals fit in the rest.
    char digits[330];
    std::uint64_t thousandths = 0;
    if (decimalSeparator.size() <= 8 && roundToThousandths(megahertz, thousandths)) {
        // Written backwards into one buffer: decimals, separator, integer digits, sign.
        char text[40];
        char* first = text + sizeof text;
        for (int i = 0; i < 3; ++i) {
            *--first = static_cast<char>('0' + thousandths % 10);
            thousandths /= 10;
        }
        first -= decimalSeparator.size();
        decimalSeparator.copy(first, decimalSeparator.size());
        const bool hasIntegerPart = thousandths != 0; // "#" writes no digit for zero
        for (; thousandths != 0; thousandths /= 10) {
            *--first = static_cast<char>('0' + thousandths % 10);
        }
        // A value that rounds to zero has no sign.
        const bool roundsToZero =
            !hasIntegerPart && std::string_view(text + sizeof text - 3, 3) == "000";
        if (std::signbit(megahertz) && !roundsToZero) {
            *--first = '-';
        }
        return std::string(first, static_cast<std::size_t>(text + sizeof text - first));
    }

    const auto [end, error] =
        std::to_chars(digits, digits + sizeof digits, megahertz, std::chars_format::fixed, 3);
    if (error != std::errc{}) {
        return "NaN";
    }
    std::string_view number(digits, static_cast<std::size_t>(end - digits));
    const bool negative = number.front() == '-';
    if (negative) {
        number.remove_prefix(1);
    }
    const std::size_t point = number.size() - 4;
    return assemble(negative, number.substr(0, point), number.substr(point + 1), decimalSeparator);
}

} // namespace kestrova
