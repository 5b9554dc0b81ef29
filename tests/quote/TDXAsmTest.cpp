// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "TDXAsm.h"
#include "TDXGrobal.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes repeat(const Bytes& b, int times) {
    Bytes out;
    for (int i = 0; i < times; ++i) out = out + b;
    return out;
}

// The 60-byte snapshot entry of 000001 in Shenzhen.
const Bytes kSnapshot000001 =
    Bytes{0x00, 0x30, 0x30, 0x30, 0x30, 0x30, 0x31, 0x00, 0x00, 0x81, 0x10, 0x59, 0x00, 0x0A, 0x45,
          0x00, 0x00, 0xA8, 0x0F, 0x05, 0x00, 0x00, 0x00, 0x00, 0x90, 0x06, 0x98, 0x09, 0x00, 0x00} +
    repeat({0x41, 0x01, 0x0A, 0x14}, 5) + Bytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00};

TTDX_STOCKINFO stock(const char* code, int decimals, std::int16_t dayExtraFlag = 1, const char* gbkName = "") {
    TTDX_STOCKINFO r{};
    std::memcpy(r.Code, code, 6);
    std::memcpy(r.Name, gbkName, std::min(std::strlen(gbkName), sizeof r.Name));
    r.Decimals = static_cast<std::uint8_t>(decimals);
    r.DayExtraFlag = dayExtraFlag;
    return r;
}

}  // namespace

TEST(BufToDouble, WorkedExamples) {
    struct Case {
        Bytes bytes;
        double value;
        int used;
    } cases[] = {
        {{0x05}, 5, 1},          {{0x45}, -5, 1},         {{0x3F}, 63, 1},         {{0x81, 0x01}, 65, 2},
        {{0xC1, 0x02}, -129, 2}, {{0xBF, 0x7F}, 8191, 2}, {{0x80, 0x80, 0x01}, 8192, 3},
        {{0x90, 0x9C, 0x01}, 10000, 3}, {{0x81, 0x10}, 1025, 2}, {{0xBA, 0x08}, 570, 2}, {{0x40}, 0, 1},
    };
    for (const Case& c : cases) {
        double v = 99;
        EXPECT_EQ(BufToDouble(v, c.bytes.data(), c.bytes.size()), c.used);
        EXPECT_EQ(v, c.value);
    }
}

TEST(BufToDouble, NumberCutByTheEndIsNotRead) {
    const Bytes cut{0x81, 0x90};
    double v = 1;
    EXPECT_EQ(BufToDouble(v, cut.data(), cut.size()), 0);
    EXPECT_EQ(BufToDouble(v, cut.data(), 0), 0);
    const Bytes endless(300, 0xFF);  // 300 continuation bytes, then one that ends it
    Bytes longOne = endless + Bytes{0x01};
    EXPECT_EQ(BufToDouble(v, longOne.data(), longOne.size()), 301);
    EXPECT_EQ(TruncToInt32(v), std::numeric_limits<std::int32_t>::min());  // huge, saturates
}

TEST(Decoders, IndexCodesAndDivisors) {
    EXPECT_TRUE(IsIndexCode("000300", 1));
    EXPECT_TRUE(IsIndexCode("999999", 1));
    EXPECT_TRUE(IsIndexCode("880001", 1));
    EXPECT_FALSE(IsIndexCode("600000", 1));
    EXPECT_TRUE(IsIndexCode("399006", 0));
    EXPECT_FALSE(IsIndexCode("000001", 0));
    EXPECT_FALSE(IsIndexCode("399006", 2));
    EXPECT_EQ(PriceDivisor(2), 100.0f);
    EXPECT_EQ(PriceDivisor(0), 100.0f);
    EXPECT_EQ(PriceDivisor(3), 1000.0f);
    EXPECT_EQ(TruncToInt32(-2.9), -2);
    EXPECT_EQ(TruncToInt32(0.0 / 0.0), 0);
}

TEST(Decoders, TickWorkedExample) {
    const Bytes body{0x3A, 0x02, 0x81, 0x10, 0x05, 0x01, 0x00, 0x00, 0x3B, 0x02, 0x41, 0x0A, 0x02, 0x01, 0x00};
    BodyCursor cursor{body};
    const auto deals = DecodeDeals(cursor, 2);
    ASSERT_EQ(deals.size(), 2u);
    EXPECT_EQ(+deals[0].Time, 570);
    EXPECT_EQ(+deals[1].Time, 571);
    EXPECT_EQ(+deals[0].Price, 10250);
    EXPECT_EQ(+deals[1].Price, 10240);
    EXPECT_EQ(+deals[0].Volume, 5);
    EXPECT_EQ(+deals[1].Volume, 10);
    EXPECT_EQ(+deals[0].Num, 1);
    EXPECT_EQ(+deals[1].Num, 2);
    EXPECT_EQ(+deals[0].Side, 0);
    EXPECT_EQ(+deals[1].Side, 1);
    EXPECT_EQ(+cursor.pos, body.size());
}

TEST(Decoders, MinuteWorkedExample) {
    const Bytes body{0x81, 0x10, 0x05, 0x0A, 0x42, 0x41, 0x03};
    for (const char* code : {"000001", "399001"}) {
        BodyCursor cursor{body};
        const auto mins = DecodeMinutes(cursor, 2, 2, code, 0);
        ASSERT_EQ(mins.size(), 2u);
        EXPECT_EQ(+mins[0].Price, 10.25f);
        EXPECT_EQ(+mins[1].Price, 10.23f);
        EXPECT_EQ(+mins[0].AvgPrice, static_cast<float>(10.25f + 0.05 * 0.01));
        EXPECT_FLOAT_EQ(+mins[1].AvgPrice, 10.2504f);
        const bool index = code[0] == '3';
        EXPECT_EQ(+mins[0].Volume, index ? 1000 : 10);
        EXPECT_EQ(+mins[1].Volume, index ? 300 : 3);
    }
}

TEST(Decoders, DayWorkedExampleCarriesTheClose) {
    // 10250, 150, 300, -100 as packed numbers; volume 7; amount 0; twice.
    const Bytes entry = Bytes{0x01, 0x02, 0x03, 0x04} + Bytes{0x8A, 0xA0, 0x01, 0x96, 0x02, 0xAC, 0x04, 0xE4, 0x01, 0x07} +
                        Bytes{0, 0, 0, 0};
    const Bytes body = entry + entry;
    BodyCursor cursor{body};
    const auto days = DecodeDays(cursor, 2, false);
    ASSERT_EQ(days.size(), 2u);
    EXPECT_EQ(+days[0].Date, 0x04030201u);
    EXPECT_FLOAT_EQ(+days[0].Open, 10.25f);
    EXPECT_FLOAT_EQ(+days[0].Close, 10.4f);
    EXPECT_FLOAT_EQ(+days[0].High, 10.55f);
    EXPECT_FLOAT_EQ(+days[0].Low, 10.15f);
    EXPECT_EQ(+days[0].Volume, 7);
    EXPECT_FLOAT_EQ(+days[1].Open, 10.4f + 10.25f);  // relative to the previous close
    EXPECT_EQ(+cursor.pos, body.size());

    const Bytes withExtra = entry + Bytes{0x34, 0x12, 0x78, 0x56};
    BodyCursor extraCursor{withExtra};
    const auto extra = DecodeDays(extraCursor, 1, true);
    ASSERT_EQ(extra.size(), 1u);
    EXPECT_EQ(+extra[0].ExtraA, 0x1234);
    EXPECT_EQ(+extra[0].ExtraB, 0x5678);
}

TEST(Decoders, SnapshotWorkedExample) {
    MarketDirectories none;
    const Bytes body = kSnapshot000001 + Bytes{0xEE};
    BodyCursor cursor{body};
    TTDX_PKDAT r{};
    ASSERT_TRUE(DecodeSnapshotEntry(cursor, none, r));
    EXPECT_EQ(+cursor.pos, 60u);
    EXPECT_EQ(FixedText(r.Code, 6), "000001");
    EXPECT_EQ(+r.Market, 0);
    EXPECT_FLOAT_EQ(+r.Price, 10.25f);
    EXPECT_FLOAT_EQ(+r.PrevClose, 10.00f);
    EXPECT_FLOAT_EQ(+r.Open, 10.25f);
    EXPECT_FLOAT_EQ(+r.High, 10.35f);
    EXPECT_FLOAT_EQ(+r.Low, 10.20f);
    EXPECT_FLOAT_EQ(+r.Number7, 10.25f);
    EXPECT_EQ(+r.Volume, 1000);
    EXPECT_EQ(+r.Number9, 5);
    EXPECT_EQ(+r.Amount, 0.0f);
    EXPECT_EQ(+r.InnerVolume, 400);
    EXPECT_EQ(+r.OuterVolume, 600);
    EXPECT_EQ(+r.Number12, 0.0f);
    EXPECT_EQ(+r.Number13, 0.0f);
    for (int L = 0; L < 5; ++L) {
        EXPECT_FLOAT_EQ(+r.BidPrice[L], 10.24f);
        EXPECT_FLOAT_EQ(+r.AskPrice[L], 10.26f);
        EXPECT_EQ(+r.BidVolume[L], 10);
        EXPECT_EQ(+r.AskVolume[L], 20);
    }
    EXPECT_FLOAT_EQ(+r.TailPrice1, 10.25f);
    EXPECT_FLOAT_EQ(+r.TailPrice3, 10.25f);
    EXPECT_FLOAT_EQ(+r.TailRatio, 1.00f);
}

TEST(Decoders, SnapshotDivisorComesFromTheDirectory) {
    MarketDirectories dirs;
    const TTDX_STOCKINFO fund = stock("000001", 3);
    dirs.assign(0, 0, {&fund, 1});
    BodyCursor cursor{kSnapshot000001};
    TTDX_PKDAT r{};
    ASSERT_TRUE(DecodeSnapshotEntry(cursor, dirs, r));
    EXPECT_FLOAT_EQ(+r.Price, 1.025f);
    EXPECT_FLOAT_EQ(+r.PrevClose, 1.0f);
}

TEST(Decoders, IncompleteBodiesGiveOnlyCompleteRecords) {
    MarketDirectories none;
    for (std::size_t cut = 0; cut < kSnapshot000001.size(); ++cut) {
        const Bytes part(kSnapshot000001.begin(), kSnapshot000001.begin() + static_cast<long>(cut));
        BodyCursor cursor{part};
        TTDX_PKDAT r{};
        ASSERT_FALSE(DecodeSnapshotEntry(cursor, none, r)) << cut;
        EXPECT_EQ(+cursor.pos, 0u);
    }
    const Bytes ticks{0x3A, 0x02, 0x81, 0x10, 0x05, 0x01, 0x00, 0x00, 0x3B, 0x02, 0x41, 0x0A};
    BodyCursor cursor{ticks};
    EXPECT_EQ(DecodeDeals(cursor, 500).size(), 1u);  // a count larger than the body
    EXPECT_EQ(+cursor.pos, 8u);
    BodyCursor days{ticks};
    EXPECT_EQ(DecodeDays(days, 3, true).size(), 0u);
}
