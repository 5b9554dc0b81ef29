// SPDX-License-Identifier: GPL-3.0-or-later
// The synthetic trading day, and what the client's decoders read from tdxsim's replies.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>

#include "Responder.h"
#include "TDXAsm.h"
#include "TDXEDCode.h"
#include "TradingDay.h"

namespace {

const SyntheticMarket& market() {
    static const SyntheticMarket m(1, 20261211);
    return m;
}

const Security& security(int m, const char* code) {
    const Security* s = market().find(m, code);
    if (!s) throw std::runtime_error(code);
    return *s;
}

int at(int h, int m) { return h * 3600 + m * 60; }

bool inSession(int second) {
    return second == session::kAuction || (second >= session::kMorningOpen && second <= session::kMorningClose) ||
           (second >= session::kAfternoonOpen && second <= session::kClose);
}

// The order class the client gives a trade: 0 small .. 3 super-large, from float amounts.
int orderClass(const Trade& t) {
    const float amount = static_cast<float>(t.volume * 100) * static_cast<float>(t.price * 10 / 1000.0);
    return amount <= 100000.0f ? 0 : amount <= 500000.0f ? 1 : amount <= 1000000.0f ? 2 : 3;
}

// Decodes tdxsim's replies with the client's own decoder, as the client would.
struct ClientDecoder {
    MarketDirectories directories;
    std::uint32_t counts[2] = {0, 0};
    TDXDecodeEvents events;
    std::vector<std::uint8_t> body = std::vector<std::uint8_t>(kBodyCapacity);
    std::vector<TTDX_PKDAT> snapshots;
    std::vector<TTDX_MIN> minutes;
    std::vector<TTDX_DAYInfo> days;
    std::vector<TTDX_DEALInfo> deals;

    ClientDecoder() {
        directories.assign(0, 0, market().directory(0));
        directories.assign(1, 0, market().directory(1));
        events.OnDecodePacket_PKDAT = [this](std::span<const TTDX_PKDAT> d, int) { snapshots.assign(d.begin(), d.end()); };
        events.OnDecodePacket_MINS = [this](TCallBackStockInfo&, std::span<const TTDX_MIN> d, int, int) {
            minutes.assign(d.begin(), d.end());
        };
        events.OnDecodePacket_DAYS = [this](TCallBackStockInfo&, std::span<const TTDX_DAYInfo> d, int, int) {
            days.assign(d.begin(), d.end());
        };
        events.OnDecodePacket_DEALS = [this](TCallBackStockInfo&, std::span<const TTDX_DEALInfo> d, int, int) {
            deals.assign(d.begin(), d.end());
        };
    }
    void decode(const Frame& request, const TTDX_MSG& msg, int second) {
        const Bytes reply = Responder(market()).reply(request, second);
        ReplyContext context{directories, counts, events, [](const TTDX_MSG&) {}, body};
        DecodeReply(reply, msg, context);
    }
    const std::vector<TTDX_PKDAT>& snapshot(const std::string& codes, int second) {
        snapshots.clear();
        decode(Frame_PK(codes, directories), {CMD_PKDAT, codes, 0, 0, 0}, second);
        return snapshots;
    }
    const std::vector<TTDX_MIN>& minuteLines(const Security& s, int second) {
        minutes.clear();
        decode(Frame_MINS(s.code, s.market, 0), {CMD_MINS, s.code, static_cast<std::uint32_t>(s.market), 0, 0},
               second);
        return minutes;
    }
    const std::vector<TTDX_DAYInfo>& dayLines(const Security& s, std::uint32_t start, std::uint32_t count, int second) {
        days.clear();
        decode(Frame_DAYS(s.code, s.market, start, count),
               {CMD_DAYS, s.code, static_cast<std::uint32_t>(s.market), start, count}, second);
        return days;
    }
    const std::vector<TTDX_DEALInfo>& ticks(const Security& s, std::uint32_t start, std::uint32_t count, int second) {
        deals.clear();
        decode(Frame_DEALS(s.code, s.market, start, count),
               {CMD_DEALS, s.code, static_cast<std::uint32_t>(s.market), start, count}, second);
        return deals;
    }
};

}  // namespace

TEST(TradingDay, TradesStayInsideTheSessionsAndTheLimits) {
    int classes[4] = {0, 0, 0, 0};
    int sides[3] = {0, 0, 0};
    for (int m = 0; m < 2; ++m) {
        for (const Security& s : market().securities(m)) {
            if (s.kind == SecurityKind::Index) {
                EXPECT_TRUE(s.trades.empty());
                continue;
            }
            ASSERT_FALSE(s.trades.empty()) << s.code;
            EXPECT_EQ(s.trades.front().second, session::kAuction) << s.code;
            EXPECT_EQ(s.trades.back().second, session::kClose) << s.code;
            int ownClasses[4] = {0, 0, 0, 0};
            for (std::size_t i = 0; i < s.trades.size(); ++i) {
                const Trade& t = s.trades[i];
                ASSERT_TRUE(inSession(t.second)) << s.code << ' ' << t.second;
                ASSERT_TRUE(i == 0 || s.trades[i - 1].second <= t.second) << s.code;
                ASSERT_GE(t.price, lowerLimit(s.prevClose)) << s.code;
                ASSERT_LE(t.price, upperLimit(s.prevClose)) << s.code;
                ASSERT_GE(t.volume, 1);
                ASSERT_LE(t.side, 2);
                ++ownClasses[orderClass(t)];
                ++sides[t.side];
            }
            for (int c = 0; c < 4; ++c) classes[c] += ownClasses[c];
            if (s.liquid) {
                EXPECT_GE(s.trades.size(), 5000u) << s.code;
                for (int c = 0; c < 4; ++c) EXPECT_GT(ownClasses[c], 0) << s.code << " class " << c;
            }
        }
    }
    for (int c = 0; c < 4; ++c) EXPECT_GT(classes[c], 10000) << "class " << c;
    for (int k = 0; k < 3; ++k) EXPECT_GT(sides[k], 10000) << "side " << k;
    for (const char* code : {"000001", "002155", "000630"}) EXPECT_TRUE(security(0, code).liquid);
    for (const char* code : {"600489", "600030", "600111"}) EXPECT_TRUE(security(1, code).liquid);
}

TEST(TradingDay, StateAddsUpTheTradesSoFar) {
    const Security& s = security(1, "600030");
    const int second = at(10, 17);
    const TapeState st = market().stateAt(s, second);
    std::int64_t volume = 0, inner = 0, outer = 0;
    std::int32_t high = 0, low = INT32_MAX;
    std::size_t n = 0;
    for (const Trade& t : s.trades) {
        if (t.second > second) break;
        ++n;
        volume += t.volume;
        inner += t.side == 1 ? t.volume : 0;
        outer += t.side == 0 ? t.volume : 0;
        high = std::max(high, t.price);
        low = std::min(low, t.price);
    }
    EXPECT_EQ(st.count, n);
    EXPECT_EQ(st.volume, volume);
    EXPECT_EQ(st.inner, inner);
    EXPECT_EQ(st.outer, outer);
    EXPECT_EQ(st.high, high);
    EXPECT_EQ(st.low, low);
    EXPECT_EQ(st.open, s.trades.front().price);
    EXPECT_FALSE(market().stateAt(s, at(9, 24)).traded());
    EXPECT_FALSE(market().stateAt(security(1, "999999"), at(9, 24)).traded());
}

TEST(TradingDay, IndicesFollowTheirConstituents) {
    for (const auto& [m, code] : {std::pair{1, "999999"}, {1, "000300"}, {0, "399001"}, {0, "399005"}, {0, "399006"}}) {
        const Security& index = security(m, code);
        ASSERT_EQ(index.checkpoints.size(), 241u) << code;
        const TapeState close = market().stateAt(index, Responder::kAfterClose);
        EXPECT_GT(close.volume, 0) << code;
        EXPECT_GT(close.up + close.down, 50) << code;
        EXPECT_LE(close.low, std::min(close.open, close.last)) << code;
        EXPECT_GE(close.high, std::max(close.open, close.last)) << code;
        EXPECT_NEAR(close.last, index.prevClose, index.prevClose * 0.1) << code;
    }
    // The composite holds every Shanghai stock: its volume is theirs.
    std::int64_t shanghai = 0;
    for (const Security& s : market().securities(1))
        if (s.kind == SecurityKind::Stock) shanghai += market().stateAt(s, at(11, 0) - 1).volume;
    EXPECT_EQ(market().stateAt(security(1, "999999"), at(11, 0) - 1).volume, shanghai);
}

TEST(TradingDay, HistoryIsHalfAYearOfWeekdaysEndingAtThePreviousClose) {
    const auto& dates = market().historyDates();
    ASSERT_GE(dates.size(), 120u);
    EXPECT_EQ(dates.back(), 20261210u);
    EXPECT_TRUE(std::is_sorted(dates.begin(), dates.end()));
    for (const auto& [m, code] : {std::pair{1, "600489"}, {1, "999999"}, {0, "159901"}}) {
        const Security& s = security(m, code);
        const auto days = market().daysAt(s, at(9, 0));
        ASSERT_EQ(days.size(), dates.size()) << code;
        EXPECT_EQ(days.back().close, s.prevClose) << code;
        for (const DayBar& b : days) {
            ASSERT_LE(b.low, std::min(b.open, b.close)) << code << ' ' << b.date;
            ASSERT_GE(b.high, std::max(b.open, b.close)) << code << ' ' << b.date;
            ASSERT_GT(b.low, 0);
        }
        EXPECT_EQ(market().daysAt(s, at(9, 30)).size(), dates.size() + 1) << "today, once traded";
    }
    struct Case {
        int date, count;
        std::vector<std::uint32_t> expected;
    } cases[] = {
        {20261214, 3, {20261209, 20261210, 20261211}},  // a Monday: the Friday before is the last day
        {20260101, 2, {20251230, 20251231}},
        {20240301, 2, {20240228, 20240229}},            // leap day
    };
    for (const Case& c : cases) EXPECT_EQ(tradingDaysBefore(c.date, c.count), c.expected) << c.date;
}

TEST(Replies, SnapshotsAgreeWithTheTrades) {
    ClientDecoder client;
    const int second = at(14, 30);
    const auto& pk = client.snapshot("600489SH,000630SZ,159901SZ,999999SH,123456SZ", second);
    ASSERT_EQ(pk.size(), 4u) << "an unknown code is left out";
    for (const TTDX_PKDAT& r : pk) {
        const Security& s = security(r.Market, std::string(FixedText(r.Code, 6)).c_str());
        const TapeState st = market().stateAt(s, second);
        const double unit = 100.0;
        EXPECT_FLOAT_EQ(r.Price, static_cast<float>(st.last / unit)) << s.code;
        EXPECT_FLOAT_EQ(r.PrevClose, static_cast<float>(s.prevClose / unit)) << s.code;
        EXPECT_FLOAT_EQ(r.Open, static_cast<float>(st.open / unit)) << s.code;
        EXPECT_FLOAT_EQ(r.High, static_cast<float>(st.high / unit)) << s.code;
        EXPECT_FLOAT_EQ(r.Low, static_cast<float>(st.low / unit)) << s.code;
        EXPECT_EQ(+r.Volume, st.volume) << s.code;
        EXPECT_FLOAT_EQ(r.Amount, static_cast<float>(st.amount)) << s.code;
        EXPECT_EQ(+r.InnerVolume, st.inner) << s.code;
        EXPECT_EQ(+r.OuterVolume, st.outer) << s.code;
        EXPECT_LT(+r.TailByte, 0x40);
        if (s.kind == SecurityKind::Index) {
            for (int k = 0; k < 5; ++k) EXPECT_TRUE(r.BidPrice[k] == 0 && r.AskPrice[k] == 0) << "no book";
            continue;
        }
        EXPECT_LE(+r.Volume, +r.InnerVolume + r.OuterVolume + r.Volume / 10) << "few neutral trades";
        EXPECT_LT(+r.BidPrice[0], +r.AskPrice[0]) << s.code;
        for (int k = 1; k < 5; ++k) {
            EXPECT_LT(+r.BidPrice[k], +r.BidPrice[k - 1]) << s.code;
            EXPECT_GT(+r.AskPrice[k], +r.AskPrice[k - 1]) << s.code;
            EXPECT_GT(+r.BidVolume[k], 0);
            EXPECT_GT(+r.AskVolume[k], 0);
        }
        EXPECT_TRUE(r.Price == r.BidPrice[0] || r.Price == r.AskPrice[0]) << s.code;
    }
    // Before the opening call only the previous close is known, and a reply holds 80 at most.
    const auto& early = client.snapshot("600489SH", at(9, 0));
    ASSERT_EQ(early.size(), 1u);
    EXPECT_EQ(+early[0].Price, 0.0f);
    EXPECT_EQ(+early[0].High, 0.0f);
    EXPECT_GT(+early[0].PrevClose, 0.0f);
    std::string many;
    for (const Security& s : market().securities(1))
        if (many.size() < 100 * 9) many += s.code + "SH,";
    EXPECT_EQ(client.snapshot(many, second).size(), Responder::kMaxSnapshots);
}

TEST(Replies, MinuteLinesHoldTheWholeDayAndRepeatTheLastPrice) {
    ClientDecoder client;
    const int second = at(10, 0) - 1;
    for (const Security* s : {&security(0, "002155"), &security(0, "159902"), &security(0, "399001")}) {
        const auto& mins = client.minuteLines(*s, second);
        ASSERT_EQ(mins.size(), 240u) << s->code;
        const TapeState st = market().stateAt(*s, second);
        const bool index = s->kind == SecurityKind::Index;
        std::int64_t volume = 0;
        for (const TTDX_MIN& m : mins) volume += m.Volume;
        if (index) {
            EXPECT_NEAR(static_cast<double>(volume), st.volume, 100.0 * 30) << "sent in hundreds";
        } else {
            EXPECT_EQ(volume, st.volume) << s->code;
            EXPECT_NEAR(mins[29].AvgPrice, st.amount / st.volume / 100.0, 0.0002) << s->code;
        }
        for (std::size_t i = 30; i < mins.size(); ++i) {
            ASSERT_EQ(+mins[i].Volume, 0) << s->code << " minute " << i;
            ASSERT_FLOAT_EQ(mins[i].Price, static_cast<float>(st.last / 100.0)) << s->code;
        }
    }
}

TEST(Replies, DayLinesCountBackFromToday) {
    ClientDecoder client;
    const int second = at(14, 30);
    const Security& s = security(1, "600111");
    const TapeState st = market().stateAt(s, second);
    const auto& days = client.dayLines(s, 0, 100, second);
    ASSERT_EQ(days.size(), 100u);
    EXPECT_EQ(+days.back().Date, 20261211u);
    EXPECT_FLOAT_EQ(days.back().Close, static_cast<float>(st.last / 100.0));
    EXPECT_EQ(+days.back().Volume, st.volume);
    EXPECT_FLOAT_EQ(days[98].Close, static_cast<float>(s.prevClose / 100.0));
    const std::vector<TTDX_DAYInfo> yesterday = client.dayLines(s, 1, 5, second);
    ASSERT_EQ(yesterday.size(), 5u);
    EXPECT_EQ(+yesterday.back().Date, 20261210u);
    EXPECT_EQ(client.dayLines(s, 0, 2000, second).size(), market().historyDates().size() + 1);
    // Index lines carry the rising and falling counts the directory flags them for.
    const auto& index = client.dayLines(security(0, "399006"), 0, 3, second);
    ASSERT_EQ(index.size(), 3u);
    EXPECT_GT(+index.back().ExtraA + index.back().ExtraB, 0);
}

TEST(Replies, TickWindowsCountBackFromTheNewest) {
    ClientDecoder client;
    const int second = at(14, 30);
    const Security& s = security(1, "600489");
    const auto done = market().tradesUntil(s, second);
    ASSERT_GT(done.size(), 6000u);
    std::vector<TTDX_DEALInfo> latest;
    for (const auto& [start, count] : {std::pair{4000u, 6000u}, {2000u, 4000u}, {0u, 2000u}}) {
        const auto& part = client.ticks(s, start, count, second);
        ASSERT_EQ(part.size(), 2000u);
        latest.insert(latest.end(), part.begin(), part.end());
    }
    for (std::size_t i = 0; i < latest.size(); ++i) {
        const Trade& t = done[done.size() - 6000 + i];
        ASSERT_EQ(+latest[i].Time, t.second / 60) << i;
        ASSERT_EQ(+latest[i].Price, t.price * 10) << i;
        ASSERT_EQ(+latest[i].Volume, t.volume) << i;
        ASSERT_EQ(+latest[i].Num, t.num) << i;
        ASSERT_EQ(+latest[i].Side, t.side) << i;
    }
    EXPECT_EQ(client.ticks(s, 0, 10, at(9, 24)).size(), 0u);
    EXPECT_EQ(client.ticks(s, static_cast<std::uint32_t>(done.size()) - 5, 2000, second).size(), 5u);
    EXPECT_EQ(client.ticks(security(1, "999999"), 0, 2000, second).size(), 0u) << "an index has no trades";
}

TEST(Replies, ToolsForTheRealServersAreAnswered) {
    const Responder r(market());
    const auto frameFor = [](Bytes body) {
        Bytes f{0x0C, 0x01, 0x02, 0x03, 0x04, 0x05};
        for (int k = 0; k < 2; ++k) f.insert(f.end(), {static_cast<std::uint8_t>(body.size()), 0});
        f.insert(f.end(), body.begin(), body.end());
        return f;
    };
    const auto unpackedLength = [](const Bytes& reply) { return reply[14] | (reply[15] << 8); };
    EXPECT_GE(unpackedLength(r.reply(frameFor({0x0d, 0x00, 0x01}))), 1);
    EXPECT_GT(unpackedLength(r.reply(frameFor({0xdb, 0x0f, 0x01}))), 2);
    EXPECT_EQ(r.reply(frameFor({0x34, 0x12})), Responder::frame(frameFor({0x34, 0x12}), {0, 0}));

    // 1325: the day request with ten more bytes, its volumes as float32.
    const Security& s = security(1, "600489");
    const auto dayRequest = [&](std::uint16_t period) {
        Bytes body{0x2d, 0x05, 1, 0};
        body.insert(body.end(), s.code.begin(), s.code.end());
        for (const std::uint16_t w : {period, std::uint16_t{1}, std::uint16_t{0}, std::uint16_t{2}})
            body.insert(body.end(), {static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(w >> 8)});
        body.resize(28, 0);
        return frameFor(body);
    };
    for (const std::uint16_t period : {4, 9}) {
        const Bytes reply = r.reply(dayRequest(period));
        ASSERT_EQ(reply[4], 0x0C) << "short enough to go plain";
        const std::span<const std::uint8_t> body(reply.data() + 16, reply.size() - 16);
        ASSERT_EQ(body[0], 2);
        std::size_t pos = 2 + 4;  // the count, then the first record's date
        double ignored;
        for (int k = 0; k < 4; ++k) pos += BufToDouble(ignored, body.data() + pos, body.size() - pos);
        float volume;
        std::memcpy(&volume, body.data() + pos, 4);
        EXPECT_EQ(volume, static_cast<float>(market().daysAt(s, Responder::kAfterClose)[market().historyDates().size() - 1].volume));
    }
    EXPECT_EQ(r.reply(dayRequest(5)), Responder::frame(dayRequest(5), {0, 0})) << "only day lines";
}
