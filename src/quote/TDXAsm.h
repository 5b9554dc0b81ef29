// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

class MarketDirectories;

// The reply records of the quote protocol and the decoders that turn the packed-number
// streams of reply bodies into them. Pure computation on a byte span: every decoder
// stops at the end of the span it is given and never reads past it.

#pragma pack(push, 1)
struct TTDX_MIN {
    std::uint8_t Reserved1[2];
    float Price;
    float AvgPrice;
    std::int32_t Volume;
    std::uint8_t Reserved2[12];
};
static_assert(sizeof(TTDX_MIN) == 26);

struct TTDX_DAYInfo {
    std::uint32_t Date;  // yyyymmdd
    float Open;
    float High;
    float Low;
    float Close;
    float Amount;
    std::int32_t Volume;
    std::uint16_t ExtraA;
    std::uint16_t ExtraB;
};
static_assert(sizeof(TTDX_DAYInfo) == 32);

struct TTDX_DEALInfo {
    std::uint16_t Time;   // minutes since midnight
    std::int32_t Price;   // 0.001 yuan
    std::int32_t Volume;
    std::int32_t Num;
    std::uint16_t Side;   // 0 buy, 1 sell, other neutral
};
static_assert(sizeof(TTDX_DEALInfo) == 16);

struct TTDX_PKDAT {
    std::uint8_t Market;
    char Code[6];
    std::uint8_t Reserved1;
    std::uint16_t HeadWord;
    std::uint8_t Reserved2[2];
    float PrevClose;
    float Open;
    float High;
    float Low;
    float Price;
    std::uint8_t Reserved3[4];
    float Number7;
    std::int32_t Volume;
    std::int32_t Number9;
    float Amount;
    std::int32_t InnerVolume;
    std::int32_t OuterVolume;
    float Number12;
    union {
        float Number13;            // codes beginning with a digit
        std::int32_t Number13Int;  // codes beginning with a letter
    };
    float BidPrice[5];
    std::int32_t BidVolume[5];
    float AskPrice[5];
    std::int32_t AskVolume[5];
    std::uint16_t TailWord;
    std::uint8_t Reserved4[8];
    std::uint8_t TailByte;
    float TailPrice1;
    float TailPrice2;
    float TailPrice3;
    float TailRatio;
    std::uint16_t TailWord2;
};
static_assert(sizeof(TTDX_PKDAT) == 177);
#pragma pack(pop)

// The packed-number decoder: its contract is that of the optional outside library.
// Reads one number at bytes[0..]; returns the bytes consumed (at least 1), or 0 when
// the number runs past `available` bytes (value then 0).
int BufToDouble(double& value, const std::uint8_t* bytes, std::size_t available);

// Loads the outside decoder library (TGear) when present, otherwise keeps the built-in
// decoder; called once at start-up. Returns whether the library serves.
bool BindBufToDouble();

// Truncation toward zero into 32 bits; NaN gives 0, out-of-range values saturate.
std::int32_t TruncToInt32(double x);

bool IsIndexCode(std::string_view code, int market);
// The price divisor of a security with `decimals` decimals: 100, or 1000 for 3, ...
float PriceDivisor(int decimals);

// A read position in a reply body.
struct BodyCursor {
    std::span<const std::uint8_t> body;
    std::size_t pos = 0;
};

// One snapshot entry at the cursor; true and the cursor after the entry when the entry
// is complete, false (cursor unchanged) when the body ends inside it.
bool DecodeSnapshotEntry(BodyCursor& cursor, const MarketDirectories& directories, TTDX_PKDAT& out);
// n entries of each kind; the result holds the complete records only.
std::vector<TTDX_MIN> DecodeMinutes(BodyCursor& cursor, int n, int decimals, std::string_view code, int market);
std::vector<TTDX_DAYInfo> DecodeDays(BodyCursor& cursor, int n, bool hasExtra);
std::vector<TTDX_DEALInfo> DecodeDeals(BodyCursor& cursor, int n);
