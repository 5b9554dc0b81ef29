// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's model: market initialisation, snapshots, signals, the polling tick.
#include <gtest/gtest.h>

#include <cstring>

#include "../support/ScriptedServer.h"
#include "MainModel.h"
#include "usockTDXManager.h"

namespace {

int byteWidth(std::string_view text) { return static_cast<int>(text.size()) * 6; }

// A model set up as the window's creation does, with message pumping counted, not run.
struct ModelFixture : ::testing::Test {
    MainModel model;
    int pumps = 0;
    std::vector<int> waits;
    ModelFixture() {
        model.InitTables(300, byteWidth);
        model.processMessages = [this] { ++pumps; };
        model.waitProcessingMessages = [this](int ms) { waits.push_back(ms); };
    }
    TextGrid& grid() { return model.quote.SGStock; }
    void slot(int row, const char* code, const char* floatShares = "100000", const char* band = "5") {
        grid().setCell(1, row, code);
        grid().setCell(15, row, floatShares);
        grid().setCell(35, row, band);
    }
};

TTDX_STOCKINFO stockInfo(const char* code, float prevClose) {
    TTDX_STOCKINFO r{};
    std::memcpy(r.Code, code, 6);
    r.PrevClose = prevClose;
    return r;
}

TTDX_PKDAT snapshot(const char* code, float pc, float o, float h, float l, float p, std::int32_t volume = 1000) {
    TTDX_PKDAT r{};
    std::memcpy(r.Code, code, 6);
    r.PrevClose = pc;
    r.Open = o;
    r.High = h;
    r.Low = l;
    r.Price = p;
    r.Volume = volume;
    r.Amount = 123456789.0f;
    for (int k = 0; k < 5; ++k) {
        r.BidPrice[k] = p - 0.01f * (k + 1);
        r.AskPrice[k] = p + 0.01f * (k + 1);
        r.BidVolume[k] = 10;
        r.AskVolume[k] = 30;
    }
    return r;
}

std::string strip(const MainModel& m) {
    std::string s;
    for (int c = 0; c < 10; ++c) s += m.SGBS.cell(c, 1) == "-1" ? 'g' : m.SGBS.cell(c, 1) == "1" ? 'r' : '.';
    return s;
}

}  // namespace

TEST_F(ModelFixture, SideGridsAreLaidOut) {
    EXPECT_EQ(model.sg_11.cell(0, 0), "    超大");
    EXPECT_EQ(model.sg_33.cell(0, 4), "    平盘");
    EXPECT_EQ(model.sg_11.defaultRowHeight(), 19);
    EXPECT_EQ(model.sg_33.columnWidth(1), 65);
    EXPECT_EQ(model.sg_44.cell(0, 15), "外盘");
    EXPECT_EQ(model.sg_44.cell(2, 0), "委差");
    EXPECT_EQ(model.sg_44.cell(2, 15), "内盘");
    EXPECT_EQ(model.sg_44.columnWidth(2), 35);
    EXPECT_EQ(model.SGBS.rowHeight(0), 0);
}

TEST_F(ModelFixture, MarketInitialisationShowsProgressAndCounts) {
    struct Case {
        std::uint8_t market;
        int records;
        int progress;
        const char* status;
        int counted;
    } cases[] = {
        {0, 2000, 100, "正在初始化深圳数据...100%", 1},
        {1, 100, 99, "正在初始化上海数据...99%", 1},
        {1, 0, 0, "", 1},
        {2, 100, 0, "", 0},
    };
    for (const Case& c : cases) {
        model.MarketInitCounter = 0;
        model.start = {};
        pumps = 0;
        std::vector<TTDX_STOCKINFO> records(static_cast<std::size_t>(c.records), stockInfo("600000", 10));
        model.TDXDecodePacket_INITMARKET(records, c.market, c.records);
        EXPECT_EQ(model.start.InitProgress, c.progress) << c.records;
        EXPECT_EQ(model.start.pnl_1, c.status) << c.records;
        EXPECT_EQ(model.MarketInitCounter, c.counted) << c.records;
        EXPECT_EQ(pumps, c.market > 1 ? 0 : c.records) << "the dialog repaints after every record";
    }
    const TTDX_STOCKINFO shanghai[] = {stockInfo("600000", 10), stockInfo("999999", 3000.5f), stockInfo("000300", 4000)};
    model.TDXDecodePacket_INITMARKET(shanghai, 1, 3);
    EXPECT_EQ(model.IndexPrevClose[0], 3000.5f);
    EXPECT_EQ(model.IndexPrevClose[4], 4000.0f);
    const TTDX_STOCKINFO none[] = {stockInfo("000001", 9)};
    model.TDXDecodePacket_INITMARKET(none, 0, 1);
    EXPECT_EQ(model.IndexPrevClose[0], 3000.5f) << "no slot changes";
}

TEST_F(ModelFixture, IndexSnapshotsFillTheStatusBar) {
    const TTDX_PKDAT hs = snapshot("000300", 4000, 4000, 4100, 3900, 4040);
    const TTDX_PKDAT sz = snapshot("399001", 10000, 10000, 10100, 9900, 9900);
    const TTDX_PKDAT both[] = {hs, sz};
    model.TDXDecodePacket_PKDAT(both, 2);
    EXPECT_EQ(model.pnlSTBar_20.caption, "深证 ") << "the later record of a group stays";
    EXPECT_EQ(model.pnlSTBar_21.caption, "9900.00  -100.00  -1.00%");
    EXPECT_EQ(model.pnlSTBar_21.color, palette::kGreen);
    EXPECT_EQ(model.pnlSTBar_22.caption, "1.2亿");
    const TTDX_PKDAT reversed[] = {sz, hs};
    model.TDXDecodePacket_PKDAT(reversed, 2);
    EXPECT_EQ(model.pnlSTBar_20.caption, "沪深 ");
    EXPECT_EQ(model.pnlSTBar_21.color, palette::kRed);
    const TTDX_PKDAT flat[] = {snapshot("999999", 3000, 3000, 3010, 2990, 3000)};
    model.TDXDecodePacket_PKDAT(flat, 1);
    EXPECT_EQ(model.pnlSTBar_11.color, palette::kGreen) << "unchanged is green";
}

TEST_F(ModelFixture, StockSnapshotsFillEveryRowOfTheirCode) {
    slot(2, "600489");
    slot(4, "600489", "");
    const TTDX_PKDAT records[] = {snapshot("600489", 10, 10.1f, 10.5f, 9.9f, 10.2f, 500000)};
    model.TDXDecodePacket_PKDAT(records, 1);
    for (const int row : {2, 4}) {
        EXPECT_EQ(grid().cell(3, row), "2.00");
        EXPECT_EQ(grid().cell(4, row), "10.20");
        EXPECT_EQ(grid().cell(9, row), "10.10");
        EXPECT_EQ(grid().cell(12, row), "10.00");
        EXPECT_EQ(grid().cell(13, row), "50.0万");
        EXPECT_EQ(grid().cell(14, row), "6.00%");
    }
    EXPECT_EQ(grid().cell(8, 2), "5.00");
    EXPECT_EQ(grid().cell(8, 4), "0.00") << "no float shares, no turnover";
    for (const auto& [lots, text] : {std::pair{90000.0, "90000"}, {90001.0, "9.0万"}})
        EXPECT_EQ(VolumeText(lots), text);

    const TTDX_PKDAT suspended[] = {snapshot("600489", 10, 0, 0, 0, 0)};
    grid().setCell(4, 2, "x");
    model.TDXDecodePacket_PKDAT(suspended, 1);
    EXPECT_EQ(grid().cell(4, 2), "x") << "a record without prices is skipped";
}

TEST_F(ModelFixture, CurrentStockSnapshotFillsTheBookAndTheReadings) {
    slot(2, "002155");
    model.quote.CurrentRow = 2;
    model.quote.CurrentCode = "002155";
    model.quote.CurrentName = "辰州矿业";
    const TTDX_PKDAT r = snapshot("002155", 10, 10, 10.5f, 9.5f, 10.25f, 1234);
    const TTDX_PKDAT records[] = {r};
    model.TDXDecodePacket_PKDAT(records, 1);
    EXPECT_EQ(grid().cell(32, 2), "75.00");
    EXPECT_EQ(grid().cell(33, 2), "2.11");  // (1 * 100 / 9.5) / 5
    EXPECT_EQ(model.pnlSTBar_40.caption, "走势明朗,当前价格中位上,防追高,多留意");
    EXPECT_EQ(grid().cell(34, 2), "16");
    EXPECT_EQ(model.pnl_1_0_0.caption, "002155 ");
    EXPECT_EQ(model.pnl_1_0_1.caption, " 辰州矿业");
    EXPECT_EQ(model.sg_44.cell(1, 0), "-50.00%");
    EXPECT_EQ(model.sg_44.cell(3, 0), "-100");
    EXPECT_EQ(model.sg_44.cell(1, 5), "10.26") << "卖① above 买①";
    EXPECT_EQ(model.sg_44.cell(1, 1), "10.30");
    EXPECT_EQ(model.sg_44.cell(1, 6), "10.24");
    EXPECT_EQ(model.sg_44.cell(3, 10), "10");
    EXPECT_EQ(model.sg_44.cell(1, 12), "0.25");
    EXPECT_EQ(model.sg_44.cell(1, 13), "2.50%");
    EXPECT_EQ(model.sg_44.cell(1, 14), "1234");

    // No range: the readings stay, the book still changes; no band: the strip goes dark.
    const TTDX_PKDAT flat[] = {snapshot("002155", 10, 10, 10.3f, 10.3f, 10.3f, 99)};
    model.TDXDecodePacket_PKDAT(flat, 1);
    EXPECT_EQ(grid().cell(32, 2), "75.00");
    EXPECT_EQ(model.pnlSTBar_40.caption, "走势明朗,当前价格中位上,防追高,多留意");
    EXPECT_EQ(model.sg_44.cell(1, 14), "99");
    grid().setCell(35, 2, "0");
    model.TDXDecodePacket_PKDAT(records, 1);
    EXPECT_EQ(strip(model), "..........");
    EXPECT_EQ(grid().cell(34, 2), "");
    const TTDX_PKDAT empty[] = {[] {
        TTDX_PKDAT e = snapshot("002155", 10, 10, 10.5f, 9.5f, 10.25f);
        for (int k = 0; k < 5; ++k) e.BidVolume[k] = e.AskVolume[k] = 0;
        return e;
    }()};
    model.TDXDecodePacket_PKDAT(empty, 1);
    EXPECT_EQ(model.sg_44.cell(1, 0), "0.00%") << "an empty book has no ratio";
}

TEST(Signals, BandAroundTheOpen) {
    struct Case {
        float price;
        int signal;
        const char* strip;
    } cases[] = {
        {9.50f, 1, "rrrrrrrrrr"}, {10.00f, 11, "g........."}, {10.50f, 21, "rrrrrrrrrr"},
        {9.40f, -1, "gggggggggg"}, {9.55f, 2, "rrrrrrrrr."}, {10.45f, 20, "gggggggggg"},
    };
    MainModel model;
    for (const Case& c : cases) {
        const std::optional<int> n = SignalNumber(10, 10, c.price, 5);
        ASSERT_TRUE(n) << c.price;
        EXPECT_EQ(*n, c.signal) << c.price;
        model.ShowSignalStrip(*n, c.price > 10);
        EXPECT_EQ(strip(model), c.strip) << c.price;
    }
    EXPECT_FALSE(SignalNumber(10, 10, 10, 0)) << "no band value, no band";
}

TEST(Signals, TrendCommentBoundaries) {
    struct Case {
        float s, r;
        const char* comment;
    } cases[] = {
        {0.5f, 35, "静观其变,当前价格中位下,抄小底者多关注"},
        {0.5f, 35.01f, "静观其变,当前价格中位,多看少动"},
        {0.5f, 70.5f, "静观其变,当前价格较高位,做差时留意风险"},
        {0.0f, 0, "走势不明,当前价格中位下,留意下行风险"},
        {0.3f, 40, "走势不明,当前价格中位下,留意下行风险"},
        {0.3f, 60, "走势不明,当前价格中位,关注操作机会"},
        {0.3f, 61, "走势不明,当前价格中位上,期待向上突破"},
        {0.40f, 10, "静观其变,当前价格中位下,抄小底者多关注"},  // 0.40 as a float is above 0.4
        {0.80f, 10, "走势明朗,当前价格较低位,买入风险较小"},
        {2.0f, 20, "走势明朗,当前价格较低位,买入风险较小"},
        {2.0f, 50, "走势明朗,当前价格中位下,防杀跌,可关注"},
        {2.0f, 80, "走势明朗,当前价格中位上,防追高,多留意"},
        {2.0f, 80.5f, "走势明朗,当前价格较高位,买入风险较大"},
        {-0.1f, 10, ""},
        {0.5f, -1, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(TrendComment(c.s, c.r), c.comment) << c.s << ' ' << c.r;
}

TEST_F(ModelFixture, TrendCommentClearsForAnEmptyRow) {
    model.pnlSTBar_40.caption = "old";
    model.quote.CurrentRow = 3;
    model.UpdateTrendComment();
    EXPECT_EQ(model.pnlSTBar_40.caption, "");
}

TEST_F(ModelFixture, SidePanelsShowTheCurrentRowsFlow) {
    slot(2, "002155");
    model.quote.CurrentRow = 2;
    model.DrawSidePanels();
    for (const TextGrid* g : {&model.sg_11, &model.sg_22})
        for (int k = 0; k < 4; ++k) EXPECT_EQ(g->cell(2, k), "0.00%");
    EXPECT_EQ(model.sg_33.cell(2, 4), "0.00%");
    ASSERT_EQ(model.Chart_0.size(), 8u);
    EXPECT_EQ(model.Chart_0[0], (ChartItem{0, "万.超大", {255, 10, 10}}));
    EXPECT_EQ(model.Chart_0[7], (ChartItem{0, "万.散户", {10, 70, 10}}));

    grid().setCell(46, 2, "6000");
    grid().setCell(52, 2, "-6000");
    grid().setCell(118, 2, "3000000");
    grid().setCell(122, 2, "1000000");
    grid().setCell(94, 2, "-2000000");
    model.DrawSidePanels();
    ASSERT_EQ(model.Chart_1.size(), 8u);
    EXPECT_EQ(model.Chart_1[0], (ChartItem{1, "09:30~10:00", palette::kRed}));
    EXPECT_EQ(model.Chart_1[1], (ChartItem{-1, "10:00~10:30", palette::kGreen}));
    EXPECT_EQ(model.Chart_1[2], (ChartItem{0, "10:30~11:00", palette::kGreen}));
    EXPECT_EQ(model.sg_11.cell(1, 0), "300 ");
    EXPECT_EQ(model.sg_11.cell(2, 0), "75.00%");  // of 1 + 3,000,000 + 1,000,000
    EXPECT_EQ(model.sg_22.cell(2, 0), "25.00%");
    EXPECT_EQ(model.sg_33.cell(1, 0), "-200 ");
    EXPECT_EQ(model.sg_33.cell(2, 0), "50.00%");
    EXPECT_EQ(model.Chart_0[0].value, 300);
}

// The polling tick against a real connection to a server that takes requests and never
// answers, so what the tick queued stays in the client's queue in order.
struct PollingFixture : ModelFixture {
    ScriptedServer server{[](ScriptedServer&, const ScriptedServer::Bytes&) {}};
    TTDXManager client;
    PollingFixture() {
        client.Port = server.port();
        model.LoginFlag = true;
        slot(2, "002155");
        slot(3, "600489");
        slot(5, "900901");
        slot(6, "000630");
        model.quote.CurrentRow = 2;
        model.quote.CurrentCode = "002155";
    }
    std::vector<std::string> pending() {
        std::vector<std::string> out;
        for (const TTDX_MSG& m : client.PendingMsgs())
            out.push_back(std::to_string(m.MsgType) + " " + m.Code + " " + std::to_string(m.Market) +
                          (m.MsgType == CMD_DEALS ? " " + std::to_string(m.Start) + "," + std::to_string(m.Count) : ""));
        return out;
    }
};

TEST_F(PollingFixture, EachTickAsksForMinutesAndSnapshotsInOrder) {
    ASSERT_TRUE(client.Connect());
    model.DPTimerTimer(client);
    const std::vector<std::string> perTick = {
        "1309 002155SZ 0", "1309 399001SZ 0", "1342 999999SH,000300SH,399001SZ,399005SZ,399006SZ 0",
        "1342 002155SZ 0", "1342 600489SH 0", "1342 000630SZ 0",
    };
    EXPECT_EQ(pending(), perTick) << "row 5's code starts with 9: no snapshot";
    EXPECT_TRUE(waits.empty());

    client.ClearMsgs();
    model.quote.CurrentCode = "  ";
    model.DPTimerTimer(client);
    EXPECT_EQ(pending().front(), perTick[2]) << "no current stock, no minute lines";
}

TEST_F(PollingFixture, TickRefreshRunsOnTheSixteenthTickAndAfterASelection) {
    ASSERT_TRUE(client.Connect());
    for (int tick = 1; tick <= 15; ++tick) model.DPTimerTimer(client);
    for (const std::string& m : pending()) ASSERT_NE(m.substr(0, 4), "4037");
    client.ClearMsgs();
    model.DPTimerTimer(client);
    std::vector<std::string> deals;
    for (const std::string& m : pending())
        if (m.starts_with("4037")) deals.push_back(m);
    std::vector<std::string> expected;
    for (const char* row : {"002155 0", "600489 1", "900901 0", "000630 0"})
        for (const char* window : {" 4000,6000", " 2000,4000", " 0,2000"}) expected.push_back(std::string("4037 ") + row + window);
    EXPECT_EQ(deals, expected);
    EXPECT_EQ(waits, (std::vector<int>{1001, 1001, 1001, 1001})) << "a second after each stock";
    for (const int row : {2, 3, 5, 6}) EXPECT_EQ(grid().cell(41, row), "0");

    client.ClearMsgs();
    model.TickRefreshCounter = 100;  // what selecting a row does
    model.DPTimerTimer(client);
    EXPECT_EQ(client.PendingMsgs().back().MsgType, static_cast<std::uint32_t>(CMD_DEALS));
}

TEST_F(PollingFixture, NothingIsAskedBeforeLoginOrWhileDisconnected) {
    model.DPTimerTimer(client);
    EXPECT_TRUE(pending().empty());
    for (int c = 1; c <= 11; ++c) EXPECT_EQ(model.SGNET.cell(c, 3), c == 6 ? "2" : "0") << c;
    model.LoginFlag = false;
    ASSERT_TRUE(client.Connect());
    model.DPTimerTimer(client);
    EXPECT_TRUE(pending().empty());
    EXPECT_EQ(model.NetAnimationStep, 1);
}

TEST_F(PollingFixture, NetworkMarksRunTowardsEachOther) {
    ASSERT_TRUE(client.Connect());
    // Per step: the columns of row 1 that show red ("1") and black ("3").
    struct Step {
        std::vector<int> red, black;
    } steps[] = {
        {{1}, {11}}, {{2}, {10}}, {{3}, {9}}, {{4}, {8}}, {{5}, {7}}, {{6, 7}, {5}},
        {{8}, {4}},  {{9}, {3}},  {{10}, {2}}, {{11}, {1}}, {{11}, {1}}, {{11}, {1}}, {{1}, {11}},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        model.DPTimerTimer(client);
        std::vector<int> red, black;
        for (int c = 0; c < 12; ++c) {
            if (model.SGNET.cell(c, 1) == "1") red.push_back(c);
            if (model.SGNET.cell(c, 1) == "3") black.push_back(c);
        }
        EXPECT_EQ(red, steps[i].red) << "tick " << i + 1;
        EXPECT_EQ(black, steps[i].black) << "tick " << i + 1;
    }
    EXPECT_EQ(model.SGNET.cell(6, 3), "2");
    EXPECT_EQ(model.SGNET.cell(5, 4), "1");
}

namespace {

TCallBackStockInfo infoOf(const char* code) {
    TCallBackStockInfo info{};
    std::memcpy(info.Code, code, 6);
    return info;
}

TTDX_DEALInfo deal(int minute, int price, int volume, int side) {
    TTDX_DEALInfo d{};
    d.Time = static_cast<std::uint16_t>(minute);
    d.Price = price;
    d.Volume = volume;
    d.Side = static_cast<std::uint16_t>(side);
    return d;
}

}  // namespace

TEST_F(ModelFixture, TickRepliesResetTheCycleAndBookIntoTheUpperRow) {
    slot(2, "600489");
    slot(4, "600489");
    for (const int row : {2, 4}) {
        grid().setCell(41, row, "0");
        grid().setCell(42, row, "999");
        grid().setCell(5, row, "7");
    }
    const TTDX_DEALInfo trades[] = {deal(585, 60000, 100, 1)};  // 09:45, a large sell
    model.TDXDecodePacket_DEALS(infoOf("600489"), trades, 4000, 1);
    EXPECT_EQ(grid().cell(42, 2), "-600000");
    EXPECT_EQ(grid().cell(51, 2), "1");
    EXPECT_EQ(grid().cell(41, 2), "1");
    EXPECT_EQ(grid().cell(42, 4), "0") << "reset but not booked";
    EXPECT_EQ(grid().cell(5, 4), "0");
    EXPECT_EQ(grid().cell(41, 4), "1");
    // The next reply of the cycle adds to the sums.
    model.TDXDecodePacket_DEALS(infoOf("600489"), trades, 2000, 1);
    EXPECT_EQ(grid().cell(42, 2), "-1200000");
    model.TDXDecodePacket_DEALS(infoOf("000001"), trades, 0, 1);  // no row: ignored
}

TEST_F(ModelFixture, LatestTradesOfTheCurrentStockNewestFirst) {
    slot(2, "002155");
    grid().setCell(12, 2, "10.00");
    model.quote.CurrentCode = "002155";
    std::vector<TTDX_DEALInfo> trades;
    for (int i = 0; i < 25; ++i) trades.push_back(deal(570 + i, i % 2 ? 10010 : 10000, 400 + 10 * i, i % 3));
    model.TDXDecodePacket_DEALS(infoOf("002155"), trades, 0, 25);
    ASSERT_EQ(model.redit1.size(), 20u);
    ASSERT_EQ(model.redit4.size(), 20u);
    EXPECT_EQ(model.redit1[0].text, "09:54");
    EXPECT_EQ(model.redit2[0], (ColoredLine{"10.00", palette::kLime})) << "not above the previous close";
    EXPECT_EQ(model.redit2[1], (ColoredLine{"10.01", palette::kRed}));
    EXPECT_EQ(model.redit3[0], (ColoredLine{"640", palette::kPurple}));
    EXPECT_EQ(model.redit3[19], (ColoredLine{"450", palette::kOlive}));
    EXPECT_EQ(model.redit4[0], (ColoredLine{"B", palette::kRed}));   // trade 24: side 0
    EXPECT_EQ(model.redit4[1], (ColoredLine{"S", palette::kLime}));  // trade 23: neutral shows as S
    EXPECT_EQ(model.redit1[19].text, "09:35");
}

TEST_F(ModelFixture, SelectingARowMakesItTheCurrentStock) {
    slot(3, " 600489 ");
    grid().setCell(2, 3, "中金黄金");
    grid().setCell(34, 3, "4");
    model.redit1 = {{"09:30", palette::kSilver}};
    model.SGStockSelectCell(1, 3);
    EXPECT_EQ(model.quote.CurrentRow, 3);
    EXPECT_EQ(model.quote.CurrentCode, "600489");
    EXPECT_EQ(model.quote.CurrentName, "中金黄金");
    EXPECT_TRUE(model.redit1.empty());
    EXPECT_EQ(model.TickRefreshCounter, 100);
    EXPECT_EQ(model.MinuteRequestCounter, 100);
    EXPECT_EQ(strip(model), "rrrrrrr...") << "signal 4 of column 34";

    model.SGStockSelectCell(1, 4);  // an empty row
    EXPECT_EQ(model.quote.CurrentRow, 4);
    EXPECT_EQ(model.quote.CurrentCode, "600489") << "an empty row keeps the current stock";
}

TEST_F(ModelFixture, TheStatusPanelOffersAReconnectOnlyWhenDisconnected) {
    EXPECT_TRUE(model.pnlSTBar_40OffersReconnect());
    model.TDXConnected();
    EXPECT_EQ(model.pnlSTBar_40.caption, "【 www.vexlora.example 】");
    EXPECT_FALSE(model.pnlSTBar_40OffersReconnect());
    model.pnlSTBar_40.caption = "走势明朗,当前价格较低位,买入风险较小";
    EXPECT_FALSE(model.pnlSTBar_40OffersReconnect()) << "a trend comment does nothing";

    ScriptedServer server{[](ScriptedServer&, const ScriptedServer::Bytes&) {}};
    TTDXManager client;
    client.Port = server.port();
    model.TDXDisConnected(client);
    EXPECT_EQ(model.pnlSTBar_40.caption, "已断开,点击此处重新连接服务器.");
    EXPECT_TRUE(client.Connected()) << "reconnected at once";
}
