// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>

// Pixel checks for painting tests.

inline QImage filledImage(int w, int h, const QColor& color) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

inline QImage renderWidget(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    widget.render(&image);
    return image;
}

// Pixels of exactly this colour in rect.
inline int countColor(const QImage& image, const QRect& rect, const QColor& color) {
    int n = 0;
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += image.pixelColor(x, y) == color;
    return n;
}

// The bounding box of the pixels in rect that differ from background.
inline QRect inkBounds(const QImage& image, const QRect& rect, const QColor& background) {
    QRect ink;
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (image.pixelColor(x, y) != background) ink |= QRect(x, y, 1, 1);
    return ink;
}
