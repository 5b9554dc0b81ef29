// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "TDXAsm.h"
#include "TDXGrobal.h"

// Request frames and the decoding of reply frames: everything the quote client says
// and hears, without the socket. The byte layouts are described in docs/quote-protocol.md.

enum : std::uint32_t {
    CMD_INITMARKET = 1104,
    CMD_MINS = 1309,
    CMD_DAYS = 1324,
    CMD_PKDAT = 1342,
    CMD_DEALS = 4037,
};

constexpr std::uint32_t kReplyMagic = 7654321;
constexpr std::size_t kReplyHeaderSize = 16;
constexpr std::size_t kBodyCapacity = 65536;
constexpr std::size_t kDirectoryBatch = 1000;

extern const char* const MarketSuffix[2];  // "SZ", "SH"

// One queued request.
struct TTDX_MSG {
    std::uint32_t MsgType = 0;
    std::string Code;
    std::uint32_t Market = 0;
    std::uint32_t Start = 0;
    std::uint32_t Count = 0;
    bool operator==(const TTDX_MSG&) const = default;
};

#pragma pack(push, 1)
// The identity of the security a minute, day or tick reply is about.
struct TCallBackStockInfo {
    char Code[6];
    char Name[8];  // GBK, zero-padded
    std::int16_t Market;
};
#pragma pack(pop)
static_assert(sizeof(TCallBackStockInfo) == 16);

using Frame = std::vector<std::uint8_t>;

Frame Frame_INITMARKET(std::uint32_t market, std::uint32_t start);
Frame Frame_MINS(std::string_view code, std::uint32_t market, std::uint32_t day);
Frame Frame_DAYS(std::string_view code, std::uint32_t market, std::uint32_t start, std::uint32_t count);
Frame Frame_DEALS(std::string_view code, std::uint32_t market, std::uint32_t start, std::uint32_t count);
// Entries are "CODE" plus an optional "SZ"/"SH" suffix (any case); pieces shorter than
// six characters are dropped; an entry without a known suffix takes its market from
// the directory (255 when unknown).
Frame Frame_PK(std::string_view codes, const MarketDirectories& directories);

// The decode events; an unassigned one is skipped. What they are given lives only while
// they run.
struct TDXDecodeEvents {
    std::function<void(std::span<const TTDX_STOCKINFO> data, std::uint8_t Market, int Count)> OnDecodePacket_INITMARKET;
    std::function<void(std::span<const TTDX_PKDAT> data, int StockCount)> OnDecodePacket_PKDAT;
    std::function<void(TCallBackStockInfo& StockInfo, std::span<const TTDX_DAYInfo> data, int start, int daysCount)>
        OnDecodePacket_DAYS;
    std::function<void(TCallBackStockInfo& StockInfo, std::span<const TTDX_DEALInfo> data, int start, int Count)>
        OnDecodePacket_DEALS;
    std::function<void(TCallBackStockInfo& StockInfo, std::span<const TTDX_MIN> data, int start, int Count)>
        OnDecodePacket_MINS;
};

// What decoding a reply reads and changes besides the events.
struct ReplyContext {
    MarketDirectories& directories;
    std::uint32_t (&StockCount)[2];
    const TDXDecodeEvents& events;
    // Queues the continuation of a market initialisation.
    std::function<void(const TTDX_MSG&)> addMsg;
    // The reusable unpacked-body area, at least kBodyCapacity bytes.
    std::span<std::uint8_t> body;
};

// Decodes one reply frame (16-byte header, then the wire body) as the answer to `cur`.
// Returns -1 when the unpacked length is 2 or less, else cur.MsgType. Never reads past
// the unpacked length, the wire bytes given or the body area; a body shorter than its
// count delivers its complete records only, with the count they make.
int DecodeReply(std::span<const std::uint8_t> frame, const TTDX_MSG& cur, ReplyContext& context);
