// SPDX-License-Identifier: GPL-3.0-or-later
#include "Responder.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "Gbk.h"
#include "TDXEDCode.h"
#include "TradingDay.h"

namespace {

constexpr std::size_t kCompressAbove = 128;
// Commands that only clients written for the real servers send.
constexpr std::uint16_t kSessionSetup = 0x000d;
constexpr std::uint16_t kServerInfo = 0x0fdb;
constexpr std::uint16_t kDaysFloatVolume = 0x052d;

void putU16(Bytes& b, std::size_t v) {
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void putU32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

void putFloat(Bytes& b, double v) {
    const float f = static_cast<float>(v);
    std::uint32_t bits;
    std::memcpy(&bits, &f, 4);
    putU32(b, bits);
}

// The packed number: six value bits and the sign in the first byte, seven value bits
// in each following one, bit 7 saying that another byte follows.
void putPacked(Bytes& b, std::int64_t v) {
    std::uint64_t m = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    std::uint8_t first = static_cast<std::uint8_t>((m & 0x3F) | (v < 0 ? 0x40 : 0));
    m >>= 6;
    b.push_back(static_cast<std::uint8_t>(first | (m ? 0x80 : 0)));
    while (m) {
        const auto byte = static_cast<std::uint8_t>(m & 0x7F);
        m >>= 7;
        b.push_back(static_cast<std::uint8_t>(byte | (m ? 0x80 : 0)));
    }
}

std::uint16_t u16At(std::span<const std::uint8_t> b, std::size_t at) {
    return at + 1 < b.size() ? static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8)) : 0;
}

std::string_view codeAt(std::span<const std::uint8_t> b, std::size_t at) {
    if (at >= b.size()) return {};
    const auto* p = reinterpret_cast<const char*>(b.data() + at);
    const std::size_t room = std::min<std::size_t>(6, b.size() - at);
    return {p, static_cast<std::size_t>(std::find(p, p + room, '\0') - p)};
}

// Prices go on the wire in units of 1/D yuan: 0.01 for two decimals, 0.001 for three.
std::int64_t wireUnits(const Security& s, std::int32_t price) { return s.decimals == 3 ? price * 10LL : price; }

// The window (start, count) counted back from the newest of n items, oldest first.
std::pair<std::size_t, std::size_t> newestWindow(std::size_t n, std::size_t start, std::size_t count,
                                                 std::size_t most) {
    const std::size_t end = n - std::min(start, n);
    const std::size_t take = std::min({count, most, end});
    return {end - take, end};
}

// The five best bids and asks around the last price, none past the day's limits.
struct Book {
    std::int32_t bid[5] = {}, ask[5] = {};
    std::int32_t bidVolume[5] = {}, askVolume[5] = {};
};

Book bookAt(const Security& s, const TapeState& st, int tradeSide) {
    Book book;
    if (!st.traded()) return book;
    SplitMix64 r(static_cast<std::uint64_t>(std::stoi(s.code)) * 7919 + st.count);
    const std::int32_t bid1 = tradeSide == 0 ? st.last - 1 : st.last;
    const std::int32_t up = upperLimit(s.prevClose), down = lowerLimit(s.prevClose);
    const std::int32_t lots = s.liquid ? 1500 : 300;
    for (int k = 0; k < 5; ++k) {
        const std::int32_t bid = bid1 - k, ask = bid1 + 1 + k;
        if (bid >= down && bid > 0) book.bid[k] = bid, book.bidVolume[k] = 1 + static_cast<std::int32_t>(r.below(lots));
        if (ask <= up) book.ask[k] = ask, book.askVolume[k] = 1 + static_cast<std::int32_t>(r.below(lots));
    }
    return book;
}

}  // namespace

Bytes Responder::frame(std::span<const std::uint8_t> request, const Bytes& body) {
    Bytes wire = body;
    bool compressed = false;
    if (body.size() > kCompressAbove) {
        uLongf size = compressBound(static_cast<uLong>(body.size()));
        Bytes packed(size);
        if (compress2(packed.data(), &size, body.data(), static_cast<uLong>(body.size()), Z_BEST_SPEED) == Z_OK &&
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

Bytes Responder::snapshots(std::span<const std::uint8_t> body, int second) const {
    const std::size_t asked = u16At(body, 10);
    Bytes out{0, 0, 0, 0};
    std::size_t n = 0;
    // The server's clock as HHMMSS followed by two digits of hundredths.
    const int hhmmss = second / 3600 * 10000 + second / 60 % 60 * 100 + second % 60;
    const std::int64_t serverTime = std::max<std::int64_t>(10000, hhmmss * 100LL);
    for (std::size_t i = 0; i < asked && n < kMaxSnapshots && 12 + 7 * i + 7 <= body.size(); ++i) {
        const std::size_t at = 12 + 7 * i;
        const Security* s = m_market.find(body[at], codeAt(body, at + 1));
        if (!s) continue;  // unknown securities are left out of the answer
        ++n;
        const TapeState st = m_market.stateAt(*s, second);
        const auto trades = m_market.tradesUntil(*s, second);
        const Book book = s->kind == SecurityKind::Index ? Book{} : bookAt(*s, st, trades.empty() ? 2 : trades.back().side);
        const std::int64_t price = wireUnits(*s, st.last);
        const auto relative = [&](std::int32_t v) { putPacked(out, v ? wireUnits(*s, v) - price : -price); };
        out.push_back(static_cast<std::uint8_t>(s->market));
        out.insert(out.end(), s->code.begin(), s->code.end());
        putU16(out, 0);  // head word
        putPacked(out, price);
        putPacked(out, wireUnits(*s, s->prevClose) - price);
        relative(st.open);
        relative(st.high);
        relative(st.low);
        putPacked(out, serverTime);
        putPacked(out, 0);
        putPacked(out, st.volume);
        putPacked(out, st.lastVolume);
        putFloat(out, st.amount);
        putPacked(out, st.inner);
        putPacked(out, st.outer);
        putPacked(out, 0);
        putPacked(out, 0);
        for (int k = 0; k < 5; ++k) {
            if (s->kind == SecurityKind::Index) {
                // An index has no book; these slots read as plain numbers for it.
                for (int v = 0; v < 4; ++v) putPacked(out, 0);
                continue;
            }
            relative(book.bid[k]);
            relative(book.ask[k]);
            putPacked(out, book.bidVolume[k]);
            putPacked(out, book.askVolume[k]);
        }
        putU16(out, 0);        // tail word
        out.push_back(0x00);   // tail byte, always below 0x40 on the real servers
        for (int k = 0; k < 3; ++k) putPacked(out, 0);
        putU16(out, 0);  // change ratio
        putU16(out, 0);  // tail word 2
    }
    out[2] = static_cast<std::uint8_t>(n & 0xFF);
    out[3] = static_cast<std::uint8_t>(n >> 8);
    return out;
}

Bytes Responder::minutes(const Security& s, int second) const {
    const auto bars = m_market.minutesAt(s, second);
    const bool index = s.kind == SecurityKind::Index;
    Bytes body;
    putU16(body, bars.size());
    putU16(body, 0);
    std::int64_t price = 0, average = 0;
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const std::int64_t p = wireUnits(s, bars[i].price);
        // The average goes in hundredths of the price unit, counted from the first price.
        const auto a = static_cast<std::int64_t>(wireUnits(s, 1) * bars[i].averagePrice * 100.0 + 0.5);
        putPacked(body, p - price);
        putPacked(body, a - (i == 0 ? p * 100 : average));
        putPacked(body, index ? bars[i].volume / 100 : bars[i].volume);
        price = p;
        average = a;
    }
    return body;
}

Bytes Responder::days(const Security& s, std::size_t start, std::size_t count, bool floatVolume,
                      int second) const {
    const std::vector<DayBar> all = m_market.daysAt(s, second);
    const auto [from, to] = newestWindow(all.size(), start, count, kMaxDays);
    Bytes body;
    putU16(body, to - from);
    std::int64_t close = 0;  // day prices go in 0.001 yuan, each open from the close before
    for (std::size_t d = from; d < to; ++d) {
        const DayBar& b = all[d];
        const std::int64_t open = b.open * 10LL;
        putU32(body, b.date);
        putPacked(body, open - close);
        putPacked(body, b.close * 10LL - open);
        putPacked(body, b.high * 10LL - open);
        putPacked(body, b.low * 10LL - open);
        if (floatVolume) putFloat(body, static_cast<double>(b.volume));
        else putPacked(body, b.volume);
        putFloat(body, b.amount);
        if (s.kind == SecurityKind::Index) {  // the directory flags index lines as carrying two words
            putU16(body, b.up);
            putU16(body, b.down);
        }
        close = b.close * 10LL;
    }
    return body;
}

Bytes Responder::trades(const Security& s, std::size_t start, std::size_t count, int second) const {
    const auto done = m_market.tradesUntil(s, second);
    const auto [from, to] = newestWindow(done.size(), start, count, kMaxTrades);
    Bytes body;
    putU16(body, to - from);
    std::int64_t price = 0;
    for (std::size_t i = from; i < to; ++i) {
        const Trade& t = done[i];
        putU16(body, static_cast<std::size_t>(t.second / 60));
        putPacked(body, t.price - price);
        putPacked(body, t.volume);
        putPacked(body, t.num);
        putU16(body, t.side);
        price = t.price;
    }
    return body;
}

Bytes Responder::reply(std::span<const std::uint8_t> request, int second) const {
    const std::span<const std::uint8_t> body = request.size() > 10 ? request.subspan(10) : request.subspan(0, 0);
    const std::uint16_t command = u16At(body, 0);
    const Security* s = body.size() >= 10 ? m_market.find(body[2], codeAt(body, 4)) : nullptr;
    Bytes answer;
    switch (command) {
        case CMD_INITMARKET: {
            const int market = u16At(body, 2);
            if (market <= 1) answer = directory(market, u16At(body, 4));
            break;
        }
        case CMD_PKDAT:
            answer = snapshots(body, second);
            break;
        case CMD_MINS:
            if (s) answer = minutes(*s, second);
            break;
        case CMD_DAYS:
        case kDaysFloatVolume: {
            const std::uint16_t period = u16At(body, 10);
            if (s && (period == 4 || period == 9))  // 4 and 9 both ask for day lines
                answer = days(*s, u16At(body, 14), u16At(body, 16), command == kDaysFloatVolume, second);
            break;
        }
        case CMD_DEALS:
            if (s && s->kind != SecurityKind::Index) answer = trades(*s, u16At(body, 10), u16At(body, 12), second);
            break;
        case kSessionSetup:
            answer = {1};
            break;
        case kServerInfo: {
            answer = {1, 0};
            const std::string name = gbk::fromUtf8("tdxsim 模拟行情");
            answer.insert(answer.end(), name.begin(), name.end());
            answer.resize(2 + 64, 0);
            putU32(answer, static_cast<std::uint32_t>(m_market.date()));
            break;
        }
        default:
            break;
    }
    if (answer.empty()) answer = {0, 0};  // nothing to tell: a count of 0
    return frame(request, answer);
}
