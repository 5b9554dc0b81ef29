// SPDX-License-Identifier: GPL-3.0-or-later
// The day-data download: day files written per second for the whole sample market from
// tdxsim over loopback, and opening a day file with its three column arrays.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <thread>

#include "DataDLModel.h"
#include "FileIo.h"
#include "MainModel.h"
#include "SampleData.h"
#include "Server.h"
#include "StockFile.h"
#include "StockModel.h"
#include "usockTDXManager.h"

namespace {

QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "day_download_bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// Requests go out as soon as each reply is in, not on the window's 100 ms beat, which
// alone would hold a download to ten files a second.
void BM_DayFilesOverLoopback(benchmark::State& state) {
    application();
    const SyntheticMarket market(1, 20261211);
    const Responder responder(market);
    Server server(responder, SimClock::at(Responder::kAfterClose), FaultModes{});
    QTemporaryDir folder;
    const std::filesystem::path root = folder.path().toStdString();
    if (!server.listen("127.0.0.1", 0).isOk() || !WriteSampleData(market, root).isOk()) {
        state.SkipWithError("no server or no sample data");
        return;
    }
    std::thread accepting([&] { server.run(); });

    MainModel model;
    model.InitTables(140, [](std::string_view t) { return static_cast<int>(t.size()) * 7; });
    TfrmStockModel directory(root);
    (void)directory.btnLoadClick(model.quote);
    TTDXManager client;
    client.Port = server.port();
    int answered = 0;
    client.OnAfterReadData = [&](int) { ++answered; };
    TfrmDataDLModel download(root, directory.SGStock, directory.index, model.DayDownloadRunning);
    client.OnDecodePacket_DAYS = [&](TCallBackStockInfo& info, std::span<const TTDX_DAYInfo> days, int, int) {
        download.TDXDecodePacket_DAYS(info, days);
    };
    if (!client.Connect()) state.SkipWithError("connect failed");
    std::int64_t files = 0;
    for (auto _ : state) {
        const int target = answered + download.btnDownLDClick(client);
        while (answered < target && client.Connected()) {
            if (!client.Busy()) client.Run();
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        files += download.ReplyCounter;
    }
    client.Disconnect();
    server.stop();
    accepting.join();
    state.SetItemsProcessed(files);
    state.SetLabel("day files");
}
BENCHMARK(BM_DayFilesOverLoopback)->Unit(benchmark::kSecond)->Iterations(2)->UseRealTime();

void BM_DataFileOpenAndColumns(benchmark::State& state) {
    QTemporaryDir folder;
    const std::string file = (folder.path() + QStringLiteral("/600489.dat")).toStdString();
    std::string bytes;
    for (int i = 0; i < 5000; ++i) {
        DayRecord r{};
        r.Date = 40000 + i;
        r.Open = r.High = r.Low = r.Close = 10.0f + static_cast<float>(i % 100) / 100;
        r.Volume = static_cast<float>(1000 + i);
        bytes.append(reinterpret_cast<const char*>(&r), sizeof r);
    }
    if (!fileio::writeFileAtomically(file, bytes).isOk()) state.SkipWithError("cannot write");
    TArrayOfSingle close, volume, diff;
    for (auto _ : state) {
        const auto f = std::make_shared<TDataFile>(file);
        f->GetCloseArray(close);
        f->GetVolumeArray(volume);
        f->GetCloseDiffArray(diff);
        benchmark::DoNotOptimize(diff.data());
    }
    state.SetItemsProcessed(state.iterations() * 5000);
    state.SetLabel("5000 records");
}
BENCHMARK(BM_DataFileOpenAndColumns)->Unit(benchmark::kMicrosecond);

}  // namespace
