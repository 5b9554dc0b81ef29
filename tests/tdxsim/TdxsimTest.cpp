// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QProcess>

#include <cstring>

#include "../support/ScriptedServer.h"
#include "Gbk.h"
#include "Responder.h"
#include "TDXEDCode.h"
#include "usockTDXManager.h"

namespace {

std::string codeOf(const TTDX_STOCKINFO& r) { return std::string(FixedText(r.Code, 6)); }

const TTDX_STOCKINFO* find(const SyntheticMarket& m, int market, const char* code) {
    for (const TTDX_STOCKINFO& r : m.directory(market))
        if (codeOf(r) == code) return &r;
    return nullptr;
}

}  // namespace

TEST(SyntheticMarket, DirectoriesLookLikeARealServers) {
    const SyntheticMarket m(1, 20261211);
    for (int market = 0; market < 2; ++market) {
        const auto& dir = m.directory(market);
        EXPECT_GT(dir.size(), 2000u) << "needs several batches";
        EXPECT_NE(dir.size() % 1000, 0u);
        for (const TTDX_STOCKINFO& r : dir) {
            const std::string code = codeOf(r);
            ASSERT_EQ(code.size(), 6u);
            const bool fund = r.Decimals == 3;
            const bool index = r.DayExtraFlag == 0;
            if (!fund && !index) {
                const char* const ranges = market == 0 ? "000 001 002 300" : "600 601 603 605 688";
                EXPECT_NE(std::strstr(ranges, code.substr(0, 3).c_str()), nullptr) << code;
            }
        }
    }
    struct Named {
        int market;
        const char* code;
        const char* name;
    } named[] = {{0, "000001", "深发展A"}, {0, "002155", "辰州矿业"}, {1, "600489", "中金黄金"},
                 {1, "600030", "中信证券"}, {1, "600111", "包钢稀土"}, {0, "000630", "铜陵有色"},
                 {1, "999999", "上证指数"}, {1, "000300", "沪深300"}, {0, "399006", "创业板指"}};
    for (const Named& n : named) {
        const TTDX_STOCKINFO* r = find(m, n.market, n.code);
        ASSERT_NE(r, nullptr) << n.code;
        EXPECT_EQ(gbk::toUtf8(FixedText(r->Name, 8)), n.name);
    }
    EXPECT_EQ(find(m, 1, "510010")->Decimals, 3);
}

TEST(SyntheticMarket, SameSeedAndDateSameMarket) {
    const SyntheticMarket a(7, 20261211), b(7, 20261211), c(8, 20261211);
    ASSERT_EQ(a.directory(0).size(), b.directory(0).size());
    EXPECT_EQ(std::memcmp(a.directory(0).data(), b.directory(0).data(), a.directory(0).size() * 29), 0);
    const Responder ra(a), rb(b);
    const Frame request = Frame_INITMARKET(1, 1000);
    EXPECT_EQ(ra.reply(request), rb.reply(request));
    EXPECT_NE(ra.reply(request), Responder(c).reply(request));
}

TEST(Responder, HeaderEchoesTheRequestAndCompressesLargeBodies) {
    const SyntheticMarket m(1, 20261211);
    const Responder r(m);
    const Frame request = Frame_INITMARKET(0, 0);
    const Bytes reply = r.reply(request);
    EXPECT_EQ(reply[4], 0x1C);
    EXPECT_EQ(Bytes(reply.begin() + 5, reply.begin() + 9), Bytes(request.begin() + 1, request.begin() + 5));
    EXPECT_EQ(reply[12] | (reply[13] << 8), static_cast<int>(reply.size() - 16));
    EXPECT_EQ(reply[14] | (reply[15] << 8), 2 + 1000 * 29);

    const Bytes past = r.reply(Frame_INITMARKET(0, 60000));
    EXPECT_EQ(past, Responder::frame(Frame_INITMARKET(0, 60000), {0, 0}));
    EXPECT_EQ(past[4], 0x0C);
    EXPECT_EQ(past.size(), 18u);
}

TEST(Tdxsim, ClientInitialisesBothMarkets) {
    QProcess server;
    server.start(QStringLiteral(TDXSIM_PATH), {QStringLiteral("--port"), QStringLiteral("0")});
    ASSERT_TRUE(server.waitForStarted());
    ASSERT_TRUE(server.waitForReadyRead(10000));
    const QString line = QString::fromUtf8(server.readLine());
    const int port = line.section(QLatin1Char(':'), 2, 2).section(QLatin1Char(','), 0, 0).toInt();
    ASSERT_GT(port, 0) << line.toStdString();

    const SyntheticMarket expected(1, 20261211);
    TDXDirectories().clear();
    TTDXManager client;
    client.Port = port;
    int counts[2] = {-1, -1};
    client.OnDecodePacket_INITMARKET = [&](std::span<const TTDX_STOCKINFO>, std::uint8_t market, int n) {
        counts[market & 1] = n;
    };
    ASSERT_TRUE(client.Connect());
    client.Request_INITMARKET(0);
    client.Request_INITMARKET(1);
    EXPECT_TRUE(pumpUntil([&] {
        client.Run();
        return counts[0] >= 0 && counts[1] >= 0;
    }, 10000));
    EXPECT_EQ(counts[0], static_cast<int>(expected.directory(0).size()));
    EXPECT_EQ(counts[1], static_cast<int>(expected.directory(1).size()));
    EXPECT_EQ(TDXDirectories().StockName("600489", 1), "中金黄金");
    server.kill();
    server.waitForFinished();
}
