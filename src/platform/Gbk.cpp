// SPDX-License-Identifier: GPL-3.0-or-later
#include "Gbk.h"

#include <array>
#include <cstdint>
#include <memory>

namespace {

constexpr int kTrailFirst = 0x40;
constexpr int kTrailCount = 0xFF - kTrailFirst;

// Rows: lead bytes 0x81..0xFE; columns: trail bytes 0x40..0xFE; 0 = unassigned.
constexpr std::uint16_t kDecodeTable[126][kTrailCount] = {
#include "GbkTable.inc"
};

constexpr char32_t kEuroSign = 0x20AC;  // the one single-byte character above ASCII: 0x80
constexpr char32_t kReplacement = 0xFFFD;

struct EncodeTable {
    std::array<std::uint16_t, 0x10000> gbkOf{};  // UTF-16 unit to GBK pair, 0 = none
    EncodeTable() {
        for (int lead = 0; lead < 126; ++lead)
            for (int trail = 0; trail < kTrailCount; ++trail)
                if (std::uint16_t u = kDecodeTable[lead][trail])
                    gbkOf[u] = static_cast<std::uint16_t>(((lead + 0x81) << 8) | (trail + kTrailFirst));
    }
};

const EncodeTable& encodeTable() {
    static const auto table = std::make_unique<EncodeTable>();
    return *table;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Reads one UTF-8 sequence at text[i]; returns its code point and advances i, or
// returns kReplacement and advances by one byte when the sequence is malformed.
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    int length = b0 < 0x80 ? 1 : (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > text.size()) {
        ++i;
        return kReplacement;
    }
    char32_t c = length == 1 ? b0 : b0 & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        c = (c << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kMinimum[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++i;
        return kReplacement;
    }
    i += length;
    return c;
}

}  // namespace

namespace gbk {

std::string toUtf8(std::string_view bytes, int* replaced) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    int bad = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        if (b == 0x80) {
            appendUtf8(out, kEuroSign);
            ++i;
            continue;
        }
        const bool hasTrail = b != 0xFF && i + 1 < bytes.size();
        const auto t = hasTrail ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        if (!hasTrail || t < kTrailFirst || t == 0x7F || t == 0xFF) {
            appendUtf8(out, kReplacement);
            ++bad;
            ++i;
            continue;
        }
        const char32_t c = kDecodeTable[b - 0x81][t - kTrailFirst];
        appendUtf8(out, c ? c : kReplacement);
        bad += c == 0;
        i += 2;
    }
    if (replaced) *replaced = bad;
    return out;
}

std::string fromUtf8(std::string_view utf8, int* replaced) {
    const EncodeTable& table = encodeTable();
    std::string out;
    out.reserve(utf8.size());
    int bad = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        const char32_t c = nextCodePoint(utf8, i);
        const std::uint16_t pair = c < 0x10000 ? table.gbkOf[c] : 0;
        if (c == kEuroSign) {
            out += static_cast<char>(0x80);
        } else if (pair) {
            out += static_cast<char>(pair >> 8);
            out += static_cast<char>(pair & 0xFF);
        } else {
            out += '?';
            ++bad;
        }
    }
    if (replaced) *replaced = bad;
    return out;
}

}  // namespace gbk
