// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextGrid.h"

#include <algorithm>

namespace {
const std::string kEmpty;
}

TextGrid::TextGrid(int columnCount, int rowCount) {
    setColumnCount(columnCount);
    setRowCount(rowCount);
}

void TextGrid::setColumnCount(int count) {
    const auto n = static_cast<std::size_t>(std::max(count, 0));
    m_widths.resize(n, m_defaultWidth);
    for (Row& r : m_rows) r.resize(n);
}

void TextGrid::setRowCount(int count) {
    const auto n = static_cast<std::size_t>(std::max(count, 0));
    m_rows.resize(n, Row(m_widths.size()));
    m_heights.resize(n, m_defaultHeight);
}

bool TextGrid::contains(int column, int row) const {
    return column >= 0 && row >= 0 && column < columnCount() && row < rowCount();
}

const std::string& TextGrid::cell(int column, int row) const {
    return contains(column, row) ? m_rows[row][column] : kEmpty;
}

bool TextGrid::setCell(int column, int row, std::string_view text) {
    if (!contains(column, row)) return false;
    m_rows[row][column].assign(text);
    return true;
}

void TextGrid::swapRows(int a, int b) {
    if (a >= 0 && b >= 0 && a < rowCount() && b < rowCount()) m_rows[a].swap(m_rows[b]);
}

void TextGrid::replaceCells(int columnCount, std::vector<Row>&& rows) {
    m_rows = std::move(rows);
    for (Row& r : m_rows) r.resize(static_cast<std::size_t>(columnCount));
    m_widths.resize(static_cast<std::size_t>(columnCount), m_defaultWidth);
    m_heights.resize(m_rows.size(), m_defaultHeight);
}

int TextGrid::columnWidth(int column) const {
    return column >= 0 && column < columnCount() ? m_widths[column] : 0;
}

void TextGrid::setColumnWidth(int column, int width) {
    if (column >= 0 && column < columnCount()) m_widths[column] = std::max(width, 0);
}

void TextGrid::setDefaultColumnWidth(int width) {
    m_defaultWidth = std::max(width, 0);
    std::fill(m_widths.begin(), m_widths.end(), m_defaultWidth);
}

int TextGrid::rowHeight(int row) const { return row >= 0 && row < rowCount() ? m_heights[row] : 0; }

void TextGrid::setRowHeight(int row, int height) {
    if (row >= 0 && row < rowCount()) m_heights[row] = std::max(height, 0);
}

void TextGrid::setDefaultRowHeight(int height) {
    m_defaultHeight = std::max(height, 0);
    std::fill(m_heights.begin(), m_heights.end(), m_defaultHeight);
}
