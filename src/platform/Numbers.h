// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Number text in the program's own formats, the same whatever the user's locale:
// '.' is the decimal separator, there are no thousands separators.
namespace numbers {

// Bytes up to and including blank (tabs, CR, LF, other control bytes) cut from both ends.
std::string_view trim(std::string_view text);

// Fixed-point text with `decimals` decimals, rounded half away from zero on the
// shortest decimal form of the value (so 2.675 gives "2.68"). A value that rounds to
// zero has no minus sign. NaN and infinities give "NAN", "INF" and "-INF".
std::string formatFixed(double value, int decimals);

// The patterns of the columns: "0", "0.0", "0.00", "0.000" and "%0.2f" / "%.02f"
// (fixed point with that many decimals).
std::string formatFloat(std::string_view pattern, double value);

// "%d", or "%.0Nd" for at least N digits with leading zeros ("%.02d" of 5 is "05").
std::string formatInt(std::string_view pattern, std::int64_t value);

// The whole trimmed text must be a decimal number: optional sign, digits with an
// optional '.', optional exponent. Anything else (empty, "1,5", "inf", "0x10",
// out of range) gives no value, so failure is told from zero.
std::optional<double> parseFloat(std::string_view text);

// The whole trimmed text must be an optionally signed decimal integer within 32 bits.
std::optional<std::int32_t> parseInt(std::string_view text);

}  // namespace numbers
