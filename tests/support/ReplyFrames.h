// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "TDXGrobal.h"

using Bytes = std::vector<std::uint8_t>;

inline void putU16(Bytes& b, unsigned v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}

// A reply frame as a server sends it: magic, flag byte, both lengths, body.
inline Bytes replyFrame(const Bytes& body, bool compress = false) {
    Bytes wire = body;
    if (compress) {
        uLongf size = compressBound(body.size());
        wire.resize(size);
        compress2(wire.data(), &size, body.data(), body.size(), 9);
        wire.resize(size);
    }
    Bytes f{0xB1, 0xCB, 0x74, 0x00, static_cast<std::uint8_t>(compress ? 0x1C : 0x0C), 0, 0, 0, 0, 0, 0, 0};
    putU16(f, static_cast<unsigned>(wire.size()));
    putU16(f, static_cast<unsigned>(body.size()));
    f.insert(f.end(), wire.begin(), wire.end());
    return f;
}

inline TTDX_STOCKINFO stockRecord(unsigned i) {
    TTDX_STOCKINFO r{};
    const std::string code = std::to_string(600000 + i);
    std::memcpy(r.Code, code.data(), 6);
    std::memcpy(r.Name, "name", 4);
    r.Decimals = 2;
    return r;
}

// A 1104 body of `count` records numbered from `first`.
inline Bytes directoryBody(unsigned first, unsigned count) {
    Bytes b;
    putU16(b, count);
    for (unsigned i = 0; i < count; ++i) {
        const TTDX_STOCKINFO r = stockRecord(first + i);
        const auto* p = reinterpret_cast<const std::uint8_t*>(&r);
        b.insert(b.end(), p, p + sizeof r);
    }
    return b;
}
