// SPDX-License-Identifier: GPL-3.0-or-later
// One tick refresh cycle of the main window's model: five watch-list rows, each booking
// the latest 6000 trades of its stock from three replies of 2000 (the waits between the
// stocks left out).
#include <benchmark/benchmark.h>

#include <cstring>

#include "SyntheticMarket.h"
#include "MainModel.h"

namespace {

struct Stock {
    TCallBackStockInfo info{};
    std::vector<TTDX_DEALInfo> replies[3];
};

std::vector<Stock> watchListTrades() {
    static const SyntheticMarket market(1, 20261211);
    std::vector<Stock> stocks;
    for (const auto& [m, code] : {std::pair{0, "002155"}, {1, "600489"}, {1, "600030"}, {1, "600111"}, {0, "000630"}}) {
        const Security& s = *market.find(m, code);
        Stock stock;
        std::memcpy(stock.info.Code, code, 6);
        const auto trades = market.tradesUntil(s, 24 * 3600 - 1);
        const std::size_t first = trades.size() - 6000;
        for (std::size_t i = 0; i < 6000; ++i) {
            const Trade& t = trades[first + i];
            TTDX_DEALInfo d{};
            d.Time = static_cast<std::uint16_t>(t.second / 60);
            d.Price = t.price * 10;
            d.Volume = t.volume;
            d.Side = t.side;
            stock.replies[i / 2000].push_back(d);
        }
        stocks.push_back(std::move(stock));
    }
    return stocks;
}

void BM_TickRefreshCycle(benchmark::State& state) {
    const std::vector<Stock> stocks = watchListTrades();
    MainModel model;
    model.InitTables(140, [](std::string_view t) { return static_cast<int>(t.size()) * 7; });
    for (int k = 0; k < 5; ++k) {
        const int row = kQuoteFirstDataRow + k;
        model.quote.SGStock.setCell(1, row, std::string(stocks[k].info.Code, 6));
        model.quote.SGStock.setCell(15, row, "50000");
    }
    model.quote.CurrentCode = "002155";
    for (auto _ : state) {
        for (int k = 0; k < 5; ++k) {
            model.quote.SGStock.setCell(41, kQuoteFirstDataRow + k, "0");
            for (const auto& reply : stocks[k].replies)
                model.TDXDecodePacket_DEALS(stocks[k].info, reply, 0, static_cast<int>(reply.size()));
        }
    }
    state.SetItemsProcessed(state.iterations() * 5 * 6000);
}
BENCHMARK(BM_TickRefreshCycle)->Unit(benchmark::kMillisecond);

}  // namespace
