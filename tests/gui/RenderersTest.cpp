// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QPainter>

#include <string>

#include "Canvas.h"
#include "Pixels.h"
#include "Renderers.h"
#include "TextGrid.h"

namespace {
const QColor kBlack(0, 0, 0), kWhite(255, 255, 255), kSilver(192, 192, 192), kGray(128, 128, 128);
const QColor kRed(255, 0, 0), kBrightGreen(0, 255, 64), kLime(0, 255, 0), kOlive(192, 192, 0);
const QColor kPaleYellow(240, 248, 136), kDarkOlive(79, 79, 0), kMaroon(128, 0, 0);
const QColor kTextColours[] = {kBlack, kWhite, kSilver, kGray, kRed, kBrightGreen, kOlive, kPaleYellow};

using Renderer = void (*)(Canvas&, TextGrid&, int, int, const QRect&, DrawState);

QImage paintCell(Renderer draw, TextGrid& grid, int column, int row, DrawState state = {},
                 QSize size = {90, 24}) {
    QImage image = filledImage(size.width(), size.height(), Qt::magenta);
    QPainter painter(&image);
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(14);
    painter.setFont(font);
    Canvas canvas(painter);
    draw(canvas, grid, column, row, image.rect(), state);
    return image;
}

// The one text colour in the cell (its background black): the colour with the most pixels
// among those the renderers use, or black when there is no text.
QColor textColour(const QImage& image) {
    QColor best = kBlack;
    int most = 0;
    for (const QColor& c : kTextColours) {
        if (c == kBlack) continue;
        const int n = countColor(image, image.rect(), c);
        if (n > most) most = n, best = c;
    }
    return best;
}

}  // namespace

TEST(SGStockDrawCell, ColoursDataCellsByColumn) {
    const struct {
        int column;
        std::string text, prevClose;
        QColor colour;
        std::string after;  // the cell after painting
        bool selected = false;
    } cases[] = {
        {3, "-0.00", "10.00", kRed, "-0.00"},  // a tiny fall rounded to zero is no fall
        {3, "-0.00005", "10.00", kRed, "-0.00005"},
        {3, "-0.01", "10.00", kBrightGreen, "-0.01"},
        {5, "abc", "10.00", kRed, "0"},
        {12, "10.00", "10.00", kRed, "10.00"},  // never below itself
        {9, "", "10.00", kBrightGreen, "0.00"},
        {9, "", "-1.00", kRed, "0.00"},
        {4, "10.01", "10.00", kRed, "10.01"},
        {4, "9.99", "10.00", kBrightGreen, "9.99"},
        {0, "", "10.00", kGray, "0.00"},
        {1, "000001", "10.00", kPaleYellow, "000001"},
        {95, "-3", "10.00", kBrightGreen, "-3"},
        {118, "-5", "10.00", kSilver, "-5"},  // left as the table draws any cell
        {118, "5", "10.00", kRed, "5"},
        {122, "5", "10.00", kBrightGreen, "5"},
        {15, "123", "10.00", kSilver, "123"},
        {15, "123", "10.00", kBlack, "123", true},  // the selection is shown by the line below
        {3, "1.00", "10.00", kRed, "1.00", true},
    };
    for (const auto& c : cases) {
        TextGrid grid(136, 3);
        grid.setCell(c.column, 2, c.text);
        if (c.column != 12) grid.setCell(12, 2, c.prevClose);
        DrawState state;
        state.selected = c.selected;
        const QImage image = paintCell(SGStockDrawCell, grid, c.column, 2, state);
        EXPECT_EQ(textColour(image), c.colour) << c.column << " " << c.text;
        EXPECT_EQ(grid.cell(c.column, 2), c.after) << c.column << " " << c.text;
        EXPECT_EQ(countColor(image, image.rect(), Qt::magenta), 0);  // the whole cell
    }
}

TEST(SGStockDrawCell, HeaderRowsStaySilverAndUntouched) {
    TextGrid grid(136, 3);
    grid.setCell(3, 1, "涨幅%");
    EXPECT_EQ(textColour(paintCell(SGStockDrawCell, grid, 3, 1)), kSilver);
    EXPECT_EQ(grid.cell(3, 1), "涨幅%");
}

TEST(sg_44DrawCell, ColoursPricesAgainstTheChangeAndThePreviousClose) {
    const struct {
        std::string price, change;  // 现价 (1, 11) and 涨跌 (1, 12)
        int column, row;
        std::string text;
        QColor colour;
    } cases[] = {
        {"10.50", "0.00", 1, 3, "10.48", kWhite},  // no change: the prices are white
        {"10.50", "0.50", 1, 3, "10.48", kRed},         {"10.50", "-0.20", 1, 8, "10.48", kBrightGreen},
        {"10.50", "0.50", 3, 11, "10.00", kWhite},  // 今开 at the previous close, 10.50 - 0.50
        {"10.37", "0.37", 3, 11, "10.00", kWhite},      {"10.50", "0.50", 3, 12, "10.60", kRed},
        {"10.50", "0.50", 3, 13, "9.90", kBrightGreen}, {"10.50", "0.50", 3, 3, "1200", kOlive},
        {"10.50", "0.50", 1, 14, "12.3万", kOlive},     {"10.50", "0.50", 1, 15, "5000", kRed},
        {"10.50", "0.50", 3, 15, "4000", kBrightGreen}, {"10.50", "0.50", 0, 3, "卖③", kSilver},
    };
    for (const auto& c : cases) {
        TextGrid grid(4, 16);
        grid.setCell(1, 11, c.price);
        if (!(c.column == 1 && c.row == 11)) grid.setCell(c.column, c.row, c.text);
        if (!(c.column == 1 && c.row == 12)) grid.setCell(1, 12, c.change);
        const QImage image = paintCell(sg_44DrawCell, grid, c.column, c.row, {}, {60, 18});
        EXPECT_EQ(textColour(image), c.colour) << c.column << "," << c.row << " " << c.text;
        EXPECT_EQ(grid.cell(c.column, c.row), c.text);
    }
}

TEST(sg_44DrawCell, TheBalanceRowFollowsTheBidAskDifference) {
    TextGrid grid(4, 16);
    grid.setCell(1, 0, "-12.50%");
    grid.setCell(3, 0, "-120");
    EXPECT_EQ(textColour(paintCell(sg_44DrawCell, grid, 1, 0, {}, {60, 18})), kBrightGreen);
    grid.setCell(3, 0, "oops");
    EXPECT_EQ(textColour(paintCell(sg_44DrawCell, grid, 3, 0, {}, {60, 18})), kRed);
    EXPECT_EQ(grid.cell(3, 0), "0");
    EXPECT_EQ(grid.cell(1, 0), "-12.50%");  // not read, so not repaired
}

TEST(sg_44DrawCell, MaroonLinesSeparateAsksBidsAndTheSummary) {
    TextGrid grid(4, 16);
    for (const int row : {4, 5, 0}) {
        const QImage image = paintCell(sg_44DrawCell, grid, 0, row, {}, {60, 18});
        const QColor bottom = image.pixelColor(30, 17), top = image.pixelColor(30, 0);
        EXPECT_EQ(bottom, row == 4 ? kBlack : kMaroon) << row;
        EXPECT_EQ(top, row == 0 ? kMaroon : kBlack) << row;
    }
}

TEST(sg_11DrawCell, FiguresAreWhiteInsideAMaroonOutline) {
    TextGrid grid(3, 4);
    grid.setCell(0, 0, "    超大");
    grid.setCell(1, 0, "123");
    QImage image = paintCell(sg_11DrawCell, grid, 1, 0);
    EXPECT_EQ(textColour(image), kWhite);
    EXPECT_EQ(image.pixelColor(0, 10), kMaroon);
    EXPECT_EQ(image.pixelColor(40, 0), kMaroon);
    image = paintCell(sg_33DrawCell, grid, 0, 0);
    EXPECT_EQ(textColour(image), kGray);
}

TEST(SGBSDrawCell, LightsOnlyOneAndMinusOne) {
    const struct {
        std::string text;
        QColor fill;
    } cases[] = {{"1", kRed}, {" -1 ", kLime}, {"0", kDarkOlive}, {"", kDarkOlive}, {"2", kDarkOlive}};
    for (const auto& c : cases) {
        TextGrid grid(10, 2);
        grid.setCell(0, 1, c.text);
        const QImage image = paintCell(SGBSDrawCell, grid, 0, 1, {}, {18, 40});
        EXPECT_EQ(countColor(image, image.rect().adjusted(1, 1, 0, -1), c.fill), 17 * 38) << c.text;
        EXPECT_EQ(image.pixelColor(0, 0), kBlack);
    }
}

TEST(SGNETDrawCell, ShowsZeroOneAndThreeOnTheStatusBarColour) {
    const QColor bar(212, 208, 200);
    const struct {
        std::string text;
        QColor fill;
    } cases[] = {{"0", kLime}, {"1", kRed}, {"3", kBlack}, {"2", bar}, {"", bar}};
    for (const auto& c : cases) {
        TextGrid grid(12, 5);
        grid.setColor(0x00C8D0D4);  // 0x00BBGGRR of bar
        grid.setCell(4, 2, c.text);
        const QImage image = paintCell(SGNETDrawCell, grid, 4, 2, {}, {10, 3});
        EXPECT_EQ(countColor(image, QRect(1, 1, 9, 2), c.fill), 9 * 2) << c.text;
        EXPECT_EQ(image.pixelColor(0, 0), bar);
    }
}
