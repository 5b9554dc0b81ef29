// SPDX-License-Identifier: GPL-3.0-or-later
// The quote client against the real tdxsim program: a healthy server, and each fault mode.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QElapsedTimer>

#include <numeric>
#include <thread>

#include "../support/ScriptedServer.h"
#include "../support/TdxsimProcess.h"
#include "Responder.h"
#include "SocketIo.h"
#include "TDXAsm.h"
#include "usockTDXManager.h"

namespace {

// Sends raw request frames one after the other and collects the replies' bytes.
std::vector<Bytes> exchange(int port, const std::vector<Frame>& requests) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::vector<Bytes> replies;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
        for (const Frame& request : requests) {
            Bytes reply(16);
            if (!socketio::writeAll(fd, request.data(), request.size()).isOk() ||
                !socketio::readExactly(fd, reply.data(), 16).isOk())
                break;
            reply.resize(16 + (reply[12] | (reply[13] << 8)));
            if (!socketio::readExactly(fd, reply.data() + 16, reply.size() - 16).isOk()) break;
            replies.push_back(std::move(reply));
        }
    }
    ::close(fd);
    return replies;
}

// A client whose events are counted, and which asks for both directories.
struct WatchedClient {
    TTDXManager client;
    int directories[2] = {-1, -1};
    int batches = 0;
    int losses = 0;

    explicit WatchedClient(int port) {
        TDXDirectories().clear();
        client.Port = port;
        client.OnDecodePacket_INITMARKET = [this](std::span<const TTDX_STOCKINFO>, std::uint8_t market, int n) {
            directories[market & 1] = n;
        };
        client.OnAfterReadData = [this](int) { ++batches; };
        client.OnDisConnected = [this] { ++losses; };
    }
    // Runs the queue like the client's 100 ms timer, but without the wait; nothing more
    // is sent once `done` holds.
    bool runUntil(const std::function<bool()>& done, int ms) {
        return pumpUntil([&] {
            if (done()) return true;
            client.Run();
            return false;
        }, ms);
    }
};

}  // namespace

TEST(TdxsimClient, DecodesADayThatAgreesWithTheGroundTruth) {
    TdxsimProcess server({QStringLiteral("--at"), QStringLiteral("14:30")});
    ASSERT_GT(server.port(), 0);
    const SyntheticMarket expected(1, 20261211);
    WatchedClient w(server.port());
    ASSERT_TRUE(w.client.Connect());
    w.client.Request_INITMARKET(0);
    w.client.Request_INITMARKET(1);
    ASSERT_TRUE(w.runUntil([&] { return w.directories[0] >= 0 && w.directories[1] >= 0; }, 10000));
    EXPECT_EQ(w.directories[0], static_cast<int>(expected.directory(0).size()));
    EXPECT_EQ(w.directories[1], static_cast<int>(expected.directory(1).size()));
    EXPECT_GE(w.batches, 6) << "more than one batch per market";
    EXPECT_EQ(TDXDirectories().StockName("600489", 1), "中金黄金");

    std::vector<TTDX_DEALInfo> deals;
    int tickReplies = 0;
    w.client.OnDecodePacket_DEALS = [&](TCallBackStockInfo&, std::span<const TTDX_DEALInfo> d, int, int) {
        deals.insert(deals.end(), d.begin(), d.end());
        ++tickReplies;
    };
    TTDX_PKDAT snapshot{};
    w.client.OnDecodePacket_PKDAT = [&](std::span<const TTDX_PKDAT> d, int) {
        if (!d.empty()) snapshot = d[0];
    };
    std::vector<TTDX_MIN> minutes;
    w.client.OnDecodePacket_MINS = [&](TCallBackStockInfo&, std::span<const TTDX_MIN> d, int, int) {
        minutes.assign(d.begin(), d.end());
    };
    std::vector<TTDX_DAYInfo> days;
    w.client.OnDecodePacket_DAYS = [&](TCallBackStockInfo&, std::span<const TTDX_DAYInfo> d, int, int) {
        days.assign(d.begin(), d.end());
    };
    w.client.Request_DEALS("600489", 1, 4000, 6000);
    w.client.Request_DEALS("600489", 1, 2000, 4000);
    w.client.Request_DEALS("600489", 1, 0, 2000);
    w.client.Request_PKDAT("600489SH");
    w.client.Request_MINS("600489SH", 1, 0);
    w.client.Request_DAYS("600489SH", 1, 0, 100);
    ASSERT_TRUE(w.runUntil([&] { return tickReplies == 3 && !days.empty(); }, 10000));

    const std::vector<GroundTruthTrade> truth = groundTruth("600489", "14:30");
    ASSERT_GT(truth.size(), 6000u);
    ASSERT_EQ(deals.size(), 6000u);
    for (std::size_t i = 0; i < deals.size(); ++i) {
        const GroundTruthTrade& t = truth[truth.size() - 6000 + i];
        ASSERT_EQ(+deals[i].Time, t.second / 60) << i;
        ASSERT_EQ(+deals[i].Price, t.price) << i;
        ASSERT_EQ(+deals[i].Volume, t.volume) << i;
        ASSERT_EQ(+deals[i].Num, t.num) << i;
        ASSERT_EQ(+deals[i].Side, t.side) << i;
    }
    const auto volumeOf = [&](int side) {
        return std::accumulate(truth.begin(), truth.end(), std::int64_t{0}, [&](std::int64_t v, const GroundTruthTrade& t) {
            return v + (side < 0 || t.side == side ? t.volume : 0);
        });
    };
    EXPECT_EQ(+snapshot.Volume, volumeOf(-1));
    EXPECT_EQ(+snapshot.OuterVolume, volumeOf(0));
    EXPECT_EQ(+snapshot.InnerVolume, volumeOf(1));
    EXPECT_FLOAT_EQ(snapshot.Price, static_cast<float>(truth.back().price / 1000.0));

    ASSERT_EQ(minutes.size(), 240u);
    EXPECT_EQ(std::accumulate(minutes.begin(), minutes.end(), std::int64_t{0},
                              [](std::int64_t v, const TTDX_MIN& m) { return v + m.Volume; }),
              snapshot.Volume);
    ASSERT_EQ(days.size(), 100u);
    EXPECT_EQ(+days.back().Date, 20261211u);
    EXPECT_FLOAT_EQ(days.back().Close, snapshot.Price);
    EXPECT_EQ(+days.back().Volume, +snapshot.Volume);
}

TEST(TdxsimClient, TwoRunsServeTheSameBytes) {
    const MarketDirectories none;
    const std::vector<Frame> requests = {
        Frame_INITMARKET(0, 1000),        Frame_PK("999999SH,000300SH,399001SZ,600030SH,000630SZ", none),
        Frame_MINS("002155", 0, 0),       Frame_DAYS("999999", 1, 0, 100),
        Frame_DEALS("600111", 1, 0, 2000),
    };
    const QStringList args{QStringLiteral("--seed"), QStringLiteral("5"), QStringLiteral("--at"), QStringLiteral("13:45")};
    TdxsimProcess a(args), b(args);
    // Two clients of one run at the same time, and a client of another run.
    std::vector<Bytes> second;
    std::thread other([&] { second = exchange(a.port(), requests); });
    const std::vector<Bytes> first = exchange(a.port(), requests);
    other.join();
    ASSERT_EQ(first.size(), requests.size());
    EXPECT_EQ(first, second);
    EXPECT_EQ(first, exchange(b.port(), requests));
}

// Each fault mode: the client neither crashes nor blocks the GUI thread, and behaves as
// with a real server that does the same.
TEST(TdxsimClient, SurvivesEveryFaultMode) {
    struct Case {
        const char* option;
        const char* value;
        bool connectionLost;
    } cases[] = {
        {"--wrong-magic", nullptr, true},
        {"--cut-frame", nullptr, true},
        {"--close-after", "2", true},
        {"--stall", nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        QStringList args{QString::fromLatin1(c.option)};
        if (c.value) args << QString::fromLatin1(c.value);
        TdxsimProcess server(args);
        ASSERT_GT(server.port(), 0);
        WatchedClient w(server.port());
        ASSERT_TRUE(w.client.Connect());
        w.client.Request_INITMARKET(0);
        int pumps = 0;
        const bool lost = w.runUntil([&] { return ++pumps && w.losses > 0; }, c.connectionLost ? 5000 : 500);
        EXPECT_EQ(lost, c.connectionLost);
        w.runUntil([] { return false; }, 200);  // nothing more happens
        EXPECT_EQ(w.directories[0], -1) << "the directory is never complete";
        EXPECT_EQ(w.client.Connected(), !c.connectionLost);
        EXPECT_EQ(w.losses, c.connectionLost ? 1 : 0);
        if (!c.connectionLost) {
            EXPECT_GT(pumps, 100) << "the GUI thread kept running";
            EXPECT_TRUE(w.client.Busy()) << "still waiting for the answer";
            w.client.Disconnect();
            EXPECT_FALSE(w.client.Busy());
        }
    }
}

TEST(TdxsimClient, PicksUpAnInitialisationAfterTheServerHungUp) {
    TdxsimProcess server({QStringLiteral("--close-after"), QStringLiteral("2")});
    WatchedClient w(server.port());
    ASSERT_TRUE(w.client.Connect());
    w.client.Request_INITMARKET(0);
    ASSERT_TRUE(w.runUntil([&] { return w.client.StockCount[0] == 2000; }, 5000));
    ASSERT_TRUE(pumpUntil([&] { return w.losses > 0; }, 5000));
    // The continuation queued before the loss goes out on the new connection.
    ASSERT_EQ(w.client.PendingMsgs().size(), 1u);
    ASSERT_TRUE(w.client.Connect());
    ASSERT_TRUE(w.runUntil([&] { return w.directories[0] >= 0; }, 5000));
    EXPECT_EQ(w.directories[0], static_cast<int>(SyntheticMarket(1, 20261211).directory(0).size()));
}

TEST(TdxsimClient, WaitsForASlowServerWithoutBlocking) {
    TdxsimProcess server({QStringLiteral("--slow"), QStringLiteral("300")});
    WatchedClient w(server.port());
    ASSERT_TRUE(w.client.Connect());
    w.client.Request_INITMARKET(1);
    QElapsedTimer timer;
    timer.start();
    int pumpsWhileBusy = 0;
    ASSERT_TRUE(w.runUntil([&] {
        pumpsWhileBusy += w.client.Busy();
        return w.directories[1] >= 0;
    }, 10000));
    EXPECT_GE(timer.elapsed(), 3 * 300) << "three batches, each answered late";
    EXPECT_GT(pumpsWhileBusy, 300);
    EXPECT_EQ(w.losses, 0);
}
