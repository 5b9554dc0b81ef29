// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "SyntheticMarket.h"

using Bytes = std::vector<std::uint8_t>;

// Turns one request frame into the reply frame a real server would send: bytes 1-4 of
// the request echoed in header bytes 5-8, the body zlib-compressed (flag byte 0x1C) when
// it is long enough for that to make it smaller, else plain (0x0C). An empty answer is a
// body holding only its count of 0.
class Responder {
public:
    explicit Responder(const SyntheticMarket& market) : m_market(market) {}
    Bytes reply(std::span<const std::uint8_t> request) const;

    static Bytes frame(std::span<const std::uint8_t> request, const Bytes& body);

private:
    Bytes directory(int market, std::size_t start) const;

    const SyntheticMarket& m_market;
};
