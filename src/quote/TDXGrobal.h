// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The stock directories of both markets as the server sends them during market
// initialisation, and the lookups the protocol code needs. GUI thread only.

#pragma pack(push, 1)
// One directory entry, stored exactly as it arrives in a 1104 reply body.
struct TTDX_STOCKINFO {
    char Code[6];
    std::uint8_t Reserved1[2];
    char Name[8];                // GBK, zero-padded
    std::int16_t DayExtraFlag;   // 0: day records carry ExtraA and ExtraB
    std::uint8_t Reserved2[2];
    std::uint8_t Decimals;
    float PrevClose;
    std::uint8_t Reserved3[4];
};
#pragma pack(pop)
static_assert(sizeof(TTDX_STOCKINFO) == 29);

// A char[k] field as text: up to its first zero byte, at most k bytes.
std::string_view FixedText(const char* field, std::size_t size);

constexpr int kMarketShenzhen = 0;
constexpr int kMarketShanghai = 1;
constexpr int kNoMarket = 255;

class MarketDirectories {
public:
    // Market initialisation: the market's directory becomes exactly its first `start`
    // records followed by `records`.
    void assign(int market, std::size_t start, std::span<const TTDX_STOCKINFO> records);
    void clear();
    const std::vector<TTDX_STOCKINFO>& market(int market) const { return m_markets[market & 1]; }

    // 0 or 1, or 255 when no record matches; a code held by both markets gives 1.
    // A non-empty name (UTF-8) must match the record's name too.
    int FindMarket(std::string_view code, std::string_view name) const;
    // The name in UTF-8; markets 2 and above look in both, Shanghai winning.
    std::string StockName(std::string_view code, int market) const;
    // The same name as the GBK bytes of the record, for records that carry it on.
    std::string_view StockNameGbk(std::string_view code, int market) const;
    // The record's price decimals, or 2.
    int StockDecimals(std::string_view code, int market) const;
    // Whether the day-line reply being decoded (CurDayMarket, CurDayCode) carries the
    // two extra words per record.
    bool HasDayExtra() const;

    int CurDayMarket = 0;
    std::string CurDayCode;

private:
    const TTDX_STOCKINFO* first(int market, std::string_view code) const;

    std::vector<TTDX_STOCKINFO> m_markets[2];
    // Code to the position of its first record: the scan's first-match answer, faster.
    std::unordered_map<std::string, std::size_t> m_firstOf[2];
};

// The process-wide directories of the quote client.
MarketDirectories& TDXDirectories();
