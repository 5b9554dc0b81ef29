// SPDX-License-Identifier: GPL-3.0-or-later
#include "Responder.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kCompressAbove = 128;
constexpr std::size_t kDirectoryBatch = 1000;

void putU16(Bytes& b, std::size_t v) {
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

std::uint16_t u16At(std::span<const std::uint8_t> b, std::size_t at) {
    return at + 1 < b.size() ? static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8)) : 0;
}

}  // namespace

Bytes Responder::frame(std::span<const std::uint8_t> request, const Bytes& body) {
    Bytes wire = body;
    bool compressed = false;
    if (body.size() > kCompressAbove) {
        uLongf size = compressBound(static_cast<uLong>(body.size()));
        Bytes packed(size);
        if (compress2(packed.data(), &size, body.data(), static_cast<uLong>(body.size()), 6) == Z_OK &&
            size < body.size()) {
            packed.resize(size);
            wire = std::move(packed);
            compressed = true;
        }
    }
    Bytes f{0xB1, 0xCB, 0x74, 0x00, static_cast<std::uint8_t>(compressed ? 0x1C : 0x0C)};
    for (std::size_t i = 1; i <= 4; ++i) f.push_back(i < request.size() ? request[i] : 0);
    f.insert(f.end(), {0, 0, 0});
    putU16(f, wire.size());
    putU16(f, body.size());
    f.insert(f.end(), wire.begin(), wire.end());
    return f;
}

Bytes Responder::directory(int market, std::size_t start) const {
    const auto& dir = m_market.directory(market);
    const std::size_t from = std::min(start, dir.size());
    const std::size_t n = std::min(kDirectoryBatch, dir.size() - from);
    Bytes body;
    putU16(body, n);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(dir.data() + from);
    body.insert(body.end(), bytes, bytes + n * sizeof(TTDX_STOCKINFO));
    return body;
}

Bytes Responder::reply(std::span<const std::uint8_t> request) const {
    const std::span<const std::uint8_t> body = request.size() > 10 ? request.subspan(10) : request.subspan(0, 0);
    const std::uint16_t command = u16At(body, 0);
    Bytes answer;
    switch (command) {
        case 1104: {
            const int market = u16At(body, 2);
            answer = market <= 1 ? directory(market, u16At(body, 4)) : Bytes{0, 0};
            break;
        }
        default:
            answer = {0, 0};  // nothing to tell: a count of 0
            break;
    }
    return frame(request, answer);
}
