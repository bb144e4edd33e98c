#include "sim/base/PlainDecimal.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

std::string plainDecimal(double value, int significantDigits) {
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-inf" : "inf";
    }
    const std::string sign = std::signbit(value) ? "-" : "";
    if (value == 0) {
        return sign + "0";
    }
    significantDigits = std::clamp(significantDigits, 1, 17);

    // Scientific notation rounds to the wanted digits exactly as the stream's
    // general notation does, and hands over the digits and the exponent apart.
    char scientific[64];
    const auto written = std::to_chars(scientific, scientific + sizeof scientific, std::fabs(value),
                                       std::chars_format::scientific, significantDigits - 1);
    const std::string text(scientific, written.ptr);
    const std::size_t exponentAt = text.find('e');
    std::string digits;
    for (std::size_t i = 0; i < exponentAt; ++i) {
        if (text[i] != '.') {
            digits += text[i];
        }
    }
    const int exponent = std::atoi(text.c_str() + exponentAt + 1);
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }

    std::string whole;
    std::string fraction;
    if (exponent >= 0) {
        const std::size_t wholeLength = static_cast<std::size_t>(exponent) + 1;
        whole = digits.substr(0, std::min(wholeLength, digits.size()));
        whole.append(wholeLength - whole.size(), '0');
        if (digits.size() > wholeLength) {
            fraction = digits.substr(wholeLength);
        }
    } else {
        whole = "0";
        fraction = std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    return sign + whole + (fraction.empty() ? "" : "." + fraction);
}
