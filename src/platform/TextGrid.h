// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The one text-cell table of the program: every grid (the quote table, the side grids,
// the stock directory, the replay and post-market tables) is a TextGrid, and grid views
// only paint one. Cells hold UTF-8 text and are addressed (column, row), columns first.
//
// Reading a cell outside the grid gives the empty text; writing one is ignored and
// returns false. Growing the grid adds empty cells with the default width and height;
// shrinking it drops the cut-off cells.
class TextGrid {
public:
    using Row = std::vector<std::string>;

    struct Rect {
        int left = 0, top = 0, right = 0, bottom = 0;
    };

    static constexpr int kDefaultColumnWidth = 64;
    static constexpr int kDefaultRowHeight = 24;

    TextGrid(int columnCount = 5, int rowCount = 5);

    int columnCount() const { return static_cast<int>(m_widths.size()); }
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    void setColumnCount(int count);
    void setRowCount(int count);

    const std::string& cell(int column, int row) const;
    bool setCell(int column, int row, std::string_view text);
    const Row& row(int row) const { return m_rows.at(static_cast<std::size_t>(row)); }
    void swapRows(int a, int b);
    // Replaces every cell (and so the row and column counts) at once; widths, heights,
    // fixed counts and selection stay. Rows shorter than columnCount are padded.
    void replaceCells(int columnCount, std::vector<Row>&& rows);

    int fixedColumns() const { return m_fixedColumns; }
    int fixedRows() const { return m_fixedRows; }
    void setFixedColumns(int count) { m_fixedColumns = count; }
    void setFixedRows(int count) { m_fixedRows = count; }

    // A width of 0 hides the column.
    int columnWidth(int column) const;
    void setColumnWidth(int column, int width);
    int defaultColumnWidth() const { return m_defaultWidth; }
    void setDefaultColumnWidth(int width);
    int rowHeight(int row) const;
    void setRowHeight(int row, int height);
    int defaultRowHeight() const { return m_defaultHeight; }
    // Resets the height of every row, as grid controls do.
    void setDefaultRowHeight(int height);

    int selectedColumn() const { return m_selection.left; }
    int selectedRow() const { return m_selection.top; }
    void setSelectedCell(int column, int row) { m_selection = {column, row, column, row}; }
    const Rect& selection() const { return m_selection; }
    void setSelection(const Rect& rect) { m_selection = rect; }

    // 0x00BBGGRR, black by default.
    std::uint32_t color() const { return m_color; }
    void setColor(std::uint32_t color) { m_color = color; }

private:
    bool contains(int column, int row) const;

    std::vector<Row> m_rows;
    std::vector<int> m_widths;
    std::vector<int> m_heights;
    int m_fixedColumns = 1;
    int m_fixedRows = 1;
    int m_defaultWidth = kDefaultColumnWidth;
    int m_defaultHeight = kDefaultRowHeight;
    Rect m_selection{1, 1, 1, 1};
    std::uint32_t m_color = 0;
};
