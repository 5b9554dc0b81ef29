// SPDX-License-Identifier: GPL-3.0-or-later
#include "SyntheticMarket.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <thread>

#include "Gbk.h"
#include "TradingDay.h"

namespace {

struct Fixed {
    const char* code;
    const char* name;
    int market;
    SecurityKind kind;
    const char* region = "";
    const char* industry = "";
    const char* concepts = "";
};

// The indices the client tracks and the stocks of the shipped watch list.
const Fixed kFixed[] = {
    {"999999", "上证指数", 1, SecurityKind::Index},
    {"000300", "沪深300", 1, SecurityKind::Index},
    {"399001", "深证成指", 0, SecurityKind::Index},
    {"399005", "中小板指", 0, SecurityKind::Index},
    {"399006", "创业板指", 0, SecurityKind::Index},
    {"000001", "深发展A", 0, SecurityKind::Stock, "深圳", "银行", "融资融券"},
    {"002155", "辰州矿业", 0, SecurityKind::Stock, "湖南", "有色金属", "黄金概念"},
    {"000630", "铜陵有色", 0, SecurityKind::Stock, "安徽", "有色金属", "融资融券"},
    {"600489", "中金黄金", 1, SecurityKind::Stock, "北京", "有色金属", "黄金概念"},
    {"600030", "中信证券", 1, SecurityKind::Stock, "北京", "证券", "融资融券"},
    {"600111", "包钢稀土", 1, SecurityKind::Stock, "内蒙古", "有色金属", "稀土永磁"},
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
// The last word of a name and the industry it stands for.
struct NameWord {
    const char* word;
    const char* industry;
};
const NameWord kNameTrade[] = {
    {"股份", "综合"},     {"科技", "电子信息"}, {"电子", "电子信息"}, {"药业", "医药"},     {"电力", "电力"},
    {"银行", "银行"},     {"地产", "房地产"},   {"化工", "化工"},     {"钢铁", "钢铁"},     {"汽车", "汽车"},
    {"证券", "证券"},     {"矿业", "有色金属"}, {"机械", "机械"},     {"食品", "食品饮料"}, {"传媒", "传媒"},
    {"能源", "石油"},     {"环保", "环保"},     {"材料", "建材"},     {"物流", "交通运输"}, {"软件", "计算机"},
};
const char* const kRegions[] = {"北京", "上海", "广东", "深圳", "浙江", "江苏", "山东", "福建", "湖南", "湖北",
                                "四川", "河南", "安徽", "辽宁", "天津", "重庆", "江西", "云南", "陕西", "内蒙古"};
const char* const kConcepts[] = {"新能源", "稀土永磁", "黄金概念", "锂电池", "人工智能", "芯片", "5G",
                                 "创投", "融资融券", "央企改革", "大数据", "军工", "节能环保", "物联网"};

constexpr int kHistoryDays = 250;

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
    r.PrevClose = static_cast<float>(s.prevClose / 100.0);
    return r;
}

// Each security draws from its own stream, so one can be generated without the others.
std::uint64_t streamSeed(std::uint64_t marketSeed, const Security& s, std::uint64_t purpose) {
    SplitMix64 mix(marketSeed ^ (static_cast<std::uint64_t>(std::stoi(s.code)) << 8) ^
                   (static_cast<std::uint64_t>(s.market) << 40) ^ (purpose << 48));
    return mix.next();
}

Security basic(std::string code, std::string name, int market, SecurityKind kind, int decimals,
               std::int32_t prevClose) {
    Security s;
    s.code = std::move(code);
    s.name = std::move(name);
    s.market = market;
    s.kind = kind;
    s.decimals = decimals;
    s.prevClose = prevClose;
    return s;
}

double weightOf(const Security& s) { return s.floatShares * s.prevClose; }

// The index's members: which securities, by market and position.
struct Member {
    int market;
    std::size_t index;
};

void addTrade(TapeState& st, const Trade& t) {
    if (st.count++ == 0) st.open = st.high = st.low = t.price;
    st.high = std::max(st.high, t.price);
    st.low = std::min(st.low, t.price);
    st.last = t.price;
    st.lastVolume = t.volume;
    st.volume += t.volume;
    st.amount += static_cast<double>(t.volume) * t.price;
    if (t.side == 0) st.outer += t.volume;
    if (t.side == 1) st.inner += t.volume;
}

// The state of a stock after the opening call and after each minute line, in one pass.
std::vector<TapeState> checkpointsOf(const Security& s) {
    std::vector<TapeState> out;
    out.reserve(session::kMinutes + 1);
    TapeState st;
    std::size_t t = 0;
    for (int k = 0; k <= session::kMinutes; ++k) {
        const int until = k == 0 ? session::kAuction : session::minuteEnd(k - 1) - 1;
        for (; t < s.trades.size() && s.trades[t].second <= until; ++t) addTrade(st, s.trades[t]);
        out.push_back(st);
    }
    return out;
}

// A security's place in the index: its state relative to its previous close.
double ratio(std::int32_t price, const Security& s) { return price ? static_cast<double>(price) / s.prevClose : 1.0; }

}  // namespace

SyntheticMarket::SyntheticMarket(std::uint64_t seed, int date)
    : m_seed(seed * 1000003ULL + static_cast<std::uint64_t>(date)), m_date(date) {
    SplitMix64 random(m_seed);
    // A code names one security in both markets: the stock directory table has no market column.
    std::set<std::string> taken;
    const auto add = [&](Security s) {
        if (!taken.insert(s.code).second) return;
        m_securities[s.market].push_back(std::move(s));
    };
    const auto price = [&](int low, int high) {  // in 0.01 yuan
        return static_cast<std::int32_t>(low + static_cast<int>(random.below(static_cast<std::uint32_t>(high - low))));
    };
    const auto stock = [&](std::string code, std::string name, int market, const char* industry) {
        Security s = basic(std::move(code), std::move(name), market, SecurityKind::Stock, 2, price(200, 8000));
        s.liquid = random.below(10) == 0;
        s.floatShares = 20000 + random.below(980000);  // 0.2 to 10 billion shares: a few per cent turnover
        s.band = (30 + random.below(60)) / 10.0;
        s.region = kRegions[random.below(20)];
        s.industry = industry;
        s.concepts = kConcepts[random.below(14)];
        return s;
    };
    for (const Fixed& f : kFixed) {
        if (f.kind == SecurityKind::Index) {
            add(basic(f.code, f.name, f.market, f.kind, 2, price(200000, 400000)));
            continue;
        }
        Security s = stock(f.code, f.name, f.market, f.industry);
        s.liquid = true;
        s.region = f.region;
        s.concepts = f.concepts;
        add(std::move(s));
    }
    for (const Range& r : kRanges) {
        // Selection sampling: exactly r.count distinct codes of the range, in order.
        int needed = r.count;
        for (int offset = 0; offset < r.span && needed > 0; ++offset) {
            if (static_cast<int>(random.below(static_cast<std::uint32_t>(r.span - offset))) >= needed) continue;
            --needed;
            const NameWord& trade = kNameTrade[random.below(20)];
            std::string name = std::string(kNameFirst[random.below(20)]) + kNameSecond[random.below(20)] + trade.word;
            add(stock(sixDigits(r.first + offset), std::move(name), r.market, trade.industry));
        }
    }
    // Funds, priced to three decimals in the directory and the snapshots; their trades
    // stay on the 0.01 grid, the finest unit of the tick reply.
    for (int i = 0; i < 40; ++i) {
        add(basic(sixDigits(159901 + i), "深基金" + std::to_string(i % 10), 0, SecurityKind::Fund, 3, price(50, 400)));
        add(basic(sixDigits(510010 + 10 * i), "上基金" + std::to_string(i % 10), 1, SecurityKind::Fund, 3, price(50, 400)));
    }
    for (int m = 0; m < 2; ++m) {
        std::sort(m_securities[m].begin(), m_securities[m].end(),
                  [](const Security& a, const Security& b) { return a.code < b.code; });
        for (const Security& s : m_securities[m]) m_directory[m].push_back(record(s));
    }
    m_historyDates = tradingDaysBefore(date, kHistoryDays);

    // The two markets' days are independent; draw them on two threads.
    const auto drawMarket = [this](int m) {
        for (Security& s : m_securities[m])
            if (s.kind != SecurityKind::Index) generateTrades(s, streamSeed(m_seed, s, 1));
    };
    std::thread shanghai(drawMarket, 1);
    drawMarket(0);
    shanghai.join();
    buildIndices();
}

void SyntheticMarket::buildIndices() {
    struct IndexRule {
        const char* code;
        int market;
        bool (*member)(const Security&);
        std::size_t size;  // largest members by float value; 0 = all
    };
    static const IndexRule rules[] = {
        {"999999", 1, [](const Security& s) { return s.market == 1; }, 0},
        {"000300", 1, [](const Security&) { return true; }, 300},
        {"399001", 0, [](const Security& s) { return s.market == 0; }, 500},
        {"399005", 0, [](const Security& s) { return s.market == 0 && s.code.starts_with("002"); }, 100},
        {"399006", 0, [](const Security& s) { return s.market == 0 && s.code.starts_with("300"); }, 100},
    };
    // Per index: each member's checkpoints and history are computed once and summed.
    for (const IndexRule& rule : rules) {
        auto& list = m_securities[rule.market];
        Security* index = &*std::find_if(list.begin(), list.end(), [&](const Security& s) { return s.code == rule.code; });
        std::vector<Member> members;
        for (int m = 0; m < 2; ++m)
            for (std::size_t i = 0; i < m_securities[m].size(); ++i) {
                const Security& s = m_securities[m][i];
                if (s.kind == SecurityKind::Stock && rule.member(s)) members.push_back({m, i});
            }
        if (rule.size && members.size() > rule.size) {
            std::stable_sort(members.begin(), members.end(), [this](const Member& a, const Member& b) {
                return weightOf(m_securities[a.market][a.index]) > weightOf(m_securities[b.market][b.index]);
            });
            members.resize(rule.size);
        }
        double totalWeight = 0;
        std::vector<double> level(session::kMinutes + 1, 0.0);
        std::vector<TapeState>& points = index->checkpoints;
        points.assign(session::kMinutes + 1, TapeState{});
        std::vector<DayBar>& history = index->indexHistory;
        history.assign(m_historyDates.size(), DayBar{});
        std::vector<double> hOpen(history.size()), hHigh(history.size()), hLow(history.size()), hClose(history.size());
        for (const Member& member : members) {
            const Security& s = m_securities[member.market][member.index];
            const double w = weightOf(s);
            totalWeight += w;
            const std::vector<TapeState> own = checkpointsOf(s);
            for (std::size_t k = 0; k < own.size(); ++k) {
                level[k] += w * ratio(own[k].last, s);
                TapeState& p = points[k];
                p.count += own[k].count;
                p.volume += own[k].volume;
                p.amount += own[k].amount;
                p.inner += own[k].inner;
                p.outer += own[k].outer;
                p.up += own[k].last > s.prevClose;
                p.down += own[k].traded() && own[k].last < s.prevClose;
            }
            const std::vector<DayBar> days = stockHistory(s);
            for (std::size_t d = 0; d < days.size(); ++d) {
                hOpen[d] += w * ratio(days[d].open, s);
                hHigh[d] += w * ratio(days[d].high, s);
                hLow[d] += w * ratio(days[d].low, s);
                hClose[d] += w * ratio(days[d].close, s);
                history[d].volume += days[d].volume;
                history[d].amount += days[d].amount;
                const std::int32_t before = d ? days[d - 1].close : days[d].open;
                history[d].up += days[d].close > before;
                history[d].down += days[d].close < before;
            }
        }
        const auto points100 = [&](double weighted) {
            return static_cast<std::int32_t>(std::floor(index->prevClose * weighted / totalWeight + 0.5));
        };
        std::int64_t previousVolume = 0;
        for (std::size_t k = 0; k < points.size(); ++k) {
            TapeState& p = points[k];
            p.last = points100(level[k]);
            p.open = k ? points[0].open : p.last;
            p.high = k ? std::max(points[k - 1].high, p.last) : p.last;
            p.low = k ? std::min(points[k - 1].low, p.last) : p.last;
            p.lastVolume = static_cast<std::int32_t>(std::min<std::int64_t>(p.volume - previousVolume, INT32_MAX));
            previousVolume = p.volume;
        }
        for (std::size_t d = 0; d < history.size(); ++d) {
            DayBar& b = history[d];
            b.date = m_historyDates[d];
            b.open = points100(hOpen[d]);
            b.close = points100(hClose[d]);
            b.high = std::max({points100(hHigh[d]), b.open, b.close});
            b.low = std::min({points100(hLow[d]), b.open, b.close});
        }
    }
}

const Security* SyntheticMarket::find(int market, std::string_view code) const {
    if (market != 0 && market != 1) return nullptr;
    const auto& list = m_securities[market];
    const auto it = std::lower_bound(list.begin(), list.end(), code,
                                     [](const Security& s, std::string_view c) { return s.code < c; });
    return it != list.end() && it->code == code ? &*it : nullptr;
}

std::span<const Trade> SyntheticMarket::tradesUntil(const Security& s, int second) const {
    const auto end = std::upper_bound(s.trades.begin(), s.trades.end(), second,
                                      [](int sec, const Trade& t) { return sec < t.second; });
    return {s.trades.data(), static_cast<std::size_t>(end - s.trades.begin())};
}

TapeState SyntheticMarket::stateAt(const Security& s, int second) const {
    if (s.kind == SecurityKind::Index) {
        if (second < session::kAuction || s.checkpoints.empty()) return {};
        int k = 0;
        while (k < session::kMinutes && second >= session::minuteEnd(k) - 1) ++k;
        return s.checkpoints[static_cast<std::size_t>(k)];
    }
    TapeState st;
    for (const Trade& t : tradesUntil(s, second)) addTrade(st, t);
    return st;
}

std::array<MinuteBar, session::kMinutes> SyntheticMarket::minutesAt(const Security& s, int second) const {
    std::array<MinuteBar, session::kMinutes> bars{};
    std::int32_t last = s.prevClose;
    if (s.kind == SecurityKind::Index) {
        const TapeState now = stateAt(s, second);
        double levels = 0;
        for (int i = 0; i < session::kMinutes; ++i) {
            const bool done = now.traded() && second >= session::minuteEnd(i) - 1;
            const TapeState& p = s.checkpoints[static_cast<std::size_t>(i + 1)];
            // The opening call counts to the first minute, as it does for a stock.
            const std::int64_t before = i ? s.checkpoints[static_cast<std::size_t>(i)].volume : 0;
            if (done) last = p.last;
            levels += last;
            // An index has no volume-weighted price: its average is that of its levels.
            bars[static_cast<std::size_t>(i)] = {last, done ? p.volume - before : 0, levels / (i + 1)};
        }
        return bars;
    }
    const std::span<const Trade> trades = tradesUntil(s, second);
    std::int64_t volume = 0;
    double amount = 0;
    std::size_t t = 0;
    for (int i = 0; i < session::kMinutes; ++i) {
        std::int64_t minuteVolume = 0;
        for (; t < trades.size() && session::minuteOf(trades[t].second) == i; ++t) {
            minuteVolume += trades[t].volume;
            amount += static_cast<double>(trades[t].volume) * trades[t].price;
            last = trades[t].price;
        }
        volume += minuteVolume;
        bars[static_cast<std::size_t>(i)] = {last, minuteVolume, volume ? amount / volume : last};
    }
    return bars;
}

std::vector<DayBar> SyntheticMarket::stockHistory(const Security& s) const {
    return generateHistory(s, streamSeed(m_seed, s, 2), m_historyDates);
}

std::vector<DayBar> SyntheticMarket::daysAt(const Security& s, int second) const {
    std::vector<DayBar> days = s.kind == SecurityKind::Index ? s.indexHistory : stockHistory(s);
    const TapeState now = stateAt(s, second);
    if (now.traded())
        days.push_back({static_cast<std::uint32_t>(m_date), now.open, now.high, now.low, now.last, now.volume,
                        now.amount, now.up, now.down});
    return days;
}
