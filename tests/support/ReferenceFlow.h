// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>

#include "Numbers.h"
#include "TdxsimProcess.h"

// The flow columns of one row as the order classes and buckets define them: every sum
// is kept as the whole-number text of its last addition and read back in single
// precision for the next, as the table's cells are.
class ReferenceRow {
public:
    explicit ReferenceRow(float floatShares) : m_floatShares(floatShares) {}

    void book(const GroundTruthTrade& t) {
        const float shares = static_cast<float>(t.volume) * 100.0f;
        const float price = static_cast<float>(t.price) / 1000.0f;
        const float amount = shares * price;
        const int hhmm00 = (t.second / 3600 * 100 + t.second / 60 % 60) * 100;
        // 11:30 and the lunch break count to the morning's last half hour.
        const int ends[] = {100000, 103000, 110000, 130000, 133000, 140000, 143000};
        int bucket = 0;
        while (bucket < 7 && hhmm00 >= ends[bucket]) ++bucket;
        ++m_counts[135];
        if (t.side == 2) {
            add(134, amount);
            return;
        }
        const bool buy = t.side == 0;
        const int k = amount <= 100000.0f ? 3 : amount <= 500000.0f ? 2 : amount <= 1000000.0f ? 1 : 0;
        const float sign = buy ? 1.0f : -1.0f;
        const int base = 46 + 6 * bucket;
        add(42, sign * amount);
        add(base, sign * amount);
        if (k <= 1) {
            add(base + 1, sign * shares);
            add(base + 2, sign * shares);
            add(base + 3, sign * amount);
            add(base + 4, sign * amount);
            ++m_counts[base + 5];
        }
        add(94 + k, sign * amount);
        add((buy ? 118 : 122) + k, amount);
        add((buy ? 126 : 130) + k, shares);
    }

    // The text a cell of the row should hold.
    std::string text(int column) const {
        if (column == 43 || column == 6) {
            const double net = static_cast<double>(value(126)) + value(127) - value(130) - value(131);
            return m_floatShares > 0 ? numbers::formatFloat("0.00", net / m_floatShares) : "0.00";
        }
        if (column == 44 || column == 7) {
            int big = 0;
            for (int b = 0; b < 8; ++b) big += count(51 + 6 * b);
            return count(135) ? numbers::formatFloat("0.00", big * 100.0 / count(135)) : "0.00";
        }
        if (column == 5) return numbers::formatFloat("0", value(42) / 10000.0);
        if (column == 135 || (column >= 51 && column <= 93 && (column - 51) % 6 == 0))
            return std::to_string(count(column));
        return m_texts.count(column) ? m_texts.at(column) : "0";
    }

private:
    void add(int column, float delta) {
        m_texts[column] = numbers::formatFloat("0", static_cast<double>(value(column)) + delta);
    }
    float value(int column) const {
        return m_texts.count(column) ? static_cast<float>(*numbers::parseFloat(m_texts.at(column))) : 0.0f;
    }
    int count(int column) const { return m_counts.count(column) ? m_counts.at(column) : 0; }

    float m_floatShares;
    std::map<int, std::string> m_texts;
    std::map<int, int> m_counts;
};
