// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "pasCommon.h"

namespace {
// A fixed measure: 6 pixels per byte.
int byteWidth(std::string_view text) { return static_cast<int>(text.size()) * 6; }

TextGrid column(std::initializer_list<const char*> values, int fixedRows = 1) {
    TextGrid grid(2, static_cast<int>(values.size()) + fixedRows);
    grid.setFixedRows(fixedRows);
    int r = fixedRows;
    for (const char* v : values) {
        grid.setCell(0, r, v);
        grid.setCell(1, r, std::string("row") + v);
        ++r;
    }
    return grid;
}

std::vector<std::string> columnValues(const TextGrid& grid, int c = 0) {
    std::vector<std::string> out;
    for (int r = grid.fixedRows(); r < grid.rowCount(); ++r) out.push_back(grid.cell(c, r));
    return out;
}
}  // namespace

TEST(QuoteTable, InitWritesTheColumnMap) {
    QuoteTable table;
    InitQuoteTable(table, 300, byteWidth);
    const TextGrid& g = table.SGStock;
    EXPECT_EQ(g.columnCount(), 136);
    EXPECT_EQ(g.rowCount(), 7);
    EXPECT_EQ(g.fixedColumns(), 3);
    EXPECT_EQ(g.fixedRows(), 2);
    EXPECT_EQ(g.cell(46, 1), "资金流向");
    EXPECT_EQ(g.cell(46, 0), "09:30~10:00");
    EXPECT_EQ(g.cell(88, 0), "14:30~15:00");
    EXPECT_EQ(g.cell(93, 1), "大单个数");
    EXPECT_EQ(g.cell(94, 0), "净流向.元");
    EXPECT_EQ(g.cell(94, 1), "超 大 户");
    EXPECT_EQ(g.cell(117, 1), "卖量5");
    EXPECT_EQ(g.cell(130, 0), "主卖数量.手");
    EXPECT_EQ(g.cell(133, 1), "主卖散户");
    EXPECT_EQ(g.cell(40, 1), "待定");
    EXPECT_EQ(g.cell(135, 1), "成交笔数");
    for (int c = 0; c < 136; ++c) {
        const bool shown = c <= 12 || c == 14 || (c >= 94 && c <= 97) || (c >= 118 && c <= 125);
        EXPECT_EQ(g.columnWidth(c) > 0, shown) << "column " << c;
    }
    for (int r = 2; r <= 6; ++r) EXPECT_EQ(g.cell(0, r), std::to_string(r - 1));
    EXPECT_EQ(g.rowHeight(0), 0);
    EXPECT_EQ(g.rowHeight(3), 50);
    EXPECT_EQ(g.color(), 0u);
    EXPECT_EQ(table.CurrentRow, 2);
    EXPECT_EQ(table.CurrentCode, "000001");
    EXPECT_EQ(table.CurrentName, "深发展A");
}

TEST(CellHelpers, ReadAndRepair) {
    TextGrid g(4, 1);
    g.setCell(1, 0, "abc");
    g.setCell(2, 0, "16777217");
    g.setCell(3, 0, " 12 ");
    EXPECT_EQ(CellFloat(g, 0, 0), 0.0f);
    EXPECT_EQ(g.cell(0, 0), "0.00");
    EXPECT_EQ(CellFloat(g, 1, 0), 0.0f);
    EXPECT_EQ(g.cell(1, 0), "0.00");
    EXPECT_EQ(CellFloat(g, 2, 0), 16777216.0f);
    EXPECT_EQ(g.cell(2, 0), "16777217");  // a valid cell is left as it is
    EXPECT_EQ(CellInt(g, 3, 0), 12);
    g.setCell(3, 0, "1.5");
    EXPECT_EQ(CellInt(g, 3, 0), 0);
    EXPECT_EQ(g.cell(3, 0), "0");
    g.setCell(3, 0, "1e39");  // beyond single precision
    EXPECT_EQ(CellFloat(g, 3, 0), 0.0f);
}

TEST(CellHelpers, RoundDecimals) {
    EXPECT_EQ(RoundDecimals(0, 2.5), 3.0);
    EXPECT_EQ(RoundDecimals(0, -2.5), -3.0);
    EXPECT_EQ(RoundDecimals(2, 1.005), 1.01);
    EXPECT_EQ(RoundDecimals(2, 1234567.891), 1234567.89);
}

TEST(AutoFitColumns, FitsWidestCellAndKeepsHiddenColumnsHidden) {
    TextGrid g(3, 4);
    g.setCell(0, 0, "group title");  // 66 px, wider than every cell
    g.setCell(1, 1, "ab");
    g.setCell(1, 2, "abcd");
    g.setCell(1, 3, "  abc  ");  // measured trimmed: narrower, no change
    g.setCell(2, 1, "wide text here");
    g.setColumnWidth(2, 1);
    AutoFitColumns(g, byteWidth);
    EXPECT_EQ(g.columnWidth(0), 66 + 15);
    EXPECT_EQ(g.columnWidth(1), 24 + 15);
    EXPECT_EQ(g.columnWidth(2), 1);
}

TEST(GridRows, DeleteMovesRowsUp) {
    TextGrid g = column({"a", "b", "c"});
    DeleteGridRow(g, 2);
    EXPECT_EQ(columnValues(g), (std::vector<std::string>{"a", "c"}));
    DeleteGridRow(g, 9);
    EXPECT_EQ(g.rowCount(), 3);
}

TEST(GridRows, CompareCells) {
    EXPECT_GT(CompareCells("10", "9", 1), 0);
    EXPECT_LT(CompareCells("10", "9", 0), 0);
    EXPECT_LT(CompareCells("x", "1", 2), 0);
    EXPECT_EQ(CompareCells("Abc", "aBC", 0), 0);
    EXPECT_LT(CompareCells("安", "北", 0), 0);  // pinyin order: an before bei
    EXPECT_EQ(CompareCells("1", "2", 7), 0);
    EXPECT_EQ(CompareCells("-1.5", "-1.50", 2), 0);
}

TEST(GridRows, SortMovesWholeRowsAndSelectsFirstDataRow) {
    std::mt19937 random(1);
    TextGrid g = column({"3", "1", "2"});
    g.setSelectedCell(1, 3);
    SortGridRows(g, 0, 1, false, random);
    EXPECT_EQ(columnValues(g), (std::vector<std::string>{"3", "2", "1"}));
    EXPECT_EQ(columnValues(g, 1), (std::vector<std::string>{"row3", "row2", "row1"}));
    EXPECT_EQ(g.selectedRow(), 1);
    EXPECT_EQ(g.cell(0, 0), "");  // the fixed row stays

    TextGrid two = column({"10", "9", "x", "-1.5"}, 2);
    SortGridRows(two, 0, 2, true, random);
    EXPECT_EQ(columnValues(two), (std::vector<std::string>{"-1.5", "x", "9", "10"}));
    EXPECT_EQ(two.selectedRow(), 2);
}

TEST(GridRows, SortManyEqualAndSortedKeys) {
    std::mt19937 random(7);
    TextGrid g(1, 20001);
    for (int r = 1; r < g.rowCount(); ++r) g.setCell(0, r, std::to_string(r % 3 == 0 ? 5 : r));
    SortGridRows(g, 0, 1, true, random);
    for (int r = 2; r < g.rowCount(); ++r) ASSERT_LE(CompareCells(g.cell(0, r - 1), g.cell(0, r), 1), 0);
}

TEST(TextHelpers, ReverseText) {
    EXPECT_EQ(ReverseText("abc"), "cba");
    EXPECT_EQ(ReverseText(""), "");
    EXPECT_EQ(ReverseText(ReverseText("\xD6\xD0x")), "\xD6\xD0x");
}

TEST(TextHelpers, SplitText) {
    struct Case {
        const char* text;
        std::vector<std::string> items;
    } cases[] = {
        {"a:b:c", {"a", "b", "c"}}, {"a::b", {"a", "b"}}, {"x", {"x"}},
        {" a: :b ", {"a", "b"}},    {"a:", {"a", ""}},    {":", {":"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> list{"kept"};
        SplitText(c.text, ':', list);
        std::vector<std::string> expected{"kept"};
        expected.insert(expected.end(), c.items.begin(), c.items.end());
        EXPECT_EQ(list, expected) << c.text;
    }
}

TEST(TextHelpers, ParseDashedDate) {
    EXPECT_EQ(ParseDashedDate("2009-03-27"), QDateTime(QDate(2009, 3, 27), QTime(0, 0)));
    EXPECT_EQ(ParseDashedDate("2009-03-27 14:05:09"), QDateTime(QDate(2009, 3, 27), QTime(14, 5, 9)));
    for (const char* bad : {"", "2009/03/27", "2009-02-30", "27-03-2009", "2009-03-27x", "2009-03-27 25:00:00"})
        EXPECT_FALSE(ParseDashedDate(bad)) << bad;
}
