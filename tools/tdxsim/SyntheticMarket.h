// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "TDXGrobal.h"

// The synthetic market tdxsim serves: the same for the same seed and date on every
// machine. Our own generator and only the basic IEEE operations are used (no library
// distributions, no exp or log), so no libm difference can change a byte.
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // 0 .. n-1 (0 when n is 0)
    std::uint32_t below(std::uint32_t n) { return n == 0 ? 0 : static_cast<std::uint32_t>(next() % n); }
    // Roughly normal with mean 0 and deviation 1 (sum of four uniforms).
    double normal() {
        double sum = 0;
        for (int i = 0; i < 4; ++i) sum += static_cast<double>(next() >> 11) * 0x1.0p-53;
        return (sum - 2.0) * 1.7320508075688772;
    }

private:
    std::uint64_t m_state;
};

// Seconds of the trading day.
namespace session {
constexpr int kAuction = 9 * 3600 + 25 * 60;         // 09:25:00, the opening call
constexpr int kMorningOpen = 9 * 3600 + 30 * 60;     // 09:30:00
constexpr int kMorningClose = 11 * 3600 + 30 * 60;   // 11:30:00, the last morning trade
constexpr int kAfternoonOpen = 13 * 3600;            // 13:00:00
constexpr int kClose = 15 * 3600;                    // 15:00:00, the closing call
constexpr int kMinutes = 240;
// The minute line (0..239) a trade at this second belongs to; the opening call counts
// to the first minute, the 11:30 and 15:00 trades to the last minute of their session.
int minuteOf(int second);
// The first second after minute line i.
int minuteEnd(int i);
}  // namespace session

enum class SecurityKind { Stock, Index, Fund };

// One tick trade. Prices are in 0.01 yuan (index points x 100), volumes in lots.
struct Trade {
    std::int32_t second;
    std::int32_t price;
    std::int32_t volume;
    std::uint16_t num;
    std::uint8_t side;  // 0 active buy, 1 active sell, 2 neutral
};

// What the trades up to a moment add up to; all zero before the first trade.
struct TapeState {
    std::size_t count = 0;
    std::int32_t open = 0, high = 0, low = 0, last = 0;
    std::int64_t volume = 0;
    std::int64_t outer = 0;  // bought at the ask: side 0
    std::int64_t inner = 0;  // sold at the bid: side 1
    double amount = 0;       // yuan
    std::int32_t lastVolume = 0;
    std::uint16_t up = 0, down = 0;  // indices: constituents above and below their previous close
    bool traded() const { return last != 0; }
};

struct MinuteBar {
    std::int32_t price;  // last price of the minute, or the last one before it
    std::int64_t volume;
    double averagePrice;  // volume-weighted from the open, in 0.01 yuan
};

struct DayBar {
    std::uint32_t date;  // yyyymmdd
    std::int32_t open, high, low, close;
    std::int64_t volume;
    double amount;
    std::uint16_t up, down;
};

struct Security {
    std::string code;
    std::string name;  // UTF-8
    int market = 0;
    SecurityKind kind = SecurityKind::Stock;
    int decimals = 2;
    std::int32_t prevClose = 0;  // 0.01 yuan
    bool liquid = false;
    // Static data of the stock directory table; indices and funds have none.
    double floatShares = 0;  // 10,000 shares
    double band = 0;         // percent
    std::string region, industry, concepts;
    // Stocks and funds: the day's trades in time order.
    std::vector<Trade> trades;
    // Indices: the state after the opening call and after each minute, and the history.
    std::vector<TapeState> checkpoints;
    std::vector<DayBar> indexHistory;
};

class SyntheticMarket {
public:
    SyntheticMarket(std::uint64_t seed, int date);

    const std::vector<Security>& securities(int market) const { return m_securities[market & 1]; }
    // The directory records of a market in the order the server sends them.
    const std::vector<TTDX_STOCKINFO>& directory(int market) const { return m_directory[market & 1]; }
    int date() const { return m_date; }
    // The trading days before today, oldest first.
    const std::vector<std::uint32_t>& historyDates() const { return m_historyDates; }

    const Security* find(int market, std::string_view code) const;

    // The trades done by this second of the day.
    std::span<const Trade> tradesUntil(const Security& s, int second) const;
    TapeState stateAt(const Security& s, int second) const;
    std::array<MinuteBar, session::kMinutes> minutesAt(const Security& s, int second) const;
    // The history and, once traded, today's line; oldest first.
    std::vector<DayBar> daysAt(const Security& s, int second) const;

private:
    std::vector<DayBar> stockHistory(const Security& s) const;
    void buildIndices();

    std::vector<Security> m_securities[2];
    std::vector<TTDX_STOCKINFO> m_directory[2];
    std::vector<std::uint32_t> m_historyDates;
    std::uint64_t m_seed;
    int m_date;
};
