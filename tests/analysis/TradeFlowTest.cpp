// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "Numbers.h"
#include "TradeFlow.h"
#include "pasCommon.h"

namespace {

constexpr int kRow = 2;

// Row 2 holds a stock of 50,000 × 10,000 float shares with its flow columns reset, as at the
// start of a refresh cycle.
TextGrid resetRow(const char* floatShares = "50000") {
    TextGrid grid(kQuoteColumnCount, kQuoteRowCount);
    grid.setCell(1, kRow, "600489");
    grid.setCell(15, kRow, floatShares);
    for (int c : {5, 6, 7}) grid.setCell(c, kRow, "0");
    for (int c = 42; c < kQuoteColumnCount; ++c) grid.setCell(c, kRow, "0");
    return grid;
}

// The cells of row 2 whose text differs, by column.
std::map<int, std::string> changes(const TextGrid& before, const TextGrid& after) {
    std::map<int, std::string> out;
    for (int c = 0; c < kQuoteColumnCount; ++c)
        if (before.cell(c, kRow) != after.cell(c, kRow)) out[c] = after.cell(c, kRow);
    return out;
}

double value(const TextGrid& grid, int column) {
    return numbers::parseFloat(grid.cell(column, kRow)).value();
}

int bucketColumn(int bucket) { return kQuoteBucketFirstColumn + kQuoteBucketWidth * bucket; }

}  // namespace

TEST(TradeFlow, ClassLimitsCompareSinglePrecisionAmounts) {
    const struct Case {
        float volume, price;
        const char* side;
        TradeClass expected;
    } cases[] = {
        {10, 100.0f, "B", TradeClass::Small},          // 100,000 exactly
        {3, 333.33334f, "S", TradeClass::Small},       // 100,000.003 in double, 100,000 in single
        {1, 1000.001f, "B", TradeClass::Medium},       // 100,000.1
        {50, 100.0f, "S", TradeClass::Medium},         // 500,000 exactly
        {50, 100.001f, "S", TradeClass::Large},        // 500,005
        {100, 100.0f, "B", TradeClass::Large},         // 1,000,000 exactly
        {100, 100.001f, "S", TradeClass::SuperLarge},  // 1,000,010
        {1000, 100.0f, "B", TradeClass::SuperLarge},   // 10,000,000
        {1000, 100.0f, "M", TradeClass::Neutral},      // any amount
    };
    for (const Case& c : cases) {
        TextGrid grid = resetRow();
        AccumulateTrade("0945", c.side, kRow, grid, c.volume, c.price);
        const float amount = c.volume * 100.0f * c.price;
        EXPECT_EQ(classifyTrade(c.side, amount), c.expected) << c.volume << " at " << c.price;
        const int k = static_cast<int>(c.expected);
        const int amountColumn = c.expected == TradeClass::Neutral ? 134 : (*c.side == 'B' ? 118 : 122) + k;
        EXPECT_EQ(grid.cell(amountColumn, kRow), numbers::formatFloat("0", amount))
            << c.volume << " at " << c.price;
        const bool big = c.expected == TradeClass::Large || c.expected == TradeClass::SuperLarge;
        EXPECT_EQ(grid.cell(51, kRow), big ? "1" : "0") << c.volume << " at " << c.price;
    }
}

TEST(TradeFlow, SellOfHundredLotsAtSixtyTouchesExactlyItsColumns) {
    for (const auto& [time, base] : {std::pair{"0945", 46}, std::pair{"1015", 52}}) {
        const TextGrid before = resetRow();
        TextGrid grid = before;
        AccumulateTrade(time, "S", kRow, grid, 100, 60.0f);
        const std::map<int, std::string> expected = {
            {5, "-60"},           {6, "-0.20"},          {7, "100.00"},         {42, "-600000"},
            {43, "-0.20"},        {44, "100.00"},        {base, "-600000"},     {base + 1, "-10000"},
            {base + 2, "-10000"}, {base + 3, "-600000"}, {base + 4, "-600000"}, {base + 5, "1"},
            {95, "-600000"},      {123, "600000"},       {131, "10000"},        {135, "1"},
        };
        EXPECT_EQ(changes(before, grid), expected) << time;
    }
}

TEST(TradeFlow, NeutralTradeChangesOnlyItsAmountCountAndDerivedColumns) {
    const TextGrid before = resetRow();
    TextGrid grid = before;
    AccumulateTrade("1400", "M", kRow, grid, 1000, 10.0f);
    const std::map<int, std::string> expected = {{6, "0.00"},  {7, "0.00"},      {43, "0.00"},
                                                 {44, "0.00"}, {134, "1000000"}, {135, "1"}};
    EXPECT_EQ(changes(before, grid), expected);
}

TEST(TradeFlow, TimeBuckets) {
    const struct Case {
        const char* time;
        std::optional<int> bucket;
    } cases[] = {
        {"0925", 0},        {"0959", 0}, {"1000", 1}, {"1029", 1},
        {"1030", 2},        {"1100", 3}, {"1130", 3},  // the morning's last trades
        {"1259", 3},        {"1300", 4}, {"1330", 5}, {"1400", 6},
        {"1429", 6},        {"1430", 7}, {"1500", 7}, {"9:45", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(TimeBucket(c.time), c.bucket) << c.time;
}

TEST(TradeFlow, DmdIsTheShareOfBigOrders) {
    TextGrid grid = resetRow();
    AccumulateTrade("0945", "B", kRow, grid, 1000, 10.0f);
    EXPECT_EQ(grid.cell(44, kRow), "100.00");
    AccumulateTrade("1330", "S", kRow, grid, 1, 10.0f);
    EXPECT_EQ(grid.cell(44, kRow), "50.00");
    EXPECT_EQ(grid.cell(7, kRow), "50.00");
    AccumulateTrade("1331", "M", kRow, grid, 1, 10.0f);
    EXPECT_EQ(grid.cell(44, kRow), "33.33");
}

TEST(TradeFlow, TradesThatCannotBeBookedChangeNothing) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct Case {
        const char* time;
        float volume, price;
    } cases[] = {{"0945", -1, 10.0f}, {"0945", 10, -0.01f}, {"0945", nan, 10.0f},
                 {"0945", 10, nan},   {"0945", inf, 10.0f}, {"9:45", 10, 10.0f}};
    for (const Case& c : cases) {
        const TextGrid before = resetRow();
        TextGrid grid = before;
        AccumulateTrade(c.time, "B", kRow, grid, c.volume, c.price);
        EXPECT_TRUE(changes(before, grid).empty()) << c.time << " " << c.volume << " at " << c.price;
    }
}

TEST(TradeFlow, WithoutFloatSharesDdxIsZeroAndTheBookingGoesOn) {
    for (const char* floatShares : {"", "0", "n/a"}) {
        TextGrid grid = resetRow(floatShares);
        AccumulateTrade("0945", "B", kRow, grid, 1000, 10.0f);
        AccumulateTrade("0946", "B", kRow, grid, 1000, 10.0f);
        EXPECT_EQ(grid.cell(43, kRow), "0.00") << floatShares;
        EXPECT_EQ(grid.cell(6, kRow), "0.00") << floatShares;
        EXPECT_EQ(grid.cell(44, kRow), "100.00") << floatShares;
        EXPECT_EQ(grid.cell(5, kRow), "200") << floatShares;
        EXPECT_EQ(grid.cell(127, kRow), "200000") << floatShares;  // large buys, in shares
        EXPECT_EQ(grid.cell(135, kRow), "2") << floatShares;
    }
}

TEST(TradeFlow, FlowColumnsKeepTheirInvariantsOverADay) {
    const struct Trade {
        const char* time;
        const char* side;
        float volume, price;
    } day[] = {
        {"0930", "B", 1000, 12.5f}, {"0931", "S", 300, 20.0f}, {"1005", "B", 80, 25.0f},
        {"1045", "S", 8, 12.25f},   {"1120", "S", 2000, 8.0f}, {"1130", "B", 150, 40.0f},
        {"1301", "M", 400, 10.0f},  {"1335", "S", 60, 50.0f},  {"1410", "B", 5, 3.75f},
        {"1445", "B", 700, 10.0f},  {"1500", "S", 1, 99.75f},  {"1455", "B", 0, 9.5f},
    };
    TextGrid grid = resetRow();
    for (const Trade& t : day) AccumulateTrade(t.time, t.side, kRow, grid, t.volume, t.price);

    EXPECT_EQ(grid.cell(42, kRow), "232100");
    EXPECT_EQ(grid.cell(5, kRow), numbers::formatFloat("0", value(grid, 42) / 10000));
    EXPECT_EQ(grid.cell(6, kRow), grid.cell(43, kRow));
    EXPECT_EQ(grid.cell(7, kRow), grid.cell(44, kRow));
    double buckets = 0, classes = 0;
    int bigOrders = 0;
    for (int b = 0; b < kQuoteBucketCount; ++b) {
        const int base = bucketColumn(b);
        buckets += value(grid, base);
        EXPECT_EQ(grid.cell(base + 1, kRow), grid.cell(base + 2, kRow)) << "bucket " << b;
        EXPECT_EQ(grid.cell(base + 3, kRow), grid.cell(base + 4, kRow)) << "bucket " << b;
        bigOrders += numbers::parseInt(grid.cell(base + 5, kRow)).value();
    }
    for (int k = 0; k < 4; ++k) {
        classes += value(grid, 94 + k);
        EXPECT_EQ(value(grid, 94 + k), value(grid, 118 + k) - value(grid, 122 + k)) << "class " << k;
    }
    EXPECT_EQ(buckets, value(grid, 42));
    EXPECT_EQ(classes, value(grid, 42));
    EXPECT_EQ(bigOrders, 5);
    EXPECT_EQ(grid.cell(135, kRow), "12");
    EXPECT_EQ(grid.cell(44, kRow), "41.67");
    EXPECT_EQ(grid.cell(43, kRow), "-0.90");  // (100,000 + 85,000 − 200,000 − 30,000) / 50,000
    EXPECT_EQ(grid.cell(134, kRow), "400000");
}
