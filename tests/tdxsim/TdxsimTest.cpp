// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <map>
#include <optional>
#include <thread>

#include "FileIo.h"
#include "Gbk.h"
#include "Responder.h"
#include "Server.h"
#include "TDXEDCode.h"
#include "TableFile.h"

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

TEST(SampleData, FilesBesideTheProgramMatchTheMarket) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QProcess tdxsim;
    tdxsim.start(QStringLiteral(TDXSIM_PATH), {QStringLiteral("--write-sample"), folder.path()});
    ASSERT_TRUE(tdxsim.waitForFinished(20000));
    ASSERT_EQ(tdxsim.exitCode(), 0) << tdxsim.readAllStandardError().toStdString();
    const std::filesystem::path dir = folder.path().toStdString();

    const SyntheticMarket m(1, 20261211);
    TextGrid band;
    ASSERT_TRUE(readTableFile(dir / "band.bin", band, TableReadMode::StopAtBlankRow).isOk());
    ASSERT_EQ(band.columnCount(), 8);
    ASSERT_EQ(band.rowCount(), static_cast<int>(m.securities(0).size() + m.securities(1).size()));
    std::map<std::string, int> rowOf;
    for (int row = 0; row < band.rowCount(); ++row) {
        ASSERT_TRUE(rowOf.emplace(band.cell(0, row), row).second) << "one row per code: " << band.cell(0, row);
        const QString name = QString::fromStdString(band.cell(1, row));
        EXPECT_EQ(static_cast<qsizetype>(band.cell(2, row).size()), name.size()) << "an initial per character: "
                                                                                  << band.cell(1, row);
    }
    struct Row {
        const char* code;
        const char* name;
        const char* initials;
        bool stock;
    } rows[] = {{"600489", "中金黄金", "ZJHJ", true}, {"000001", "深发展A", "SFZA", true},
                {"999999", "上证指数", "SZZS", false}, {"000300", "沪深300", "HS300", false},
                {"159901", "深基金0", "SJJ0", false}};
    for (const Row& r : rows) {
        ASSERT_TRUE(rowOf.count(r.code)) << r.code;
        const int row = rowOf[r.code];
        EXPECT_EQ(band.cell(1, row), r.name);
        EXPECT_EQ(band.cell(2, row), r.initials);
        EXPECT_EQ(band.cell(3, row).empty(), !r.stock) << "band value of " << r.code;
        EXPECT_EQ(band.cell(7, row).empty(), !r.stock) << "float shares of " << r.code;
    }
    const Security* s = m.find(1, "600489");
    EXPECT_EQ(std::stod(band.cell(7, rowOf["600489"])), s->floatShares);
    EXPECT_EQ(band.cell(5, rowOf["600489"]), "有色金属");

    std::string bytes;
    ASSERT_TRUE(fileio::readFile(dir / "config.ini", bytes).isOk());
    const std::string ini = gbk::toUtf8(bytes);
    for (const char* line : {"[Tikvane]\r\n", "Code_1=002155\r\nName_1=辰州矿业\r\n", "Code_5=000630\r\nName_5=铜陵有色\r\n",
                             "[SeverID]\r\nID=26\r\n"})
        EXPECT_NE(ini.find(line), std::string::npos) << line;

    ASSERT_TRUE(fileio::readFile(dir / "connect.cfg", bytes).isOk());
    std::string first = bytes.substr(0, bytes.find("\r\n"));
    std::reverse(first.begin(), first.end());
    EXPECT_EQ(gbk::toUtf8(first), "本机模拟行情:127.0.0.1");
}

TEST(SimClock, ParsesTimesAndRunsAsAsked) {
    struct Case {
        const char* text;
        std::optional<int> second;
    } cases[] = {
        {"14:30", 52200}, {"09:25:30", 33930}, {"00:00", 0}, {"23:59:59", 86399},
        {"24:00", std::nullopt}, {"9:30", std::nullopt}, {"14:60", std::nullopt}, {"14:30:", std::nullopt},
        {"14-30", std::nullopt}, {"", std::nullopt}, {"14:30:00:00", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(SimClock::parseTime(c.text), c.second) << c.text;

    EXPECT_EQ(SimClock().secondOfDay(), Responder::kAfterClose);
    EXPECT_EQ(SimClock::at(52200).secondOfDay(), 52200);
    const int beijing = static_cast<int>((std::time(nullptr) + 8 * 3600) % 86400);
    EXPECT_LE((SimClock::live().secondOfDay() - beijing + 86400) % 86400, 2);
    const SimClock fast = SimClock::speed(1e9);
    EXPECT_GE(fast.secondOfDay(), session::kAuction);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(fast.secondOfDay(), Responder::kAfterClose) << "runs from 09:25 and stops after the close";
}
