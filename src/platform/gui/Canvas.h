// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QPen>
#include <QPoint>

#include <cstdint>
#include <string_view>

#include "ViewItems.h"

class QImage;
class QPainter;
class QRect;

QColor toQColor(Rgb color);
// A colour kept as 0x00BBGGRR, as TextGrid keeps its colour.
QColor bgrColor(std::uint32_t bgr);

enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Center, Bottom };
enum class PenMode { Copy, Xor };
enum class PenStyle { Solid, Dot };

Qt::Alignment toQtAlignment(HAlign h, VAlign v = VAlign::Center);

// What the renderers and charts draw with: a pen, a brush and a font with its own colour
// over a QPainter that must outlive the canvas. Coordinates are whole pixels; texts are
// UTF-8. Each call sets the painter's pen, brush or font from the canvas and leaves the
// painter in plain copy mode.
class Canvas {
public:
    explicit Canvas(QPainter& painter);

    QPainter& painter() { return m_painter; }

    void setPenColor(const QColor& color) { m_pen.setColor(color); }
    void setPenWidth(int width) { m_pen.setWidth(width); }
    // Xor lets a cross-hair be erased by drawing it again.
    void setPenMode(PenMode mode) { m_penMode = mode; }
    void setPenStyle(PenStyle style);
    void setBrushColor(const QColor& color) { m_brush = color; }
    const QColor& brushColor() const { return m_brush; }

    const QFont& font() const { return m_font; }
    void setFont(const QFont& font) { m_font = font; }
    void setFontName(const QString& family) { m_font.setFamily(family); }
    void setFontSize(int points) { m_font.setPointSize(points); }
    void setFontPixelHeight(int pixels) { m_font.setPixelSize(pixels); }
    void setFontBold(bool bold) { m_font.setBold(bold); }
    void setFontUnderline(bool underline) { m_font.setUnderline(underline); }
    void setFontColor(const QColor& color) { m_fontColor = color; }
    const QColor& fontColor() const { return m_fontColor; }

    // With the brush.
    void fillRect(const QRect& rect);
    // A 1-pixel outline on the rectangle's edge pixels, in the brush colour.
    void frameRect(const QRect& rect);
    // Filled with the brush, outlined with the pen.
    void rectangle(const QRect& rect);

    // The end point of a line is not drawn, so a polyline drawn with the Xor pen does not
    // clear its own joints and axis-parallel lines end where the pixel geometry says.
    void moveTo(int x, int y) { m_position = {x, y}; }
    void lineTo(int x, int y);

    // The text's top left corner at (x, y).
    void textOut(int x, int y, std::string_view utf8);
    // One line inside rect, clipped to it.
    void textRect(const QRect& rect, std::string_view utf8, HAlign h, VAlign v);
    int textWidth(std::string_view utf8) const;
    int textHeight() const;

    // A dotted outline that a second call removes again.
    void focusRect(const QRect& rect);
    // Every pixel of dest exclusive-or the matching pixel of source (from its top left);
    // doing it twice gives the picture back.
    void xorCopy(const QRect& dest, const QImage& source);

private:
    QPainter& m_painter;
    QPen m_pen;
    PenMode m_penMode = PenMode::Copy;
    QColor m_brush = Qt::white;
    QFont m_font;
    QColor m_fontColor = Qt::black;
    QPoint m_position;
};
