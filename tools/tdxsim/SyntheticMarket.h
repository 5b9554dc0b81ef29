// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "TDXGrobal.h"

// The synthetic market tdxsim serves: the same for the same seed and date on every
// machine (our own generator, no library distributions).
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // 0 .. n-1
    std::uint32_t below(std::uint32_t n) { return static_cast<std::uint32_t>(next() % n); }

private:
    std::uint64_t m_state;
};

enum class SecurityKind { Stock, Index, Fund };

struct Security {
    std::string code;
    std::string name;  // UTF-8
    int market = 0;
    SecurityKind kind = SecurityKind::Stock;
    int decimals = 2;
    float prevClose = 0;
};

class SyntheticMarket {
public:
    SyntheticMarket(std::uint64_t seed, int date);

    const std::vector<Security>& securities(int market) const { return m_securities[market & 1]; }
    // The directory records of a market in the order the server sends them.
    const std::vector<TTDX_STOCKINFO>& directory(int market) const { return m_directory[market & 1]; }
    int date() const { return m_date; }

private:
    std::vector<Security> m_securities[2];
    std::vector<TTDX_STOCKINFO> m_directory[2];
    int m_date;
};
