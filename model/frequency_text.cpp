// Locale-free formatting: std::to_chars is correctly rounded and ignores the C locale, which
// the GUI toolkits set from the user's environment.
#include "frequency_text.h"

#include <charconv>
#include <cmath>

namespace kestrova {

std::string frequencyText(double megahertz, std::string_view decimalSeparator) {
    if (std::isnan(megahertz)) {
        return "NaN";
    }
    if (std::isinf(megahertz)) {
        return megahertz > 0 ? "Infinity" : "-Infinity";
    }

    // The largest double has 309 integer digits; sign, point and decimals fit in the rest.
    char digits[330];
    const auto [end, error] =
        std::to_chars(digits, digits + sizeof digits, megahertz, std::chars_format::fixed, 3);
    if (error != std::errc{}) {
        return "NaN";
    }

    std::string_view number(digits, static_cast<std::size_t>(end - digits));
    std::string_view sign;
    if (number.front() == '-') {
        sign = number.substr(0, 1);
        number.remove_prefix(1);
    }
    const std::size_t point = number.size() - 4;
    std::string_view integerPart = number.substr(0, point);
    const std::string_view decimals = number.substr(point + 1);
    if (integerPart == "0") {
        integerPart = {};
        if (decimals == "000") {
            sign = {}; // a value that rounds to zero has no sign
        }
    }

    std::string text;
    text.reserve(sign.size() + integerPart.size() + decimalSeparator.size() + decimals.size());
    text.append(sign).append(integerPart).append(decimalSeparator).append(decimals);
    return text;
}

} // namespace kestrova
