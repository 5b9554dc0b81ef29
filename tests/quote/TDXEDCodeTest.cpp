// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "../support/ReplyFrames.h"
#include "TDXEDCode.h"

namespace {

Bytes bodyOf(const Frame& f) { return Bytes(f.begin() + 10, f.end()); }

struct Decoding {
    MarketDirectories directories;
    std::uint32_t stockCount[2] = {0, 0};
    TDXDecodeEvents events;
    std::vector<TTDX_MSG> queued;
    Bytes area = Bytes(kBodyCapacity);
    int initCount = -1, initEvents = 0, dealsEvents = 0, dealsCount = -1;
    std::string dayCode, dayName;

    Decoding() {
        events.OnDecodePacket_INITMARKET = [this](std::span<const TTDX_STOCKINFO> data, std::uint8_t, int count) {
            ++initEvents;
            initCount = count;
            EXPECT_EQ(data.size(), static_cast<std::size_t>(count));
        };
        events.OnDecodePacket_DEALS = [this](TCallBackStockInfo&, std::span<const TTDX_DEALInfo> d, int, int count) {
            ++dealsEvents;
            dealsCount = count;
            EXPECT_EQ(d.size(), static_cast<std::size_t>(count));
        };
        events.OnDecodePacket_DAYS = [this](TCallBackStockInfo& info, std::span<const TTDX_DAYInfo>, int, int) {
            dayCode = std::string(FixedText(info.Code, 6));
            dayName = std::string(FixedText(info.Name, 8));
        };
    }
    int decode(const Bytes& frame, const TTDX_MSG& cur) {
        ReplyContext ctx{directories, stockCount, events, [this](const TTDX_MSG& m) { queued.push_back(m); }, area};
        return DecodeReply(frame, cur, ctx);
    }
};

const TTDX_MSG kInit0{CMD_INITMARKET, "", 0, 0, 0};

}  // namespace

TEST(RequestFrames, LayoutsAndLengths) {
    EXPECT_EQ(bodyOf(Frame_INITMARKET(1, 2000)), (Bytes{0x50, 0x04, 0x01, 0x00, 0xD0, 0x07}));
    const Frame init = Frame_INITMARKET(0, 0);
    EXPECT_EQ(Bytes(init.begin(), init.begin() + 10), (Bytes{0x0C, 0x09, 0x18, 0x6D, 0x00, 0x01, 6, 0, 6, 0}));

    const Frame days = Frame_DAYS("999999SH", 1, 0, 100);
    EXPECT_EQ(days.size(), 10u + 18);
    EXPECT_EQ(bodyOf(days), (Bytes{0x2C, 0x05, 1, 0, '9', '9', '9', '9', '9', '9', 4, 0, 1, 0, 0, 0, 100, 0}));
    EXPECT_EQ(bodyOf(Frame_MINS("399001SZ", 0, 0)),
              (Bytes{0x1D, 0x05, 0, 0, '3', '9', '9', '0', '0', '1', 0, 0, 0, 0}));
    EXPECT_EQ(bodyOf(Frame_DEALS("0006", 0, 4000, 6000)),
              (Bytes{0xC5, 0x0F, 0, 0, '0', '0', '0', '6', 0, 0, 0xA0, 0x0F, 0x70, 0x17}));
    for (const Frame& f : {Frame_INITMARKET(0, 0), days, Frame_DEALS("000001", 0, 0, 2000)}) {
        EXPECT_EQ(f[6], f[8]);
        EXPECT_EQ(f[7], f[9]);
        EXPECT_EQ(f.size(), 10u + (f[6] | (f[7] << 8)));
    }
}

TEST(RequestFrames, SnapshotSuffixesAndDroppedPieces) {
    MarketDirectories dirs;
    const Frame two = Frame_PK("600030SH,000630sz", dirs);
    EXPECT_EQ(two[6], 12 + 14);
    EXPECT_EQ(bodyOf(two), (Bytes{0x3E, 0x05, 0x50, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, '6', '0', '0', '0', '3', '0', 0,
                                  '0', '0', '0', '6', '3', '0'}));
    const Frame none = Frame_PK("00001,", dirs);
    EXPECT_EQ(none.size(), 22u);
    EXPECT_EQ(none[6], 12);
    EXPECT_EQ(none[20], 0);

    const TTDX_STOCKINFO r = stockRecord(111);  // 600111 in Shanghai
    dirs.assign(1, 0, {&r, 1});
    const Frame looked = Frame_PK("600111,600112", dirs);
    EXPECT_EQ(looked[10 + 12], 1);
    EXPECT_EQ(looked[10 + 19], 255);
}

TEST(ReplyDecoding, DirectoryInBatchesOfAThousand) {
    Decoding d;
    EXPECT_EQ(d.decode(replyFrame(directoryBody(0, 1000), true), kInit0), 1104);
    ASSERT_EQ(d.queued.size(), 1u);
    EXPECT_EQ(d.queued[0], (TTDX_MSG{CMD_INITMARKET, "", 0, 1000, 0}));
    EXPECT_EQ(d.initEvents, 0);
    d.decode(replyFrame(directoryBody(1000, 437)), {CMD_INITMARKET, "", 0, 1000, 0});
    EXPECT_EQ(d.initEvents, 1);
    EXPECT_EQ(d.initCount, 1437);
    EXPECT_EQ(d.directories.FindMarket("601436", ""), 0);

    // A new initialisation rebuilds from position 0.
    d.stockCount[0] = 0;
    d.decode(replyFrame(directoryBody(5, 3)), kInit0);
    EXPECT_EQ(d.directories.market(0).size(), 3u);
    EXPECT_EQ(d.initCount, 3);
}

TEST(ReplyDecoding, CountOnlyReplyCompletesTheDirectory) {
    for (const Bytes& last : {Bytes{0, 0}, Bytes{}}) {
        Decoding d;
        d.decode(replyFrame(directoryBody(0, 1000)), kInit0);
        EXPECT_EQ(d.decode(replyFrame(last), {CMD_INITMARKET, "", 0, 1000, 0}), -1);
        EXPECT_EQ(d.initEvents, 1);
        EXPECT_EQ(d.initCount, 1000);
    }
    Decoding other;  // other commands keep the short-body rule
    EXPECT_EQ(other.decode(replyFrame({0, 0}), {CMD_DEALS, "000001", 0, 0, 2000}), -1);
    EXPECT_EQ(other.dealsEvents, 0);
}

TEST(ReplyDecoding, EmptyAndShortBodies) {
    Decoding d;
    EXPECT_EQ(d.decode(replyFrame({0, 0, 0}), {CMD_DEALS, "000001", 0, 0, 2000}), 4037);
    EXPECT_EQ(d.dealsEvents, 1);
    EXPECT_EQ(d.dealsCount, 0);

    // Count 3 but one whole trade: the complete one is delivered.
    Bytes body{3, 0, 0x3A, 0x02, 0x81, 0x10, 0x05, 0x01, 0x00, 0x00, 0x3B, 0x02};
    d.decode(replyFrame(body), {CMD_DEALS, "000001", 0, 0, 2000});
    EXPECT_EQ(d.dealsCount, 1);

    // Flag clear: copied, not inflated, even when the two lengths differ.
    Bytes frame = replyFrame({1, 0, 0x3A, 0x02, 0x81, 0x10, 0x05, 0x01, 0x00, 0x00});
    frame[14] = 0x20;  // claims 32 unpacked bytes
    d.decode(frame, {CMD_DEALS, "000001", 0, 0, 2000});
    EXPECT_EQ(d.dealsCount, 1);

    // A corrupt compressed body decodes nothing but still answers the command.
    Bytes bad = replyFrame(directoryBody(0, 10), true);
    bad[20] ^= 0xFF;
    const int before = d.initEvents;
    EXPECT_EQ(d.decode(bad, kInit0), 1104);
    EXPECT_EQ(d.initEvents, before);
}

TEST(ReplyDecoding, DayReplyNamesTheStockFromTheDirectory) {
    Decoding d;
    TTDX_STOCKINFO index{};
    std::memcpy(index.Code, "999999", 6);
    std::memcpy(index.Name, "\xC9\xCF\xD6\xA4\xD6\xB8\xCA\xFD", 8);
    d.directories.assign(1, 0, {&index, 1});
    d.decode(replyFrame({0, 0, 0}), {CMD_DAYS, "999999SH", 1, 0, 100});
    EXPECT_EQ(d.dayCode, "999999");
    EXPECT_EQ(d.dayName, "\xC9\xCF\xD6\xA4\xD6\xB8\xCA\xFD");
    EXPECT_EQ(d.directories.CurDayCode, "999999");
    EXPECT_EQ(d.directories.CurDayMarket, 1);
}
