// SPDX-License-Identifier: GPL-3.0-or-later
#include "TDXAsm.h"

#include <QLibrary>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "TDXGrobal.h"

namespace {

// The outside library's export: the same contract without a length.
using OutsideBufToDouble = int (*)(double* value, const std::uint8_t* bytes);
OutsideBufToDouble g_outside = nullptr;

// Length of the packed number at bytes[0..], or 0 when it runs past `available`.
std::size_t packedLength(const std::uint8_t* bytes, std::size_t available) {
    for (std::size_t i = 0; i < available; ++i)
        if (!(bytes[i] & 0x80)) return i + 1;
    return 0;
}

int builtinBufToDouble(double& value, const std::uint8_t* bytes, std::size_t length) {
    double v = bytes[0] & 0x3F;
    double m = 64;
    for (std::size_t i = 1; i < length; ++i) {
        v += (bytes[i] & 0x7F) * m;
        m *= 128;
    }
    value = (bytes[0] & 0x40) ? -v : v;
    return static_cast<int>(length);
}

// Reads the fields of one body, stopping (ok() false) at the first field that does not
// fit in what is left.
class Reader {
public:
    explicit Reader(const BodyCursor& cursor) : m_body(cursor.body), m_pos(cursor.pos) {}

    bool ok() const { return m_ok; }
    std::size_t pos() const { return m_pos; }

    double number() {
        double v = 0;
        if (!m_ok) return 0;
        const int used = m_pos < m_body.size() ? BufToDouble(v, m_body.data() + m_pos, m_body.size() - m_pos) : 0;
        if (used <= 0) {
            m_ok = false;
            return 0;
        }
        m_pos += static_cast<std::size_t>(used);
        return v;
    }

    template <typename T>
    T raw() {
        T v{};
        copy(&v, sizeof v);
        return v;
    }
    void copy(void* to, std::size_t size) {
        if (!m_ok || m_body.size() - m_pos < size) {
            m_ok = false;
            return;
        }
        std::memcpy(to, m_body.data() + m_pos, size);
        m_pos += size;
    }

private:
    std::span<const std::uint8_t> m_body;
    std::size_t m_pos;
    bool m_ok = true;
};

float f32(double x) { return static_cast<float>(x); }

}  // namespace

int BufToDouble(double& value, const std::uint8_t* bytes, std::size_t available) {
    value = 0;
    const std::size_t length = packedLength(bytes, available);
    if (length == 0) return 0;
    if (g_outside) {
        const int used = g_outside(&value, bytes);
        return used >= 1 && static_cast<std::size_t>(used) <= length ? used : 0;
    }
    return builtinBufToDouble(value, bytes, length);
}

bool BindBufToDouble() {
    static QLibrary library(QStringLiteral("TGear"));
    if (!g_outside && library.load())
        g_outside = reinterpret_cast<OutsideBufToDouble>(library.resolve("BufToDouble"));
    return g_outside != nullptr;
}

std::int32_t TruncToInt32(double x) {
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (x <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(x);
}

bool IsIndexCode(std::string_view code, int market) {
    if (market == kMarketShanghai) {
        if (!code.empty() && code[0] == '8') return true;
        long long v = 0;
        std::size_t i = 0;
        for (; i < code.size() && code[i] >= '0' && code[i] <= '9' && v < 100000000; ++i) v = v * 10 + (code[i] - '0');
        return v >= 990000 || v <= 999;
    }
    if (market == kMarketShenzhen) return code.substr(0, 2) == "39";
    return false;
}

float PriceDivisor(int decimals) {
    return decimals <= 2 ? 100.0f : f32(100.0 * std::pow(10.0, decimals - 2));
}

bool DecodeSnapshotEntry(BodyCursor& cursor, const MarketDirectories& directories, TTDX_PKDAT& out) {
    Reader in(cursor);
    TTDX_PKDAT r{};
    r.Market = in.raw<std::uint8_t>();
    in.copy(r.Code, 6);
    r.HeadWord = in.raw<std::uint16_t>();
    if (!in.ok()) return false;

    const std::string_view code = FixedText(r.Code, 6);
    const double D = PriceDivisor(directories.StockDecimals(code, r.Market));
    const bool idx = IsIndexCode(code, r.Market);

    r.Price = f32(in.number() / D);
    r.PrevClose = f32(r.Price + in.number() / D);
    r.Open = f32(r.Price + in.number() / D);
    r.High = f32(r.Price + in.number() / D);
    r.Low = f32(r.Price + in.number() / D);
    in.number();  // the server's time, not used
    const double w7 = in.number();
    r.Number7 = idx ? f32(w7 * 0.01) : f32(r.Price + w7 / D);
    r.Volume = TruncToInt32(in.number());
    r.Number9 = TruncToInt32(in.number());
    r.Amount = in.raw<float>();
    r.InnerVolume = TruncToInt32(in.number());
    r.OuterVolume = TruncToInt32(in.number());
    r.Number12 = f32(in.number() / D);

    if (static_cast<unsigned char>(r.Code[0]) < 'A') {
        const double w13 = in.number();
        r.Number13 = idx ? f32(r.Price + w13 / D) : f32(w13 * 0.01);
        for (int L = 0; L < 5; ++L) {
            const double va = in.number(), vb = in.number(), vc = in.number(), vd = in.number();
            r.BidPrice[L] = idx ? f32(va * 10000) : f32(r.Price + va / D);
            r.AskPrice[L] = !idx ? f32(r.Price + vb / D) : (L == 2 ? f32(vb / D) : f32(vb * 10000));
            r.BidVolume[L] = TruncToInt32(vc);
            r.AskVolume[L] = TruncToInt32(vd);
        }
    } else {
        r.Number13Int = TruncToInt32(in.number());
        r.BidPrice[0] = f32(r.Price + in.number() / D);
        r.AskPrice[0] = f32(r.Price + in.number() / D);
        r.AskPrice[1] = f32(in.number());
        r.AskPrice[2] = f32(r.PrevClose + in.number() / D);
        for (int k = 0; k < 3; ++k) {
            r.BidVolume[k] = TruncToInt32(in.number());
            r.AskVolume[k] = TruncToInt32(in.number());
        }
    }

    r.TailWord = in.raw<std::uint16_t>();
    r.TailByte = in.raw<std::uint8_t>();
    r.TailPrice1 = f32(r.Price + in.number() / D);
    r.TailPrice2 = f32(r.Price + in.number() / D);
    r.TailPrice3 = f32(r.Price + in.number() / D);
    r.TailRatio = f32(in.raw<std::int16_t>() * 0.01);
    r.TailWord2 = in.raw<std::uint16_t>();
    if (!in.ok()) return false;

    out = r;
    cursor.pos = in.pos();
    return true;
}

std::vector<TTDX_MIN> DecodeMinutes(BodyCursor& cursor, int n, int decimals, std::string_view code, int market) {
    std::vector<TTDX_MIN> out;
    out.reserve(std::min(static_cast<std::size_t>(std::max(n, 0)), cursor.body.size()));
    Reader in(cursor);
    const double D = PriceDivisor(decimals);
    const bool idx = IsIndexCode(code, market);
    float p = 0, a = 0;
    for (int i = 0; i < n; ++i) {
        TTDX_MIN r{};
        const float pNext = f32(p + in.number() / D);
        const float aStart = i == 0 ? pNext : a;
        const float aNext = f32(aStart + (in.number() / D) * 0.01);
        const double v = in.number();
        if (!in.ok()) break;
        p = r.Price = pNext;
        a = r.AvgPrice = aNext;
        r.Volume = TruncToInt32(idx ? v * 100 : v);
        out.push_back(r);
        cursor.pos = in.pos();
    }
    return out;
}

std::vector<TTDX_DAYInfo> DecodeDays(BodyCursor& cursor, int n, bool hasExtra) {
    std::vector<TTDX_DAYInfo> out;
    out.reserve(std::min(static_cast<std::size_t>(std::max(n, 0)), cursor.body.size()));
    Reader in(cursor);
    float c = 0;
    for (int i = 0; i < n; ++i) {
        TTDX_DAYInfo r{};
        r.Date = in.raw<std::uint32_t>();
        r.Open = f32(c + in.number() * 0.001);
        r.Close = f32(r.Open + in.number() * 0.001);
        r.High = f32(r.Open + in.number() * 0.001);
        r.Low = f32(r.Open + in.number() * 0.001);
        r.Volume = TruncToInt32(in.number());
        r.Amount = in.raw<float>();
        if (hasExtra) {
            r.ExtraA = in.raw<std::uint16_t>();
            r.ExtraB = in.raw<std::uint16_t>();
        }
        if (!in.ok()) break;
        c = r.Close;
        out.push_back(r);
        cursor.pos = in.pos();
    }
    return out;
}

std::vector<TTDX_DEALInfo> DecodeDeals(BodyCursor& cursor, int n) {
    std::vector<TTDX_DEALInfo> out;
    out.reserve(std::min(static_cast<std::size_t>(std::max(n, 0)), cursor.body.size()));
    Reader in(cursor);
    std::int32_t q = 0;
    for (int i = 0; i < n; ++i) {
        TTDX_DEALInfo r{};
        r.Time = in.raw<std::uint16_t>();
        const std::int32_t qNext = TruncToInt32(q + in.number());
        // The stored price is in 0.001 yuan; q stays in the wire unit of 0.01 yuan.
        r.Price = static_cast<std::int32_t>(static_cast<std::uint32_t>(qNext) * 10u);
        r.Volume = TruncToInt32(in.number());
        r.Num = TruncToInt32(in.number());
        r.Side = in.raw<std::uint16_t>();
        if (!in.ok()) break;
        q = qNext;
        out.push_back(r);
        cursor.pos = in.pos();
    }
    return out;
}
