// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// What a window's controls show besides grids, as plain values a model holds and a view
// draws: colours, panel captions, coloured text lines, chart items.

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

namespace palette {
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 128, 0};         // index quotes, bars
constexpr Rgb kBrightGreen{0, 255, 64};  // prices and signs
constexpr Rgb kLime{0, 255, 0};
constexpr Rgb kOlive{192, 192, 0};
constexpr Rgb kPurple{128, 0, 128};
constexpr Rgb kSilver{192, 192, 192};
}  // namespace palette

struct Panel {
    std::string caption;
    Rgb color = palette::kSilver;
};

struct ColoredLine {
    std::string text;
    Rgb color;
    bool operator==(const ColoredLine&) const = default;
};

// A pie slice or a bar.
struct ChartItem {
    double value = 0;
    std::string label;
    Rgb color;
    bool operator==(const ChartItem&) const = default;
};
