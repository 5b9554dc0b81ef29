// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

class TextGrid;

// The classification of tick trades and their booking into the flow columns of a row of
// a quote-table-layout grid (the quote table, or the replay table). GUI thread only.

// In the order of the class columns: net 94..97, buy and sell amounts 118.. and 122..,
// buy and sell shares 126.. and 130...
enum class TradeClass { SuperLarge, Large, Medium, Small, Neutral };

// A trade of `amount` yuan: neutral unless the side is "B" or "S", then small up to
// 100,000, medium up to 500,000, large up to 1,000,000, super-large above.
TradeClass classifyTrade(std::string_view side, float amount);

// The half-hour bucket 0..7 of a time text of four digits, hours then minutes; nothing
// when the text is no whole number. Trades before 10:00 count to the first bucket, those
// stamped 11:30 (and any in the lunch break) to 11:00~11:30, those from 14:30 on to the last.
std::optional<int> TimeBucket(std::string_view timeText);

// Books one trade of `volume` lots at `price` yuan on side "B", "S" or "M" into the class,
// bucket and big-order columns of `row`, then recomputes DDX, DMD and the net flow in
// ten-thousand yuan. A trade with a negative share count or amount, an amount that is no
// finite number, or a time that is no number books nothing.
void AccumulateTrade(std::string_view timeText, std::string_view side, int row, TextGrid& grid, float volume,
                     float price);
