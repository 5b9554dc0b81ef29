// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <map>
#include <utility>
#include <vector>

#include "Canvas.h"
#include "GridView.h"
#include "Pixels.h"
#include "TextGrid.h"

namespace {
// Five columns and four rows, one fixed of each; column 1 and row 1 hidden.
class GridViewTest : public ::testing::Test {
protected:
    GridViewTest() {
        grid.setFixedColumns(1);
        grid.setFixedRows(1);
        const int widths[] = {20, 0, 30, 40, 50};
        for (int c = 0; c < 5; ++c) grid.setColumnWidth(c, widths[c]);
        const int heights[] = {10, 0, 15, 20};
        for (int r = 0; r < 4; ++r) grid.setRowHeight(r, heights[r]);
        grid.setSelectedCell(3, 3);
        view.resize(200, 100);
        view.setGrid(&grid);
        view.show();
        QObject::connect(&view, &GridView::cellSelected, [this](int c, int r) {
            selected.push_back({c, r});
        });
        QObject::connect(&view, &GridView::clicked, [this] { ++clicks; });
    }

    void click(QPoint at) {
        QMouseEvent press(QEvent::MouseButtonPress, at, view.viewport()->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &press);
    }
    void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, k, modifiers);
        QApplication::sendEvent(&view, &press);
    }
    std::pair<int, int> selection() const { return {grid.selectedColumn(), grid.selectedRow()}; }

    TextGrid grid{5, 4};
    GridView view;
    std::vector<std::pair<int, int>> selected;
    int clicks = 0;
};
}  // namespace

TEST_F(GridViewTest, HiddenColumnsAndRowsTakeNoRoom) {
    EXPECT_EQ(view.cellRect(0, 0), QRect(0, 0, 20, 10));
    EXPECT_EQ(view.cellRect(1, 0), QRect());
    EXPECT_EQ(view.cellRect(2, 1), QRect());
    EXPECT_EQ(view.cellRect(2, 2), QRect(20, 10, 30, 15));
    EXPECT_EQ(view.cellRect(4, 3), QRect(90, 25, 50, 20));
    EXPECT_EQ(view.cellAt({25, 12}), std::pair(2, 2));
    EXPECT_EQ(view.cellAt({150, 12}), std::nullopt);

    view.setGridLines(1, Qt::white);
    EXPECT_EQ(view.cellRect(2, 2), QRect(21, 11, 30, 15));
    EXPECT_EQ(view.cellRect(4, 3), QRect(93, 27, 50, 20));
}

TEST_F(GridViewTest, PaintsEveryShownCellInItsRectWithItsState) {
    std::map<std::pair<int, int>, DrawState> drawn;
    view.setDrawCell([&](Canvas& canvas, TextGrid&, int c, int r, const QRect& rect, DrawState state) {
        drawn[{c, r}] = state;
        canvas.setBrushColor(QColor(c * 50, r * 60, 200));
        canvas.fillRect(rect.adjusted(-5, -5, 5, 5));  // clipped to the cell
    });
    const QImage image = renderWidget(view);
    EXPECT_EQ(drawn.size(), 4u * 3u);  // columns 0, 2, 3, 4; rows 0, 2, 3
    for (const auto& [cell, state] : drawn) {
        const auto [c, r] = cell;
        const QRect rect = view.cellRect(c, r);
        EXPECT_EQ(countColor(image, rect, QColor(c * 50, r * 60, 200)), rect.width() * rect.height())
            << c << "," << r;
        EXPECT_EQ(state.fixed, c == 0 || r == 0);
        EXPECT_EQ(state.selected, c == 3 && r == 3);
    }
    EXPECT_EQ(image.pixelColor(160, 50), bgrColor(grid.color()));  // beyond the cells
}

TEST_F(GridViewTest, ClicksAndKeysSelectShownDataCellsOnly) {
    click({100, 12});  // (4, 2)
    click({5, 30});    // fixed column: nothing
    EXPECT_EQ(selection(), std::pair(4, 2));
    EXPECT_EQ(selected, (std::vector<std::pair<int, int>>{{4, 2}}));
    EXPECT_EQ(clicks, 1);

    const struct {
        int key;
        std::pair<int, int> to;
    } steps[] = {
        {Qt::Key_Left, {3, 2}}, {Qt::Key_Left, {2, 2}}, {Qt::Key_Left, {2, 2}},  // hidden, then fixed
        {Qt::Key_Up, {2, 2}},   {Qt::Key_Down, {2, 3}}, {Qt::Key_End, {4, 3}},  {Qt::Key_Home, {2, 3}}};
    for (const auto& s : steps) {
        key(s.key);
        EXPECT_EQ(selection(), s.to) << s.key;
    }
    EXPECT_EQ(clicks, 1 + 7);
}

TEST_F(GridViewTest, RowSelectTakesTheWholeRow) {
    view.setRowSelect(true);
    click({25, 30});
    EXPECT_EQ(grid.selection().top, 3);
    EXPECT_EQ(grid.selection().left, 1);
    EXPECT_EQ(grid.selection().right, 4);
    key(Qt::Key_Home);
    EXPECT_EQ(grid.selectedRow(), 2);
}

TEST_F(GridViewTest, ScrollsToKeepTheSelectionInView) {
    grid.setRowCount(20);
    for (int r = 2; r < 20; ++r) grid.setRowHeight(r, 20);
    view.refresh();
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid.selectedRow(), 19);
    const QRect last = view.cellRect(3, 19);
    ASSERT_FALSE(last.isEmpty());
    EXPECT_LE(last.bottom(), view.viewport()->height() - 1);
    EXPECT_EQ(view.cellRect(3, 0), QRect(50, 0, 40, 10));  // the fixed row stays
    EXPECT_EQ(view.cellRect(3, 2), QRect());
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(view.cellRect(3, 2), QRect(50, 10, 40, 20));
}
