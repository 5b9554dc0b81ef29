// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Hashes.h"
#include "StockDirectory.h"
#include "TextGrid.h"

namespace {

using Lines = std::vector<std::string>;

// A small directory as band.bin delivers it: initials in either case, a padded row, and the
// blank rows a table file leaves after its last stock.
TextGrid directory() {
    const char* const rows[][3] = {
        {"000001", "深发展A", "SFZA"},  {"600489", "中金黄金", "ZJHJ"}, {" 600030 ", " 中信证券 ", " zxzq "},
        {"000630", "铜陵有色", "TLYS"}, {"600000", "浦发银行", "pfyh"}, {"002155", "辰州矿业", "CZKY"},
        {"601398", "工商银行", "GSYH"}, {"300059", "东方财富", "DFCF"}, {"600638", "浦发新区", "PFXQ"},
    };
    TextGrid grid(8, 11);
    int r = 0;
    for (const auto& row : rows) {
        for (int c = 0; c < 3; ++c) grid.setCell(c, r, row[c]);
        ++r;
    }
    return grid;
}

}  // namespace

TEST(JXCode, FindsByCodeOrInitialsInRowOrder) {
    const TextGrid dir = directory();
    const struct Case {
        const char* query;
        Lines expected;
    } cases[] = {
        {"60",
         {"600489=中金黄金", "600030=中信证券", "600000=浦发银行", "601398=工商银行", "600638=浦发新区"}},
        {"pf", {"600000=浦发银行", "600638=浦发新区"}},  // whatever the case stored
        {" Zx ", {"600030=中信证券"}},
        {"0", {"000001=深发展A", "000630=铜陵有色", "002155=辰州矿业"}},
        {"600489", {"600489=中金黄金"}},
        {"6004890", {}},  // no code is longer than six digits
        {"sfzab", {}},
        {"", {}},
        {"   ", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(JXCode(dir, c.query), c.expected) << '"' << c.query << '"';
}

TEST(StockCodeIndex, MapsEveryTrimmedCodeToItsRow) {
    TIntegerHash index;
    index.set("999999", 1);  // left from an earlier load
    indexStockDirectory(directory(), index);
    EXPECT_EQ(index.count(), 9);
    EXPECT_EQ(index.find("000001"), 0);
    EXPECT_EQ(index.find("600030"), 2);
    EXPECT_EQ(index.find("600638"), 8);
    EXPECT_EQ(index.find("999999"), TIntegerHash::kNotFound);
}
