// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "ChartWidget.h"
#include "Pixels.h"

TEST(BarChart, BarsGrowFromTheZeroLine) {
    const QRect plot(0, 0, 300, 150);
    EXPECT_EQ(BarChart::barRects({10, -5, 0}, plot, 75),
              (std::vector<QRect>{QRect(13, 0, 75, 100), QRect(113, 100, 75, 50), QRect(213, 100, 75, 0)}));
    // Nothing but zeros: no range to divide by, and no bars.
    for (const QRect& r : BarChart::barRects({0, 0}, plot, 75)) EXPECT_TRUE(r.isEmpty());
}

TEST(BarChart, PaintsBarsInTheirColoursWithRedOnBlackMarks) {
    BarChart chart;
    chart.resize(300, 150);
    chart.setTitleVisible(false);
    chart.setItems({{10, "", palette::kRed}, {-5, "", palette::kGreen}});
    const QImage image = renderWidget(chart);
    EXPECT_EQ(image.pixelColor(75, 60), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(225, 130), QColor(0, 128, 0));
    EXPECT_EQ(image.pixelColor(150, 60), QColor(192, 192, 192));  // the back wall between the bars
    EXPECT_EQ(image.pixelColor(225, 60), QColor(192, 192, 192));
    // The first bar's mark, "10", above it in the top margin.
    const QRect top(0, 0, 300, 18);
    EXPECT_GT(countColor(image, top, QColor(255, 0, 0)), 0);
    EXPECT_GT(countColor(image, QRect(0, 0, 300, 2), QColor(0, 0, 0)), 0);
}

TEST(PieChart, SlicesRunCounterClockwiseFromThreeOClock) {
    PieChart pie;
    pie.resize(120, 120);
    pie.setTitleVisible(false);
    pie.setMarksVisible(false);
    pie.setItems(
        {{1, "", {255, 10, 10}}, {0, "", {0, 0, 255}}, {-3, "", {0, 0, 255}}, {1, "", {10, 255, 10}}});
    QImage image = renderWidget(pie);
    EXPECT_EQ(image.pixelColor(60, 30), QColor(255, 10, 10));  // upper half
    EXPECT_EQ(image.pixelColor(60, 90), QColor(10, 255, 10));  // lower half
    EXPECT_EQ(countColor(image, image.rect(), Qt::blue), 0);

    pie.setDepthPercent(35);
    image = renderWidget(pie);
    // The side below the front slice is that slice, darker; the top is squeezed up.
    const QRect ink = inkBounds(image, image.rect(), Qt::black);
    EXPECT_EQ(image.pixel(60, ink.bottom() - 3), QColor(10, 255, 10).darker(160).rgb());
    EXPECT_EQ(image.pixelColor(60, 30), QColor(255, 10, 10));
}
