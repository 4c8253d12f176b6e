#include "util/Utility.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace md::util {

namespace {

// The value in fixed-point notation with `digits` places after the point, written from at most
// `precision` significant digits: rounded once, at whichever of the two limits comes first.
// Always "." as the separator, whatever the locale. Empty when the integer part alone needs more
// than `precision` digits (no fixed form exists then).
std::string fixedText(double value, int precision, int digits) {
    char buffer[512];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                   std::chars_format::scientific, precision - 1);
    if (ec != std::errc())
        return {};
    std::string sci(buffer, end);
    const auto ePos = sci.find('e');
    const int exponent = std::atoi(sci.c_str() + ePos + 1);
    if (exponent + 1 > precision)
        return {};

    if (exponent + 1 + digits <= precision) {
        // The decimal places are the tighter limit: round there.
        auto [fend, fec] =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, digits);
        if (fec != std::errc())
            return {};
        return std::string(buffer, fend);
    }

    // The significant digits are the tighter limit: lay the rounded digits out in fixed form
    // and fill the remaining places with zeros.
    const bool negative = sci.front() == '-';
    std::string mantissa;
    for (size_t i = negative ? 1 : 0; i < ePos; ++i) {
        if (sci[i] != '.')
            mantissa += sci[i];
    }
    std::string intPart;
    std::string fracPart;
    if (exponent >= 0) {
        intPart = mantissa.substr(0, static_cast<size_t>(exponent) + 1);
        fracPart = mantissa.substr(static_cast<size_t>(exponent) + 1);
    } else {
        intPart = "0";
        fracPart = std::string(static_cast<size_t>(-exponent - 1), '0') + mantissa;
    }
    fracPart.resize(static_cast<size_t>(digits), '0');
    return (negative ? "-" : "") + intPart + "." + fracPart;
}

// Adds one unit of the last digit to a decimal text "[-]ddd.ddd" (away from zero).
std::string addLastUnit(std::string text) {
    size_t i = text.size();
    while (i-- > 0) {
        char& c = text[i];
        if (c == '.')
            continue;
        if (c == '-')
            break;
        if (c < '9') {
            ++c;
            return text;
        }
        c = '0';
    }
    // Every digit carried: "9.99" becomes "10.00".
    text.insert(text.front() == '-' ? 1 : 0, 1, '1');
    return text;
}

double parse(const std::string& text) {
    double result = 0;
    std::from_chars(text.data(), text.data() + text.size(), result);
    return result == 0 ? 0.0 : result;  // no negative zero for a value cut to nothing
}

}  // namespace

double RoundHalfUp(int precision, int decimals, double value) {
    if (!std::isfinite(value) || decimals < 1 || precision < 1)
        return value;
    std::string s = fixedText(value, precision, decimals + 5);
    if (s.empty())
        return value;
    if (s.find('.') == std::string::npos)
        s += ".00";
    s += '0';
    const size_t point = s.find('.');
    s = s.substr(0, point + static_cast<size_t>(decimals) + 2);  // decimals + 1 places
    const std::string cut = s.substr(0, point + static_cast<size_t>(decimals) + 1);
    const bool roundUp = s.back() >= '5';
    return parse(roundUp ? addLastUnit(cut) : cut);
}

}  // namespace md::util
