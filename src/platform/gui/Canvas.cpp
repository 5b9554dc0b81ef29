// SPDX-License-Identifier: GPL-3.0-or-later
#include "Canvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Runs one drawing step in the given mode and leaves the painter in plain copy mode.
template <class Draw>
void inMode(QPainter& painter, PenMode mode, Draw draw) {
    if (mode == PenMode::Xor) painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    draw();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}
}  // namespace

Qt::Alignment toQtAlignment(HAlign h, VAlign v) {
    const Qt::Alignment horizontal = h == HAlign::Left    ? Qt::AlignLeft
                                     : h == HAlign::Right ? Qt::AlignRight
                                                          : Qt::AlignHCenter;
    return horizontal | (v == VAlign::Top      ? Qt::AlignTop
                         : v == VAlign::Bottom ? Qt::AlignBottom
                                               : Qt::AlignVCenter);
}

QColor toQColor(Rgb color) { return QColor(color.r, color.g, color.b); }

QColor bgrColor(std::uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

Canvas::Canvas(QPainter& painter) : m_painter(painter), m_font(painter.font()) {
    m_pen.setCapStyle(Qt::FlatCap);
    m_pen.setJoinStyle(Qt::MiterJoin);
    m_pen.setColor(Qt::black);
    m_pen.setWidth(1);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

void Canvas::setPenStyle(PenStyle style) {
    if (style == PenStyle::Dot)
        m_pen.setDashPattern({1.0, 1.0});
    else
        m_pen.setStyle(Qt::SolidLine);
}

void Canvas::fillRect(const QRect& rect) { m_painter.fillRect(rect, m_brush); }

void Canvas::frameRect(const QRect& rect) {
    if (rect.isEmpty()) return;
    m_painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), m_brush);
    m_painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), m_brush);
    m_painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), m_brush);
    m_painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), m_brush);
}

void Canvas::rectangle(const QRect& rect) {
    fillRect(rect);
    if (rect.isEmpty()) return;
    m_painter.setPen(m_pen);
    m_painter.setBrush(Qt::NoBrush);
    // A stroked QRect covers one pixel more than its size.
    inMode(m_painter, m_penMode, [&] { m_painter.drawRect(rect.adjusted(0, 0, -1, -1)); });
}

void Canvas::lineTo(int x, int y) {
    const QPoint from = m_position;
    m_position = {x, y};
    const int dx = x - from.x(), dy = y - from.y();
    const int steps = std::max(std::abs(dx), std::abs(dy));
    if (steps == 0) return;
    // Qt's flat caps leave out the end with the larger coordinates, whichever way the line
    // runs; so the line is drawn whole up to the pixel before the end point.
    const auto back = [&](int d) {
        return static_cast<int>(std::lround(d * static_cast<double>(steps - 1) / steps));
    };
    const QPoint last(from.x() + back(dx), from.y() + back(dy));
    QPen pen = m_pen;
    pen.setCapStyle(Qt::SquareCap);
    m_painter.setPen(pen);
    inMode(m_painter, m_penMode, [&] {
        if (last == from)
            m_painter.drawPoint(from);
        else
            m_painter.drawLine(from, last);
    });
}

void Canvas::textOut(int x, int y, std::string_view utf8) {
    m_painter.setFont(m_font);
    m_painter.setPen(m_fontColor);
    m_painter.drawText(QPoint(x, y + QFontMetrics(m_font, m_painter.device()).ascent()), fromUtf8(utf8));
}

void Canvas::textRect(const QRect& rect, std::string_view utf8, HAlign h, VAlign v) {
    m_painter.setFont(m_font);
    m_painter.setPen(m_fontColor);
    m_painter.drawText(rect, toQtAlignment(h, v) | Qt::TextSingleLine, fromUtf8(utf8));
}

int Canvas::textWidth(std::string_view utf8) const {
    return QFontMetrics(m_font, m_painter.device()).horizontalAdvance(fromUtf8(utf8));
}

int Canvas::textHeight() const { return QFontMetrics(m_font, m_painter.device()).height(); }

void Canvas::focusRect(const QRect& rect) {
    if (rect.isEmpty()) return;
    QPen pen(Qt::white);
    pen.setCapStyle(Qt::FlatCap);
    pen.setDashPattern({1.0, 1.0});
    m_painter.setPen(pen);
    m_painter.setBrush(Qt::NoBrush);
    inMode(m_painter, PenMode::Xor, [&] { m_painter.drawRect(rect.adjusted(0, 0, -1, -1)); });
}

void Canvas::xorCopy(const QRect& dest, const QImage& source) {
    inMode(m_painter, PenMode::Xor,
           [&] { m_painter.drawImage(dest.topLeft(), source, QRect(QPoint(0, 0), dest.size())); });
}
