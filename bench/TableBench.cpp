// SPDX-License-Identifier: GPL-3.0-or-later
// Table files of a whole market (5000 rows of the 136 quote columns) and the cell
// read/write path every handler takes.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "Numbers.h"
#include "TableFile.h"
#include "pasCommon.h"

namespace {

TextGrid marketTable() {
    TextGrid grid(kQuoteColumnCount, 5000);
    for (int r = 0; r < grid.rowCount(); ++r) {
        grid.setCell(1, r, numbers::formatInt("%d", 600000 + r));
        grid.setCell(2, r, "中金黄金");
        for (int c = 3; c < grid.columnCount(); ++c)
            grid.setCell(c, r, numbers::formatFixed((r * 131 + c * 17) % 100000 / 7.0, c % 3));
    }
    return grid;
}

void BM_TableFileSave(benchmark::State& state) {
    const TextGrid grid = marketTable();
    QTemporaryDir dir;
    const std::filesystem::path file = dir.filePath(QStringLiteral("t.bin")).toStdString();
    for (auto _ : state) {
        if (!writeTableFile(grid, file).isOk()) state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(serializeTableFile(grid).size()));
}
BENCHMARK(BM_TableFileSave)->Unit(benchmark::kMillisecond);

void BM_TableFileLoad(benchmark::State& state) {
    QTemporaryDir dir;
    const std::filesystem::path file = dir.filePath(QStringLiteral("t.bin")).toStdString();
    const TextGrid source = marketTable();
    writeTableFile(source, file);
    TextGrid grid(0, 0);
    for (auto _ : state) {
        if (!readTableFile(file, grid).isOk()) state.SkipWithError("read failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(serializeTableFile(source).size()));
}
BENCHMARK(BM_TableFileLoad)->Unit(benchmark::kMillisecond);

// One booking step: read a cell with CellFloat, add, write it back formatted.
void BM_CellFloatRoundTrip(benchmark::State& state) {
    TextGrid grid(kQuoteColumnCount, 1);
    for (int c = 0; c < grid.columnCount(); ++c) grid.setCell(c, 0, "123456.78");
    int c = 0;
    for (auto _ : state) {
        const float v = CellFloat(grid, c, 0);
        grid.setCell(c, 0, numbers::formatFloat("0.00", v + 1.25));
        c = (c + 1) % kQuoteColumnCount;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CellFloatRoundTrip);

}  // namespace
