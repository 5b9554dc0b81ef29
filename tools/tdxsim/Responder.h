// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "SyntheticMarket.h"

using Bytes = std::vector<std::uint8_t>;

// Turns one request frame into the reply frame a real server would send: bytes 1-4 of
// the request echoed in header bytes 5-8, the body zlib-compressed (flag byte 0x1C) when
// it is long enough for that to make it smaller, else plain (0x0C). An empty answer is a
// body holding only its count of 0. Replies depend only on the request, the market and
// the second of the day they are asked at, so equal runs serve equal bytes.
class Responder {
public:
    // Largest answers a real server gives.
    static constexpr std::size_t kDirectoryBatch = 1000;
    static constexpr std::size_t kMaxSnapshots = 80;
    static constexpr std::size_t kMaxTrades = 2000;
    static constexpr std::size_t kMaxDays = 800;
    // A second after the close, when the whole day is served.
    static constexpr int kAfterClose = 24 * 3600 - 1;

    explicit Responder(const SyntheticMarket& market) : m_market(market) {}
    Bytes reply(std::span<const std::uint8_t> request, int second = kAfterClose) const;

    static Bytes frame(std::span<const std::uint8_t> request, const Bytes& body);

private:
    Bytes directory(int market, std::size_t start) const;
    Bytes snapshots(std::span<const std::uint8_t> body, int second) const;
    Bytes minutes(const Security& s, int second) const;
    Bytes days(const Security& s, std::size_t start, std::size_t count, bool floatVolume, int second) const;
    Bytes trades(const Security& s, std::size_t start, std::size_t count, int second) const;

    const SyntheticMarket& m_market;
};
