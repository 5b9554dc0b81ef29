// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "TextGrid.h"

TEST(TextGrid, GrowsAndShrinksKeepingCellsInside) {
    TextGrid grid(2, 2);
    grid.setCell(1, 1, "x");
    grid.setColumnWidth(1, 0);
    grid.setColumnCount(4);
    grid.setRowCount(3);
    EXPECT_EQ(grid.cell(1, 1), "x");
    EXPECT_EQ(grid.cell(3, 2), "");
    EXPECT_EQ(grid.columnWidth(1), 0);
    EXPECT_EQ(grid.columnWidth(3), TextGrid::kDefaultColumnWidth);
    grid.setRowCount(1);
    grid.setRowCount(2);
    EXPECT_EQ(grid.cell(1, 1), "");  // shrinking drops the cells
}

TEST(TextGrid, OutsideCellsReadEmptyAndIgnoreWrites) {
    TextGrid grid(2, 2);
    EXPECT_FALSE(grid.setCell(2, 0, "a"));
    EXPECT_FALSE(grid.setCell(0, -1, "a"));
    EXPECT_EQ(grid.cell(-1, 5), "");
    EXPECT_EQ(grid.columnWidth(9), 0);
}

TEST(TextGrid, DefaultRowHeightResetsEveryRow) {
    TextGrid grid(1, 3);
    grid.setRowHeight(0, 0);
    grid.setDefaultRowHeight(30);
    EXPECT_EQ(grid.rowHeight(0), 30);
    grid.setRowCount(4);
    EXPECT_EQ(grid.rowHeight(3), 30);
}

TEST(TextGrid, ReplaceCellsPadsShortRowsAndKeepsLayout) {
    TextGrid grid(3, 1);
    grid.setFixedRows(0);
    grid.setColumnWidth(0, 7);
    grid.replaceCells(2, {{"a"}, {"b", "c", "dropped"}});
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.columnCount(), 2);
    EXPECT_EQ(grid.cell(1, 0), "");
    EXPECT_EQ(grid.cell(1, 1), "c");
    EXPECT_EQ(grid.columnWidth(0), 7);
    EXPECT_EQ(grid.fixedRows(), 0);
}
