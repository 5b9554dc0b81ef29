// SPDX-License-Identifier: GPL-3.0-or-later
// tdxsim: how long a market of the real size takes to come up, and how many replies one
// client is served per second over loopback.
#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "Server.h"
#include "SocketIo.h"
#include "TDXEDCode.h"

namespace {

const SyntheticMarket& market() {
    static const SyntheticMarket m(1, 20261211);
    return m;
}

std::string snapshotList() {
    std::string codes;
    int n = 0;
    for (const Security& s : market().securities(1))
        if (s.kind == SecurityKind::Stock && n++ < 80) codes += s.code + "SH,";
    return codes;
}

// The requests of one kind, as the client sends them.
Frame requestOf(int kind) {
    switch (kind) {
        case 0: return Frame_INITMARKET(0, 1000);
        case 1: return Frame_PK(snapshotList(), MarketDirectories());
        case 2: return Frame_PK("999999SH,000300SH,399001SZ,399005SZ,399006SZ", MarketDirectories());
        case 3: return Frame_MINS("600489", 1, 0);
        case 4: return Frame_DAYS("600489", 1, 0, 100);
        default: return Frame_DEALS("600489", 1, 0, 2000);
    }
}

const char* const kKinds[] = {"directory batch", "80 snapshots", "5 index snapshots", "240 minutes", "100 days",
                              "2000 trades"};

void BM_MarketStartUp(benchmark::State& state) {
    for (auto _ : state) {
        const SyntheticMarket m(1, 20261211);
        benchmark::DoNotOptimize(m.directory(0).data());
    }
}
BENCHMARK(BM_MarketStartUp)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_BuildReply(benchmark::State& state) {
    const Responder responder(market());
    const Frame request = requestOf(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(responder.reply(request, 14 * 3600 + 30 * 60));
    state.SetLabel(kKinds[state.range(0)]);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BuildReply)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

void BM_RepliesOverLoopback(benchmark::State& state) {
    const Responder responder(market());
    Server server(responder, SimClock::at(14 * 3600 + 30 * 60), FaultModes{});
    if (!server.listen("127.0.0.1", 0).isOk()) {
        state.SkipWithError("cannot listen");
        return;
    }
    std::thread accepting([&] { server.run(); });
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(server.port()));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const Frame request = requestOf(static_cast<int>(state.range(0)));
    Bytes reply(16 + 65536);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) state.SkipWithError("cannot connect");
    std::size_t bytes = 0;
    for (auto _ : state) {
        if (!socketio::writeAll(fd, request.data(), request.size()).isOk() ||
            !socketio::readExactly(fd, reply.data(), 16).isOk()) {
            state.SkipWithError("connection lost");
            break;
        }
        const std::size_t length = reply[12] | (reply[13] << 8);
        if (!socketio::readExactly(fd, reply.data() + 16, length).isOk()) break;
        bytes += 16 + length;
    }
    ::close(fd);
    server.stop();
    accepting.join();
    state.SetLabel(kKinds[state.range(0)]);
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_RepliesOverLoopback)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
