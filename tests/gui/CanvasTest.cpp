// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QPainter>

#include "Canvas.h"
#include "Pixels.h"

TEST(Canvas, ColoursFromTheModelAndFromGridColours) {
    EXPECT_EQ(toQColor(Rgb{255, 128, 0}), QColor(255, 128, 0));
    EXPECT_EQ(bgrColor(0x00FF8000), QColor(0, 128, 255));  // 0x00BBGGRR
}

TEST(Canvas, TextRectAlignsTheTextInsideTheRect) {
    struct Case {
        HAlign h;
        VAlign v;
    };
    const QRect rect(10, 10, 120, 50);
    for (const Case c : {Case{HAlign::Left, VAlign::Top}, Case{HAlign::Center, VAlign::Center},
                         Case{HAlign::Right, VAlign::Bottom}}) {
        QImage image = filledImage(140, 70, Qt::black);
        {
            QPainter painter(&image);
            Canvas canvas(painter);
            canvas.setFontPixelHeight(14);
            canvas.setFontColor(Qt::white);
            canvas.textRect(rect, "8888", c.h, c.v);
        }
        const QRect ink = inkBounds(image, image.rect(), Qt::black);
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_TRUE(rect.contains(ink));
        const int dx = ink.center().x() - rect.center().x(), dy = ink.center().y() - rect.center().y();
        switch (c.h) {
            case HAlign::Left:
                EXPECT_LT(ink.left(), rect.left() + 4);
                break;
            case HAlign::Center:
                EXPECT_LE(std::abs(dx), 3);
                break;
            case HAlign::Right:
                EXPECT_GT(ink.right(), rect.right() - 4);
                break;
        }
        switch (c.v) {
            case VAlign::Top:
                EXPECT_LT(ink.top(), rect.top() + 6);
                break;
            case VAlign::Center:
                EXPECT_LE(std::abs(dy), 4);
                break;
            case VAlign::Bottom:
                EXPECT_GT(ink.bottom(), rect.bottom() - 6);
                break;
        }
    }
}

TEST(Canvas, TextOutPutsTheTextBelowAndRightOfThePoint) {
    QImage image = filledImage(100, 60, Qt::black);
    {
        QPainter painter(&image);
        Canvas canvas(painter);
        canvas.setFontPixelHeight(16);
        canvas.setFontColor(Qt::white);
        canvas.textOut(20, 30, "H");
    }
    const QRect ink = inkBounds(image, image.rect(), Qt::black);
    EXPECT_GE(ink.left(), 20);
    EXPECT_LE(ink.left(), 24);
    EXPECT_GE(ink.top(), 30);
    EXPECT_LE(ink.bottom(), 30 + 16);
}

TEST(Canvas, LinesLeaveOutTheirEndPoint) {
    QImage image = filledImage(30, 30, Qt::black);
    {
        QPainter painter(&image);
        Canvas canvas(painter);
        canvas.setPenColor(Qt::white);
        canvas.moveTo(2, 5);
        canvas.lineTo(10, 5);
        canvas.moveTo(20, 12);  // upwards
        canvas.lineTo(20, 2);
        canvas.moveTo(12, 20);  // right to left, and a diagonal
        canvas.lineTo(2, 20);
        canvas.lineTo(5, 26);
    }
    EXPECT_EQ(countColor(image, QRect(0, 5, 15, 1), Qt::white), 8);
    EXPECT_EQ(image.pixelColor(10, 5), QColor(Qt::black));
    EXPECT_EQ(countColor(image, QRect(20, 0, 1, 30), Qt::white), 10);
    EXPECT_EQ(image.pixelColor(20, 2), QColor(Qt::black));
    EXPECT_EQ(countColor(image, QRect(0, 20, 30, 1), Qt::white), 11);  // 12..3, and 2 starts the diagonal
    EXPECT_EQ(countColor(image, QRect(0, 21, 30, 9), Qt::white), 5);
    EXPECT_EQ(image.pixelColor(5, 26), QColor(Qt::black));
}

TEST(Canvas, ExclusiveOrDrawingTwiceGivesThePictureBack) {
    QImage image(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) image.setPixelColor(x, y, QColor(x * 6, y * 8, (x * y) % 256));
    const QImage original = image;
    QImage source(20, 10, QImage::Format_RGB32);
    source.fill(QColor(0x55, 0xAA, 0x0F));

    const auto crossHair = [&] {
        QPainter painter(&image);
        Canvas canvas(painter);
        canvas.xorCopy(QRect(5, 5, 20, 10), source);
        canvas.setPenMode(PenMode::Xor);
        canvas.setPenColor(Qt::white);
        canvas.moveTo(0, 20);  // a polyline: its joint is drawn once, not cleared
        canvas.lineTo(30, 20);
        canvas.lineTo(30, 0);
        canvas.focusRect(QRect(2, 2, 30, 25));
    };
    crossHair();
    const QColor a = original.pixelColor(6, 6), b = image.pixelColor(6, 6);
    EXPECT_EQ(b, QColor(a.red() ^ 0x55, a.green() ^ 0xAA, a.blue() ^ 0x0F));
    EXPECT_NE(image.pixelColor(30, 20), original.pixelColor(30, 20));
    crossHair();
    EXPECT_EQ(image, original);
}

TEST(Canvas, FrameRectOutlinesTheEdgePixelsOnly) {
    QImage image = filledImage(20, 20, Qt::black);
    {
        QPainter painter(&image);
        Canvas canvas(painter);
        canvas.setBrushColor(QColor(128, 0, 0));
        canvas.frameRect(QRect(2, 3, 10, 8));
    }
    EXPECT_EQ(countColor(image, image.rect(), QColor(128, 0, 0)), 2 * 10 + 2 * 6);
    EXPECT_EQ(inkBounds(image, image.rect(), Qt::black), QRect(2, 3, 10, 8));
}
