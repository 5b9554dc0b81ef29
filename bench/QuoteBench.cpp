// SPDX-License-Identifier: GPL-3.0-or-later
// Reply decoding of the two busiest replies, and requests answered over loopback.
#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include "../tests/support/ReplyFrames.h"
#include "../tests/support/ScriptedServer.h"
#include "TDXEDCode.h"
#include "usockTDXManager.h"

namespace {

Bytes snapshotEntry(unsigned i) {
    const std::string code = std::to_string(600000 + i);
    Bytes e{1};
    e.insert(e.end(), code.begin(), code.end());
    const Bytes rest = {0x00, 0x00, 0x81, 0x10, 0x59, 0x00, 0x0A, 0x45, 0xB3, 0x86, 0x05, 0x00, 0xA8, 0x0F, 0x05, 0x00,
                        0x00, 0x00, 0x00, 0x90, 0x06, 0x98, 0x09, 0x00, 0x00};
    e.insert(e.end(), rest.begin(), rest.end());
    for (int L = 0; L < 5; ++L) e.insert(e.end(), {0x41, 0x01, 0x8A, 0x01, 0x94, 0x02});
    e.insert(e.end(), {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00});
    return e;
}

void decodeBench(benchmark::State& state, const Bytes& frame, const TTDX_MSG& cur) {
    MarketDirectories dirs;
    std::uint32_t stockCount[2] = {0, 0};
    TDXDecodeEvents events;
    std::size_t records = 0;
    events.OnDecodePacket_PKDAT = [&](std::span<const TTDX_PKDAT> d, int) { records += d.size(); };
    events.OnDecodePacket_DEALS = [&](TCallBackStockInfo&, std::span<const TTDX_DEALInfo> d, int, int) {
        records += d.size();
    };
    Bytes area(kBodyCapacity);
    ReplyContext ctx{dirs, stockCount, events, nullptr, area};
    for (auto _ : state) benchmark::DoNotOptimize(DecodeReply(frame, cur, ctx));
    state.SetItemsProcessed(static_cast<int64_t>(records));
}

void BM_DecodeSnapshotReply80(benchmark::State& state) {
    Bytes body{0, 0, 80, 0};
    for (unsigned i = 0; i < 80; ++i) {
        const Bytes e = snapshotEntry(i);
        body.insert(body.end(), e.begin(), e.end());
    }
    decodeBench(state, replyFrame(body, true), {CMD_PKDAT, "", 0, 0, 0});
}
BENCHMARK(BM_DecodeSnapshotReply80);

void BM_DecodeTickReply2000(benchmark::State& state) {
    Bytes body;
    putU16(body, 2000);
    for (int i = 0; i < 2000; ++i) {
        putU16(body, 570 + i / 10);
        body.insert(body.end(), {static_cast<std::uint8_t>(i % 2 ? 0x41 : 0x01), 0x90, 0x06, 0x05,
                                 static_cast<std::uint8_t>(i % 3), 0x00});
    }
    body[2 + 2] = 0x81;  // a first price of 1025, then steps of one
    body.insert(body.begin() + 5, 0x10);
    decodeBench(state, replyFrame(body, true), {CMD_DEALS, "000001", 0, 0, 2000});
}
BENCHMARK(BM_DecodeTickReply2000);

// Requests answered per second: Run is called as fast as replies come back, without
// the 100 ms timer.
void BM_RequestsOverLoopback(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "quote_bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    const Bytes reply = replyFrame({0, 0, 0});
    ScriptedServer server([&](ScriptedServer& s, const Bytes&) { s.reply(reply); });
    TTDXManager client;
    client.Port = server.port();
    int answered = 0;
    client.OnAfterReadData = [&](int) { ++answered; };
    if (!client.Connect()) state.SkipWithError("connect failed");
    for (auto _ : state) {
        const int target = answered + 1;
        client.Request_DEALS("000001", 0, 0, 2000);
        client.Run();
        while (answered < target) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    state.SetItemsProcessed(answered);
}
BENCHMARK(BM_RequestsOverLoopback)->UseRealTime();

}  // namespace
