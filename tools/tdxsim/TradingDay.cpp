// SPDX-License-Identifier: GPL-3.0-or-later
#include "TradingDay.h"

#include <algorithm>
#include <cmath>

#include "CivilDate.h"

namespace session {

int minuteOf(int second) {
    if (second < kMorningOpen) return 0;
    if (second <= kMorningClose) return std::min((second - kMorningOpen) / 60, 119);
    if (second < kAfternoonOpen) return 119;
    return std::min(120 + (second - kAfternoonOpen) / 60, 239);
}

int minuteEnd(int i) {
    if (i < 119) return kMorningOpen + 60 * (i + 1);
    if (i == 119) return kMorningClose + 1;
    if (i < 239) return kAfternoonOpen + 60 * (i - 119);
    return kClose + 1;
}

}  // namespace session

namespace {

std::int32_t clampPrice(double cents, std::int32_t low, std::int32_t high) {
    // floor(x + 0.5) is exact IEEE arithmetic, the same on every machine.
    const auto rounded = static_cast<std::int32_t>(std::floor(cents + 0.5));
    return std::clamp(rounded, low, high);
}

// More trades just after each open and before each close.
double minuteWeight(int minute) {
    const int j = minute % 120;
    const double shape = 1.0 + 6.0 / (j + 3) + 4.0 / (122 - j);
    return minute < 120 ? 1.2 * shape : shape;
}

// A volume in lots whose amount (lots x price in 0.01 yuan = yuan) falls into one of the
// four order classes: mostly small, some medium, fewer large and super-large.
std::int32_t drawVolume(SplitMix64& r, std::int32_t price) {
    const std::uint32_t u = r.below(100);
    const std::int64_t p = price;
    std::int64_t lo = 1, hi = 100000 / p;
    if (u >= 68 || hi < 1) {
        if (u < 88) lo = 100000 / p + 1, hi = 500000 / p;
        else if (u < 95) lo = 500000 / p + 1, hi = 1000000 / p;
        else lo = 1000000 / p + 1, hi = 4 * lo;
        if (hi < lo) hi = lo;
        return static_cast<std::int32_t>(lo + r.below(static_cast<std::uint32_t>(hi - lo + 1)));
    }
    // Skewed towards small lots, as retail trades are.
    const auto span = static_cast<std::uint32_t>(hi);
    return static_cast<std::int32_t>(1 + (static_cast<std::uint64_t>(r.below(span)) * r.below(span)) / span);
}

std::uint16_t drawNum(SplitMix64& r, std::int32_t volume) {
    return static_cast<std::uint16_t>(std::min<std::int64_t>(1 + r.below(1 + volume / 30), 65535));
}

}  // namespace

std::int32_t upperLimit(std::int32_t prevClose) { return static_cast<std::int32_t>((prevClose * 11LL + 5) / 10); }
std::int32_t lowerLimit(std::int32_t prevClose) { return static_cast<std::int32_t>((prevClose * 9LL + 5) / 10); }

void generateTrades(Security& s, std::uint64_t seed) {
    using namespace session;
    SplitMix64 r(seed);
    const std::int32_t pc = s.prevClose;
    const std::int32_t up = upperLimit(pc), down = lowerLimit(pc);
    const int continuous = s.liquid ? 5500 + static_cast<int>(r.below(3500)) : 150 + static_cast<int>(r.below(1100));

    const double move = std::clamp(r.normal() * 0.03, -0.12, 0.12);
    const std::int32_t open = clampPrice(pc * (1.0 + r.normal() * 0.008), down, up);
    const std::int32_t close = clampPrice(pc * (1.0 + move), down, up);

    // The minute mids: a bridge from the open to the close with random wander between.
    double mid[kMinutes];
    double walk = 0;
    const double sigma = pc * 0.0015;
    for (int i = 0; i < kMinutes; ++i) mid[i] = (walk += r.normal() * sigma);
    for (int i = 0; i < kMinutes; ++i) {
        const double f = (i + 1) / static_cast<double>(kMinutes);
        mid[i] = open + (close - open) * f + mid[i] - walk * f;
    }

    double totalWeight = 0;
    for (int i = 0; i < kMinutes; ++i) totalWeight += minuteWeight(i);
    const double tick = std::max(1.0, std::floor(pc / 2000.0 + 0.5));

    s.trades.clear();
    s.trades.reserve(static_cast<std::size_t>(continuous) + 3);
    const auto auctionVolume = [&] {
        return static_cast<std::int32_t>((20 + r.below(200)) * (s.liquid ? 20 : 3) * 1000 / std::max(pc, 100));
    };
    const auto call = [&](int second, std::int32_t price) {
        const std::int32_t v = std::max(1, auctionVolume());
        s.trades.push_back({second, price, v, drawNum(r, v), 2});
    };
    call(kAuction, open);

    std::int32_t last = open;
    double cumulative = 0;
    int placed = 0;
    std::vector<int> seconds;
    for (int i = 0; i < kMinutes; ++i) {
        cumulative += minuteWeight(i);
        const int target = static_cast<int>(std::floor(continuous * cumulative / totalWeight + 0.5));
        const int k = target - placed;
        placed = target;
        const int start = i < 120 ? kMorningOpen + 60 * i : kAfternoonOpen + 60 * (i - 120);
        seconds.resize(static_cast<std::size_t>(k));
        for (int& sec : seconds) sec = start + static_cast<int>(r.below(60));
        std::sort(seconds.begin(), seconds.end());
        const double from = i == 0 ? open : mid[i - 1];
        for (const int sec : seconds) {
            const double f = (sec - start) / 60.0;
            const double jitter = (static_cast<int>(r.below(3)) - 1) * tick;
            const std::int32_t price = clampPrice(from + (mid[i] - from) * f + jitter, down, up);
            std::uint8_t side = price > last ? 0 : price < last ? 1 : static_cast<std::uint8_t>(r.below(2));
            if (r.below(50) == 0) side = 2;
            const std::int32_t volume = drawVolume(r, price);
            s.trades.push_back({sec, price, volume, drawNum(r, volume), side});
            last = price;
        }
        if (i == 119) {
            const std::int32_t volume = drawVolume(r, last);
            s.trades.push_back({kMorningClose, last, volume, drawNum(r, volume), static_cast<std::uint8_t>(r.below(2))});
        }
    }
    call(kClose, close);
}

std::vector<DayBar> generateHistory(const Security& s, std::uint64_t seed, std::span<const std::uint32_t> dates) {
    SplitMix64 r(seed);
    const std::size_t n = dates.size();
    std::vector<DayBar> bars(n);
    if (n == 0) return bars;
    std::int64_t todayVolume = 0;
    for (const Trade& t : s.trades) todayVolume += t.volume;
    // Closes backwards from the previous close of today.
    std::vector<std::int32_t> close(n);
    close[n - 1] = s.prevClose;
    for (std::size_t d = n - 1; d > 0; --d) {
        const double change = std::clamp(r.normal() * 0.022, -0.095, 0.095);
        close[d - 1] = std::max<std::int32_t>(1, static_cast<std::int32_t>(std::floor(close[d] / (1.0 + change) + 0.5)));
    }
    for (std::size_t d = 0; d < n; ++d) {
        const std::int32_t prev = d > 0 ? close[d - 1] : close[0];
        const std::int32_t up = upperLimit(prev), down = lowerLimit(prev);
        DayBar& b = bars[d];
        b.date = dates[d];
        b.close = std::clamp(close[d], down, up);
        b.open = clampPrice(prev * (1.0 + r.normal() * 0.008), down, up);
        const double reach = prev * 0.012;
        b.high = clampPrice(std::max(b.open, b.close) + reach * (r.below(1000) / 1000.0), down, up);
        b.low = clampPrice(std::min(b.open, b.close) - reach * (r.below(1000) / 1000.0), down, up);
        b.low = std::max<std::int32_t>(1, b.low);
        b.volume = std::max<std::int64_t>(1, todayVolume * (500 + r.below(1000)) / 1000);
        b.amount = static_cast<double>(b.volume) * ((b.open + b.high + b.low + b.close) / 4.0);
        b.up = b.down = 0;
    }
    return bars;
}

std::vector<std::uint32_t> tradingDaysBefore(int date, int count) {
    std::vector<std::uint32_t> days;
    int z = civil::daysFromCivil(date / 10000, date / 100 % 100, date % 100);
    while (static_cast<int>(days.size()) < count) {
        --z;
        if (civil::weekdayFromDays(z) < 5) days.push_back(static_cast<std::uint32_t>(civil::yyyymmddFromDays(z)));
    }
    std::reverse(days.begin(), days.end());
    return days;
}
