// SPDX-License-Identifier: GPL-3.0-or-later
#include "TDXEDCode.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

const char* const MarketSuffix[2] = {"SZ", "SH"};

namespace {

// A snapshot request's 16-bit body length holds at most this many entries.
constexpr std::size_t kMaxSnapshotEntries = (0xFFFF - 12) / 7;

class FrameWriter {
public:
    FrameWriter(std::initializer_list<std::uint8_t> constants, std::size_t bodyLength) {
        m_frame.push_back(0x0C);
        for (std::uint8_t c : constants) m_frame.push_back(c);
        u16(static_cast<std::uint16_t>(bodyLength));
        u16(static_cast<std::uint16_t>(bodyLength));
    }
    FrameWriter& u8(std::uint8_t v) {
        m_frame.push_back(v);
        return *this;
    }
    FrameWriter& u16(std::uint32_t v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
    FrameWriter& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    // char[6]: the first six characters, zero-padded.
    FrameWriter& code6(std::string_view code) {
        for (std::size_t i = 0; i < 6; ++i) u8(i < code.size() ? static_cast<std::uint8_t>(code[i]) : 0);
        return *this;
    }
    Frame take() { return std::move(m_frame); }

private:
    Frame m_frame;
};

std::uint16_t u16At(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return (x >= 'a' && x <= 'z' ? x - 32 : x) == (y >= 'a' && y <= 'z' ? y - 32 : y);
           });
}

TCallBackStockInfo stockInfo(std::string_view code6, std::uint32_t market, const MarketDirectories& directories) {
    TCallBackStockInfo info{};
    if (!code6.empty()) std::memcpy(info.Code, code6.data(), std::min<std::size_t>(code6.size(), 6));
    const std::string_view name = directories.StockNameGbk(code6, static_cast<int>(market));
    if (!name.empty()) std::memcpy(info.Name, name.data(), std::min<std::size_t>(name.size(), 8));
    info.Market = static_cast<std::int16_t>(market);
    return info;
}

// Books one directory batch; true when the market's directory is complete.
void bookDirectoryBatch(std::span<const std::uint8_t> records, std::size_t n, std::uint32_t m, ReplyContext& ctx) {
    std::vector<TTDX_STOCKINFO> batch(std::min(n, records.size() / sizeof(TTDX_STOCKINFO)));
    if (!batch.empty()) std::memcpy(batch.data(), records.data(), batch.size() * sizeof(TTDX_STOCKINFO));
    ctx.directories.assign(static_cast<int>(m), ctx.StockCount[m], batch);
    ctx.StockCount[m] += static_cast<std::uint32_t>(batch.size());
    if (batch.size() == kDirectoryBatch) {
        if (ctx.addMsg) ctx.addMsg(TTDX_MSG{CMD_INITMARKET, "", m, ctx.StockCount[m], 0});
    } else if (ctx.events.OnDecodePacket_INITMARKET) {
        ctx.events.OnDecodePacket_INITMARKET(ctx.directories.market(static_cast<int>(m)), static_cast<std::uint8_t>(m),
                                             static_cast<int>(ctx.StockCount[m]));
    }
}

}  // namespace

Frame Frame_INITMARKET(std::uint32_t market, std::uint32_t start) {
    return FrameWriter({0x09, 0x18, 0x6D, 0x00, 0x01}, 6).u16(CMD_INITMARKET).u16(market).u16(start).take();
}

Frame Frame_MINS(std::string_view code, std::uint32_t market, std::uint32_t day) {
    return FrameWriter({0x1B, 0x08, 0x00, 0x01, 0x01}, 14)
        .u16(CMD_MINS).u8(static_cast<std::uint8_t>(market)).u8(0).code6(code).u32(day).take();
}

Frame Frame_DAYS(std::string_view code, std::uint32_t market, std::uint32_t start, std::uint32_t count) {
    return FrameWriter({0x01, 0x08, 0x64, 0x01, 0x01}, 18)
        .u16(CMD_DAYS).u8(static_cast<std::uint8_t>(market)).u8(0).code6(code)
        .u16(4).u16(1).u16(start).u16(count).take();
}

Frame Frame_DEALS(std::string_view code, std::uint32_t market, std::uint32_t start, std::uint32_t count) {
    return FrameWriter({0x06, 0x08, 0x00, 0x01, 0x01}, 14)
        .u16(CMD_DEALS).u8(static_cast<std::uint8_t>(market)).u8(0).code6(code).u16(start).u16(count).take();
}

Frame Frame_PK(std::string_view codes, const MarketDirectories& directories) {
    std::vector<std::string_view> pieces;
    for (std::size_t from = 0;;) {
        const std::size_t comma = codes.find(',', from);
        const std::string_view piece = codes.substr(from, comma == std::string_view::npos ? comma : comma - from);
        if (piece.size() >= 6 && pieces.size() < kMaxSnapshotEntries) pieces.push_back(piece);
        if (comma == std::string_view::npos) break;
        from = comma + 1;
    }
    FrameWriter w({0x05, 0x04, 0x0A, 0x00, 0x02}, 12 + 7 * pieces.size());
    w.u16(CMD_PKDAT).u16(80).u32(0).u16(0).u16(static_cast<std::uint32_t>(pieces.size()));
    for (std::string_view piece : pieces) {
        const std::string_view code = piece.substr(0, 6), suffix = piece.substr(6);
        int market = equalsIgnoringCase(suffix, MarketSuffix[0])   ? 0
                     : equalsIgnoringCase(suffix, MarketSuffix[1]) ? 1
                                                                   : directories.FindMarket(code, suffix);
        w.u8(static_cast<std::uint8_t>(market)).code6(code);
    }
    return w.take();
}

int DecodeReply(std::span<const std::uint8_t> frame, const TTDX_MSG& cur, ReplyContext& ctx) {
    if (frame.size() < kReplyHeaderSize) return -1;
    const std::size_t P = u16At(frame, 12), U = u16At(frame, 14);
    const bool compressed = frame[4] & 0x10;
    const std::span<const std::uint8_t> wire = frame.subspan(kReplyHeaderSize, std::min(P, frame.size() - kReplyHeaderSize));

    // Unpack into the body area; a failed inflate leaves nothing to decode.
    std::size_t length = 0;
    bool unpacked = true;
    if (compressed) {
        uLongf room = std::min(U, ctx.body.size());
        unpacked = ::uncompress(ctx.body.data(), &room, wire.data(), static_cast<uLong>(wire.size())) == Z_OK;
        length = unpacked ? room : 0;
    } else {
        length = std::min({wire.size(), U, ctx.body.size()});
        if (length > 0) std::memcpy(ctx.body.data(), wire.data(), length);
    }
    const std::span<const std::uint8_t> body(ctx.body.data(), length);
    const std::uint32_t m = cur.Market;

    if (U <= 2) {
        // Real servers answer the continuation past a market's last record with only a
        // count of 0: that completes the directory like a short batch does.
        const bool emptyBatch = unpacked && (length == 0 || (length >= 2 && u16At(body, 0) == 0));
        if (cur.MsgType == CMD_INITMARKET && m <= 1 && emptyBatch) bookDirectoryBatch({}, 0, m, ctx);
        return -1;
    }
    const int result = static_cast<int>(cur.MsgType);
    if (!unpacked) return result;

    const std::string_view code6 = std::string_view(cur.Code).substr(0, 6);
    const std::size_t countAt = cur.MsgType == CMD_PKDAT ? 2 : 0;
    if (body.size() < countAt + 2) return result;
    const int n = u16At(body, countAt);
    const auto s = static_cast<int>(cur.Start);

    switch (cur.MsgType) {
        case CMD_INITMARKET:
            if (m <= 1) bookDirectoryBatch(body.subspan(2), static_cast<std::size_t>(n), m, ctx);
            break;
        case CMD_MINS: {
            BodyCursor cursor{body, 4 <= body.size() ? 4u : body.size()};
            const auto mins = DecodeMinutes(cursor, n, ctx.directories.StockDecimals(code6, static_cast<int>(m)), code6,
                                            static_cast<int>(m));
            TCallBackStockInfo info = stockInfo(code6, m, ctx.directories);
            if (ctx.events.OnDecodePacket_MINS) ctx.events.OnDecodePacket_MINS(info, mins, s, static_cast<int>(mins.size()));
            break;
        }
        case CMD_DAYS: {
            ctx.directories.CurDayMarket = static_cast<int>(m);
            ctx.directories.CurDayCode = std::string(code6);
            BodyCursor cursor{body, 2};
            const auto days = DecodeDays(cursor, n, ctx.directories.HasDayExtra());
            TCallBackStockInfo info = stockInfo(code6, m, ctx.directories);
            if (ctx.events.OnDecodePacket_DAYS) ctx.events.OnDecodePacket_DAYS(info, days, s, static_cast<int>(days.size()));
            break;
        }
        case CMD_PKDAT: {
            std::vector<TTDX_PKDAT> snapshots;
            snapshots.reserve(static_cast<std::size_t>(std::min(n, 1024)));
            BodyCursor cursor{body, 4 <= body.size() ? 4u : body.size()};
            for (int i = 0; i < n; ++i) {
                TTDX_PKDAT r;
                if (!DecodeSnapshotEntry(cursor, ctx.directories, r)) break;
                snapshots.push_back(r);
            }
            if (ctx.events.OnDecodePacket_PKDAT) ctx.events.OnDecodePacket_PKDAT(snapshots, static_cast<int>(snapshots.size()));
            break;
        }
        case CMD_DEALS: {
            BodyCursor cursor{body, 2};
            const auto deals = DecodeDeals(cursor, n);
            TCallBackStockInfo info = stockInfo(code6, m, ctx.directories);
            if (ctx.events.OnDecodePacket_DEALS) ctx.events.OnDecodePacket_DEALS(info, deals, s, static_cast<int>(deals.size()));
            break;
        }
        default:
            break;
    }
    return result;
}
