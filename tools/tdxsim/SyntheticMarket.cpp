// SPDX-License-Identifier: GPL-3.0-or-later
#include "SyntheticMarket.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "Gbk.h"

namespace {

struct Fixed {
    const char* code;
    const char* name;
    int market;
    SecurityKind kind;
};

// The indices the client tracks and the stocks of the shipped watch list.
const Fixed kFixed[] = {
    {"999999", "上证指数", 1, SecurityKind::Index}, {"000300", "沪深300", 1, SecurityKind::Index},
    {"399001", "深证成指", 0, SecurityKind::Index}, {"399005", "中小板指", 0, SecurityKind::Index},
    {"399006", "创业板指", 0, SecurityKind::Index}, {"000001", "深发展A", 0, SecurityKind::Stock},
    {"002155", "辰州矿业", 0, SecurityKind::Stock}, {"000630", "铜陵有色", 0, SecurityKind::Stock},
    {"600489", "中金黄金", 1, SecurityKind::Stock}, {"600030", "中信证券", 1, SecurityKind::Stock},
    {"600111", "包钢稀土", 1, SecurityKind::Stock},
};

// Code ranges of each market and how many stocks each gets.
struct Range {
    int market;
    int first;
    int span;
    int count;
};
const Range kRanges[] = {
    {0, 1, 999, 480},     {0, 1000, 999, 120},   {0, 2000, 999, 900},   {0, 300000, 999, 860},
    {1, 600000, 999, 820}, {1, 601000, 999, 240}, {1, 603000, 999, 640}, {1, 605000, 499, 90},
    {1, 688000, 999, 420},
};

const char* const kNameFirst[] = {"华", "中", "东", "南", "西", "北", "金", "新", "长", "海", "天", "国",
                                  "大", "宏", "恒", "泰", "安", "信", "通", "明"};
const char* const kNameSecond[] = {"发", "达", "兴", "源", "盛", "丰", "科", "鑫", "远", "光", "宇", "阳",
                                   "峰", "汇", "隆", "邦", "联", "创", "瑞", "和"};
const char* const kNameTrade[] = {"股份", "科技", "电子", "药业", "电力", "银行", "地产", "化工", "钢铁", "汽车",
                                  "证券", "矿业", "机械", "食品", "传媒", "能源", "环保", "材料", "物流", "软件"};

std::string sixDigits(int v) {
    std::string s = std::to_string(v);
    return std::string(6 - s.size(), '0') + s;
}

TTDX_STOCKINFO record(const Security& s) {
    TTDX_STOCKINFO r{};
    std::memcpy(r.Code, s.code.data(), 6);
    const std::string name = gbk::fromUtf8(s.name);
    std::memcpy(r.Name, name.data(), std::min<std::size_t>(name.size(), sizeof r.Name));
    r.DayExtraFlag = s.kind == SecurityKind::Index ? 0 : 1;
    r.Decimals = static_cast<std::uint8_t>(s.decimals);
    r.PrevClose = s.prevClose;
    return r;
}

}  // namespace

SyntheticMarket::SyntheticMarket(std::uint64_t seed, int date) : m_date(date) {
    SplitMix64 random(seed * 1000003ULL + static_cast<std::uint64_t>(date));
    std::set<std::string> taken;
    const auto add = [&](Security s) {
        if (!taken.insert(std::to_string(s.market) + s.code).second) return;
        m_securities[s.market].push_back(std::move(s));
    };
    const auto price = [&](int low, int high) {  // in 0.01 yuan
        return static_cast<float>(low + static_cast<int>(random.below(static_cast<std::uint32_t>(high - low)))) / 100.0f;
    };
    for (const Fixed& f : kFixed) {
        const bool index = f.kind == SecurityKind::Index;
        add({f.code, f.name, f.market, f.kind, 2, index ? price(200000, 400000) : price(500, 6000)});
    }
    for (const Range& r : kRanges) {
        // Selection sampling: exactly r.count distinct codes of the range, in order.
        int needed = r.count;
        for (int offset = 0; offset < r.span && needed > 0; ++offset) {
            if (static_cast<int>(random.below(static_cast<std::uint32_t>(r.span - offset))) >= needed) continue;
            --needed;
            const std::string code = sixDigits(r.first + offset);
            std::string name = std::string(kNameFirst[random.below(20)]) + kNameSecond[random.below(20)] +
                               kNameTrade[random.below(20)];
            add({code, name, r.market, SecurityKind::Stock, 2, price(200, 8000)});
        }
    }
    // Funds with prices to three decimals.
    for (int i = 0; i < 40; ++i) {
        add({sixDigits(159901 + i), "深基金" + std::to_string(i % 10), 0, SecurityKind::Fund, 3, price(50, 400)});
        add({sixDigits(510010 + 10 * i), "上基金" + std::to_string(i % 10), 1, SecurityKind::Fund, 3, price(50, 400)});
    }
    for (int m = 0; m < 2; ++m) {
        std::sort(m_securities[m].begin(), m_securities[m].end(),
                  [](const Security& a, const Security& b) { return a.code < b.code; });
        for (const Security& s : m_securities[m]) m_directory[m].push_back(record(s));
    }
}
