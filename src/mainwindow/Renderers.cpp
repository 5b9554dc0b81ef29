// SPDX-License-Identifier: GPL-3.0-or-later
#include "Renderers.h"

#include <QRect>
#include <cmath>
#include <limits>
#include <optional>

#include "Canvas.h"
#include "Numbers.h"
#include "TextGrid.h"
#include "ViewItems.h"
#include "pasCommon.h"

namespace {
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kGray(128, 128, 128);
const QColor kMaroon(128, 0, 0);
const QColor kPaleYellow(240, 248, 136);
const QColor kDarkOlive(79, 79, 0);
const QColor kRed = toQColor(palette::kRed);
const QColor kBrightGreen = toQColor(palette::kBrightGreen);
const QColor kLime = toQColor(palette::kLime);
const QColor kOlive = toQColor(palette::kOlive);
const QColor kSilver = toQColor(palette::kSilver);

void repairEmpty(TextGrid& grid, int column, int row) {
    if (numbers::trim(grid.cell(column, row)).empty()) grid.setCell(column, row, "0.00");
}

// A cell as the colour rules read it, in single precision as the sums are kept.
float ruleValue(TextGrid& grid, int column, int row) {
    repairEmpty(grid, column, row);
    const auto value = numbers::parseFloat(grid.cell(column, row));
    if (!value || std::fabs(*value) > std::numeric_limits<float>::max()) {
        grid.setCell(column, row, "0");
        return 0;
    }
    return static_cast<float>(*value);
}

bool negative(float v) { return v <= -0.0001f; }

// Red above, white at, bright green below; prices carry at most three decimals, so
// anything nearer than half the smallest tick is at.
QColor againstReference(float value, float reference) {
    const float d = value - reference;
    return d > 0.0005f ? kRed : d < -0.0005f ? kBrightGreen : kWhite;
}

struct Style {
    QColor color;
    HAlign align = HAlign::Center;
    bool bold = true;
};

void drawStyled(Canvas& canvas, const QRect& rect, const std::string& text, const Style& style) {
    canvas.setBrushColor(kBlack);
    canvas.fillRect(rect);
    canvas.setFontBold(style.bold);
    canvas.setFontColor(style.color);
    canvas.textRect(rect, text, style.align, VAlign::Center);
}

// The colour rules of the quote table's data rows; none where the cell stays silver on black.
std::optional<Style> quoteStyle(TextGrid& grid, int column, int row) {
    const auto rising = [](bool falls) { return falls ? kBrightGreen : kRed; };
    switch (column) {
        case 0:
        case 8:
        case 13:
        case 14:
            repairEmpty(grid, column, row);
            return Style{kGray};
        case 1:
            return Style{kPaleYellow};
        case 2:
            return Style{kPaleYellow, HAlign::Center, false};
        case 3:
        case 5:
        case 6:
        case 7:
            return Style{rising(negative(ruleValue(grid, column, row)))};
        case 4:
        case 9:
        case 10:
        case 11:
        case 12: {
            const float value = ruleValue(grid, column, row);
            return Style{rising(ruleValue(grid, 12, row) > value)};
        }
        default:
            break;
    }
    if (column >= 94 && column <= 97)
        return Style{rising(negative(ruleValue(grid, column, row))), HAlign::Right, false};
    if (column >= 118 && column <= 125) {
        if (negative(ruleValue(grid, column, row))) return std::nullopt;
        return Style{column <= 121 ? kRed : kBrightGreen, HAlign::Right};
    }
    return std::nullopt;
}

void classGridDrawCell(Canvas& canvas, TextGrid& grid, int column, int row, const QRect& rect) {
    const QColor back = bgrColor(grid.color());
    canvas.setBrushColor(back);
    canvas.fillRect(rect);
    canvas.setFontColor(kGray);
    canvas.textOut(rect.left() + 2, rect.top() + 2, grid.cell(column, row));
    canvas.setBrushColor(kMaroon);
    canvas.frameRect(rect);
    if (column != 1 && column != 2) return;
    const QRect inner = rect.adjusted(1, 1, 0, 0);
    canvas.setBrushColor(back);
    canvas.fillRect(inner);
    canvas.setFontBold(true);
    canvas.setFontColor(kWhite);
    canvas.textRect(inner, grid.cell(column, row), HAlign::Right, VAlign::Center);
}

void fillInside(Canvas& canvas, const QRect& rect, const QColor& color) {
    canvas.setBrushColor(color);
    canvas.fillRect(rect.adjusted(1, 1, 0, 0));
}
}  // namespace

void SGStockDrawCell(Canvas& canvas, TextGrid& grid, int column, int row, const QRect& rect,
                     DrawState state) {
    canvas.setBrushColor(kBlack);
    canvas.fillRect(rect);
    // The current row is marked by a line under the table, not by colour.
    canvas.setFontColor(state.selected ? kBlack : kSilver);
    canvas.textOut(rect.left() + 2, rect.top() + 2, grid.cell(column, row));
    if (row >= kQuoteFirstDataRow) {
        if (const std::optional<Style> style = quoteStyle(grid, column, row))
            drawStyled(canvas, rect, grid.cell(column, row), *style);
    }
    if (state.focused) canvas.focusRect(rect);
}

void sg_11DrawCell(Canvas& canvas, TextGrid& grid, int column, int row, const QRect& rect, DrawState) {
    classGridDrawCell(canvas, grid, column, row, rect);
}

void sg_22DrawCell(Canvas& canvas, TextGrid& grid, int column, int row, const QRect& rect, DrawState) {
    classGridDrawCell(canvas, grid, column, row, rect);
}

void sg_33DrawCell(Canvas& canvas, TextGrid& grid, int column, int row, const QRect& rect, DrawState) {
    classGridDrawCell(canvas, grid, column, row, rect);
}

void sg_44DrawCell(Canvas& canvas, TextGrid& grid, int column, int row, const QRect& rect, DrawState) {
    canvas.setFontSize(11);
    canvas.setBrushColor(kBlack);
    canvas.fillRect(rect);

    Style style{kSilver, HAlign::Left, false};
    if (column == 1 || column == 3) {
        style.align = HAlign::Right;
        style.bold = true;
        if (row == 0) {
            style.color = negative(ruleValue(grid, 3, 0)) ? kBrightGreen : kRed;
        } else if (row <= 13 && column == 1) {
            style.color = againstReference(ruleValue(grid, 1, 12), 0);
        } else if (row <= 10 || row == 14) {
            style.color = kOlive;
        } else if (row <= 13) {
            // 今开, 最高 and 最低 against the previous close, as the quote table colours them;
            // the book holds no previous close, but 现价 minus 涨跌 is one.
            const float prevClose = ruleValue(grid, 1, 11) - ruleValue(grid, 1, 12);
            style.color = againstReference(ruleValue(grid, 3, row), prevClose);
        } else {
            style.color = column == 1 ? kRed : kBrightGreen;  // 外盘, 内盘
        }
    }
    // Inside the separators: the top line is the cell's first pixel row, the bottom line its last.
    drawStyled(canvas, rect.adjusted(1, 1, 0, -1), grid.cell(column, row), style);

    const bool maroonTop = row == 0, maroonBottom = row == 0 || row == 5 || row == 10 || row == 15;
    canvas.setPenColor(maroonTop ? kMaroon : kBlack);
    canvas.moveTo(rect.left(), rect.top());
    canvas.lineTo(rect.right() + 1, rect.top());
    canvas.setPenColor(maroonBottom ? kMaroon : kBlack);
    canvas.moveTo(rect.left(), rect.bottom());
    canvas.lineTo(rect.right() + 1, rect.bottom());
}

void SGBSDrawCell(Canvas& canvas, TextGrid& grid, int column, int row, const QRect& rect, DrawState) {
    canvas.setBrushColor(kBlack);
    canvas.frameRect(rect);
    const std::string_view text = numbers::trim(grid.cell(column, row));
    fillInside(canvas, rect, text == "-1" ? kLime : text == "1" ? kRed : kDarkOlive);
}

void SGNETDrawCell(Canvas& canvas, TextGrid& grid, int column, int row, const QRect& rect, DrawState) {
    const QColor bar = bgrColor(grid.color());
    canvas.setBrushColor(bar);
    canvas.fillRect(rect);
    const std::string_view text = numbers::trim(grid.cell(column, row));
    fillInside(canvas, rect, text == "0" ? kLime : text == "1" ? kRed : text == "3" ? kBlack : bar);
}
