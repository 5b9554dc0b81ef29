// SPDX-License-Identifier: GPL-3.0-or-later
#include "TDXGrobal.h"

#include <algorithm>
#include <cstring>

#include "Gbk.h"

std::string_view FixedText(const char* field, std::size_t size) {
    const void* zero = std::memchr(field, 0, size);
    return {field, zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - field) : size};
}

void MarketDirectories::assign(int market, std::size_t start, std::span<const TTDX_STOCKINFO> records) {
    if (market != kMarketShenzhen && market != kMarketShanghai) return;
    std::vector<TTDX_STOCKINFO>& dir = m_markets[market];
    dir.resize(start);  // a gap (never sent by a server) reads as empty records
    dir.insert(dir.end(), records.begin(), records.end());
    auto& index = m_firstOf[market];
    index.clear();
    index.reserve(dir.size());
    for (std::size_t i = 0; i < dir.size(); ++i) index.emplace(std::string(FixedText(dir[i].Code, 6)), i);
}

void MarketDirectories::clear() {
    for (int m = 0; m < 2; ++m) {
        m_markets[m].clear();
        m_firstOf[m].clear();
    }
    CurDayMarket = 0;
    CurDayCode.clear();
}

const TTDX_STOCKINFO* MarketDirectories::first(int market, std::string_view code) const {
    if (market != kMarketShenzhen && market != kMarketShanghai) return nullptr;
    const auto it = m_firstOf[market].find(std::string(code));
    return it == m_firstOf[market].end() ? nullptr : &m_markets[market][it->second];
}

int MarketDirectories::FindMarket(std::string_view code, std::string_view name) const {
    if (code.size() < 6) return kNoMarket;
    int result = kNoMarket;
    for (int m = 0; m < 2; ++m) {
        if (name.empty()) {
            if (first(m, code)) result = m;
            continue;
        }
        // With a name, the first record matching both code and name counts.
        for (const TTDX_STOCKINFO& r : m_markets[m]) {
            if (FixedText(r.Code, 6) == code && gbk::toUtf8(FixedText(r.Name, 8)) == name) {
                result = m;
                break;
            }
        }
    }
    return result;
}

std::string MarketDirectories::StockName(std::string_view code, int market) const {
    return gbk::toUtf8(StockNameGbk(code, market));
}

std::string_view MarketDirectories::StockNameGbk(std::string_view code, int market) const {
    std::string_view name;
    for (int m = 0; m < 2; ++m) {
        if (market < 2 && m != market) continue;
        if (const TTDX_STOCKINFO* r = first(m, code)) name = FixedText(r->Name, 8);
    }
    return name;
}

int MarketDirectories::StockDecimals(std::string_view code, int market) const {
    const TTDX_STOCKINFO* r = first(market, code);
    return r ? r->Decimals : 2;
}

bool MarketDirectories::HasDayExtra() const {
    const TTDX_STOCKINFO* r = first(CurDayMarket, CurDayCode);
    return r && r->DayExtraFlag == 0;
}

MarketDirectories& TDXDirectories() {
    static MarketDirectories directories;
    return directories;
}
