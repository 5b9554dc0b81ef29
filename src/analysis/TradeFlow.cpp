// SPDX-License-Identifier: GPL-3.0-or-later
#include "TradeFlow.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "Numbers.h"
#include "TextGrid.h"
#include "pasCommon.h"

namespace {

constexpr int kFlowWanColumn = 5;
constexpr int kDdxShownColumn = 6;
constexpr int kDmdShownColumn = 7;
constexpr int kFloatSharesColumn = 15;
constexpr int kNetFlowColumn = 42;
constexpr int kDdxColumn = 43;
constexpr int kDmdColumn = 44;
constexpr int kClassNetColumn = 94;
constexpr int kBuyAmountColumn = 118;
constexpr int kSellAmountColumn = 122;
constexpr int kBuySharesColumn = 126;
constexpr int kSellSharesColumn = 130;
constexpr int kNeutralAmountColumn = 134;
constexpr int kTradeCountColumn = 135;
constexpr int kBigCountOffset = 5;  // within a bucket

// The sum is formed before it is written; only the read-back is single precision, as the
// stored texts are.
void addTo(TextGrid& grid, int column, int row, float delta) {
    grid.setCell(column, row,
                 numbers::formatFloat("0", static_cast<double>(CellFloat(grid, column, row)) + delta));
}

void countOne(TextGrid& grid, int column, int row) {
    grid.setCell(column, row, numbers::formatInt("%d", std::int64_t{CellInt(grid, column, row)} + 1));
}

}  // namespace

TradeClass classifyTrade(std::string_view side, float amount) {
    if (side != "B" && side != "S") return TradeClass::Neutral;
    if (amount <= 100000.0f) return TradeClass::Small;
    if (amount <= 500000.0f) return TradeClass::Medium;
    if (amount <= 1000000.0f) return TradeClass::Large;
    return TradeClass::SuperLarge;
}

std::optional<int> TimeBucket(std::string_view timeText) {
    const std::optional<std::int32_t> hhmm = numbers::parseInt(timeText);
    if (!hhmm) return std::nullopt;
    const std::int64_t t = std::int64_t{*hhmm} * 100;
    // The morning's last trades are stamped 11:30, so the bucket 11:00~11:30 runs to the
    // afternoon's opening; they do not belong to 14:30~15:00.
    constexpr std::int64_t kBucketEnds[kQuoteBucketCount - 1] = {100000, 103000, 110000, 130000,
                                                                 133000, 140000, 143000};
    int bucket = 0;
    while (bucket < kQuoteBucketCount - 1 && t >= kBucketEnds[bucket]) ++bucket;
    return bucket;
}

void AccumulateTrade(std::string_view timeText, std::string_view side, int row, TextGrid& grid, float volume,
                     float price) {
    const float shares = volume * 100.0f;
    const float amount = shares * price;
    if (shares < 0.0f || amount < 0.0f || !std::isfinite(amount)) return;
    const std::optional<int> bucket = TimeBucket(timeText);
    if (!bucket) return;

    const TradeClass tradeClass = classifyTrade(side, amount);
    if (tradeClass == TradeClass::Neutral) {
        addTo(grid, kNeutralAmountColumn, row, amount);
    } else {
        const bool buy = side == "B";
        const float signedAmount = buy ? amount : -amount;
        const float signedShares = buy ? shares : -shares;
        const int base = kQuoteBucketFirstColumn + kQuoteBucketWidth * *bucket;
        const int k = static_cast<int>(tradeClass);
        addTo(grid, kNetFlowColumn, row, signedAmount);
        addTo(grid, base, row, signedAmount);
        if (tradeClass == TradeClass::SuperLarge || tradeClass == TradeClass::Large) {
            addTo(grid, base + 1, row, signedShares);
            addTo(grid, base + 2, row, signedShares);
            addTo(grid, base + 3, row, signedAmount);
            addTo(grid, base + 4, row, signedAmount);
            countOne(grid, base + kBigCountOffset, row);
        }
        addTo(grid, kClassNetColumn + k, row, signedAmount);
        addTo(grid, (buy ? kBuyAmountColumn : kSellAmountColumn) + k, row, amount);
        addTo(grid, (buy ? kBuySharesColumn : kSellSharesColumn) + k, row, shares);
    }
    countOne(grid, kTradeCountColumn, row);

    // DDX: net big-order buying in shares per 10,000 float shares. A stock without float-share
    // data has no base for it; "0.00" keeps the column a number for the sorts that read it.
    const float floatShares = CellFloat(grid, kFloatSharesColumn, row);
    const double bigNetShares = static_cast<double>(CellFloat(grid, kBuySharesColumn, row)) +
                                CellFloat(grid, kBuySharesColumn + 1, row) -
                                CellFloat(grid, kSellSharesColumn, row) -
                                CellFloat(grid, kSellSharesColumn + 1, row);
    const std::string ddx =
        floatShares > 0.0f ? numbers::formatFloat("0.00", bigNetShares / floatShares) : "0.00";
    grid.setCell(kDdxColumn, row, ddx);
    grid.setCell(kDdxShownColumn, row, ddx);

    // DMD: the share of big orders among all trades, in percent; 100 when every trade was big.
    std::int64_t bigCount = 0;
    for (int b = 0; b < kQuoteBucketCount; ++b)
        bigCount += CellInt(grid, kQuoteBucketFirstColumn + kQuoteBucketWidth * b + kBigCountOffset, row);
    const std::int32_t tradeCount = CellInt(grid, kTradeCountColumn, row);
    const std::string dmd =
        tradeCount > 0 ? numbers::formatFloat("0.00", static_cast<double>(bigCount) * 100.0 / tradeCount)
                       : "0.00";
    grid.setCell(kDmdColumn, row, dmd);
    grid.setCell(kDmdShownColumn, row, dmd);

    grid.setCell(kFlowWanColumn, row,
                 numbers::formatFloat("0", CellFloat(grid, kNetFlowColumn, row) / 10000.0));
}
