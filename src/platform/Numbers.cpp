// SPDX-License-Identifier: GPL-3.0-or-later
#include "Numbers.h"

#include <cassert>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace numbers {

std::string_view trim(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
    return text.substr(begin, end - begin);
}

std::string formatFixed(double value, int decimals) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    decimals = std::max(decimals, 0);

    // Shortest round-trip digits d.ddd e±x; rounding happens on these decimal digits.
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
    const std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
    const std::size_t ePos = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, ePos))
        if (c != '.') digits += c;
    int exponent = 0;
    std::from_chars(sci.data() + ePos + 1 + (sci[ePos + 1] == '+'), sci.data() + sci.size(), exponent);

    // digits holds the value as 0.DIGITS × 10^(exponent + 1).
    int intDigits = exponent + 1;
    const int keep = intDigits + decimals;
    if (keep < 0) {
        digits.clear();
    } else if (keep < static_cast<int>(digits.size())) {
        const bool roundUp = digits[static_cast<std::size_t>(keep)] >= '5';
        digits.resize(static_cast<std::size_t>(keep));
        if (roundUp) {
            int i = keep - 1;
            for (; i >= 0 && digits[static_cast<std::size_t>(i)] == '9'; --i) digits[static_cast<std::size_t>(i)] = '0';
            if (i >= 0) {
                ++digits[static_cast<std::size_t>(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++intDigits;
            }
        }
    }
    // Place the digits at their positions: intDigits before the point.
    std::string out;
    const auto digitAt = [&](int pos) {  // pos 0 = first digit of `digits`
        return pos >= 0 && pos < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(pos)] : '0';
    };
    if (intDigits <= 0) out += '0';
    for (int p = 0; p < intDigits; ++p) out += digitAt(p);
    if (decimals > 0) {
        out += '.';
        for (int d = 0; d < decimals; ++d) out += digitAt(intDigits + d);
    }
    if (value < 0 && out.find_first_not_of("0.") != std::string::npos) out.insert(out.begin(), '-');
    return out;
}

std::string formatFloat(std::string_view pattern, double value) {
    int decimals = 0;
    if (!pattern.empty() && pattern.front() == '%') {
        // "%0.2f", "%.02f": the number after the point is the precision.
        const std::size_t dot = pattern.find('.');
        assert(dot != std::string_view::npos && pattern.back() == 'f');
        if (dot != std::string_view::npos)
            std::from_chars(pattern.data() + dot + 1, pattern.data() + pattern.size(), decimals);
    } else {
        const std::size_t dot = pattern.find('.');
        if (dot != std::string_view::npos) decimals = static_cast<int>(pattern.size() - dot - 1);
    }
    return formatFixed(value, decimals);
}

std::string formatInt(std::string_view pattern, std::int64_t value) {
    int minDigits = 1;
    const std::size_t dot = pattern.find('.');
    if (dot != std::string_view::npos)
        std::from_chars(pattern.data() + dot + 1, pattern.data() + pattern.size(), minDigits);
    std::string digits = std::to_string(value < 0 ? -(value + 1) + 1ULL : static_cast<unsigned long long>(value));
    if (static_cast<int>(digits.size()) < minDigits)
        digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

namespace {

// Checks the number grammar and returns the text without a leading '+', or nothing.
std::optional<std::string_view> numberText(std::string_view text, bool allowFraction) {
    text = trim(text);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t signEnd = i;
    const auto digitsFrom = [&](std::size_t& at) {
        const std::size_t start = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
        return at - start;
    };
    std::size_t mantissaDigits = digitsFrom(i);
    if (allowFraction && i < text.size() && text[i] == '.') {
        ++i;
        mantissaDigits += digitsFrom(i);
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (allowFraction && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (digitsFrom(i) == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    return text[0] == '+' ? text.substr(signEnd) : text;
}

}  // namespace

std::optional<double> parseFloat(std::string_view text) {
    const auto number = numberText(text, true);
    if (!number) return std::nullopt;
    double value = 0;
    const auto res = std::from_chars(number->data(), number->data() + number->size(), value);
    if (res.ec != std::errc() || res.ptr != number->data() + number->size()) return std::nullopt;
    return value;
}

std::optional<std::int32_t> parseInt(std::string_view text) {
    const auto number = numberText(text, false);
    if (!number) return std::nullopt;
    std::int32_t value = 0;
    const auto res = std::from_chars(number->data(), number->data() + number->size(), value);
    if (res.ec != std::errc() || res.ptr != number->data() + number->size()) return std::nullopt;
    return value;
}

}  // namespace numbers
