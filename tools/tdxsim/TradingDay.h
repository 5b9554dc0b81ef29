// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "SyntheticMarket.h"

// The day of one stock or fund, drawn from its own seed so that any one security can be
// generated without the others.

// The highest and lowest price the day allows: previous close +-10 %, on the 0.01 grid.
std::int32_t upperLimit(std::int32_t prevClose);
std::int32_t lowerLimit(std::int32_t prevClose);

// Fills s.trades: the opening call at 09:25, continuous trading in both sessions with
// more trades near the opens and the close, a trade at 11:30:00 and the closing call at
// 15:00. Amounts cover all four order classes.
void generateTrades(Security& s, std::uint64_t seed);

// One bar per date, the last one ending at the previous close of today.
std::vector<DayBar> generateHistory(const Security& s, std::uint64_t seed, std::span<const std::uint32_t> dates);

// The weekdays before a yyyymmdd date, oldest first.
std::vector<std::uint32_t> tradingDaysBefore(int date, int count);
