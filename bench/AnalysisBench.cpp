// SPDX-License-Identifier: GPL-3.0-or-later
// Tick bookings into one quote-table row: a refresh cycle books some thousand trades per
// stock, each parsing and formatting about a dozen cells.
#include <benchmark/benchmark.h>

#include "TradeFlow.h"
#include "pasCommon.h"

namespace {

struct Trade {
    const char* time;
    const char* side;
    float volume, price;
};

// Every class and side, spread over the day.
constexpr Trade kTrades[] = {
    {"0930", "B", 1000, 12.51f}, {"0947", "S", 300, 20.02f}, {"1005", "B", 80, 25.3f},
    {"1045", "S", 8, 12.25f},    {"1120", "S", 2000, 8.07f}, {"1301", "M", 400, 10.0f},
    {"1335", "S", 60, 50.5f},    {"1410", "B", 5, 3.75f},    {"1445", "B", 700, 10.01f},
    {"1459", "S", 1, 99.75f},
};
constexpr int kCycle = 3000;  // trades of one refresh cycle, after which the row is reset

void BM_AccumulateTrade(benchmark::State& state) {
    TextGrid grid(kQuoteColumnCount, kQuoteRowCount);
    const int row = kQuoteFirstDataRow;
    grid.setCell(15, row, "52000");
    int n = 0;
    for (auto _ : state) {
        if (n % kCycle == 0)
            for (int c = 42; c < kQuoteColumnCount; ++c) grid.setCell(c, row, "0");
        const Trade& t = kTrades[n % std::size(kTrades)];
        AccumulateTrade(t.time, t.side, row, grid, t.volume, t.price);
        ++n;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AccumulateTrade);

}  // namespace
