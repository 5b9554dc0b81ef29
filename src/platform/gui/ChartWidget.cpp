// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartWidget.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Canvas.h"

namespace {
// Values to rows: the range always takes in 0, so bars grow from the zero line.
struct BarScale {
    double lo = 0, hi = 0;
    QRect plot;

    BarScale(const std::vector<double>& values, const QRect& p) : plot(p) {
        for (const double v : values) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        if (hi <= lo) hi = lo + 1;
    }
    int y(double v) const {
        return plot.top() + static_cast<int>(std::lround((hi - v) / (hi - lo) * plot.height()));
    }
};

// At most two decimals, without trailing zeros.
QString markText(double v) {
    QString text = QString::number(v, 'f', 2);
    while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

QString label(const ChartItem& item) { return QString::fromStdString(item.label); }
}  // namespace

ChartWidget::ChartWidget(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void ChartWidget::setItems(const std::vector<ChartItem>& items) {
    if (items == m_items) return;
    m_items = items;
    update();
}

void ChartWidget::setTitle(std::string_view utf8) {
    m_title = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    update();
}

void ChartWidget::setTitleVisible(bool visible) {
    m_titleVisible = visible;
    update();
}

void ChartWidget::setBackgroundColor(const QColor& color) {
    m_background = color;
    update();
}

void ChartWidget::setFontColor(const QColor& color) {
    m_fontColor = color;
    update();
}

QRect ChartWidget::paintFrame(QPainter& painter) {
    painter.fillRect(rect(), m_background);
    if (!m_titleVisible || m_title.isEmpty()) return rect();
    const int h = QFontMetrics(font(), this).height() + 2;
    painter.setPen(m_fontColor);
    painter.drawText(QRect(0, 0, width(), h), Qt::AlignCenter | Qt::TextSingleLine, m_title);
    return rect().adjusted(0, h, 0, 0);
}

void PieChart::setDepthPercent(int percent) {
    m_depthPercent = std::clamp(percent, 0, 100);
    update();
}

void PieChart::setMarksVisible(bool visible) {
    m_marksVisible = visible;
    update();
}

void PieChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRect room = paintFrame(painter).adjusted(2, 2, -2, -2);
    const QFontMetrics metrics(font(), this);
    if (m_marksVisible) {
        int widest = 0;
        for (const ChartItem& i : items()) widest = std::max(widest, metrics.horizontalAdvance(label(i)));
        room.adjust(widest + 4, metrics.height(), -widest - 4, -metrics.height());
    }
    double total = 0;
    for (const ChartItem& i : items()) total += std::max(i.value, 0.0);
    if (total <= 0 || room.width() <= 0 || room.height() <= 1) return;

    // Angles in 1/16 degree, rounded on the running sum so the slices close the circle.
    std::vector<int> starts{0};
    double sum = 0;
    for (const ChartItem& i : items()) {
        sum += std::max(i.value, 0.0);
        starts.push_back(static_cast<int>(std::lround(sum / total * 5760)));
    }
    const int depth = room.height() * m_depthPercent / 200;
    const QRect top(room.left(), room.top(), room.width(), room.height() - depth);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int d = depth; d >= 0; --d) {
        for (std::size_t k = 0; k < items().size(); ++k) {
            const QColor color = toQColor(items()[k].color);
            painter.setBrush(d == 0 ? color : color.darker(160));
            painter.drawPie(top.translated(0, d), starts[k], starts[k + 1] - starts[k]);
        }
    }
    if (!m_marksVisible) return;
    painter.setPen(fontColor());
    for (std::size_t k = 0; k < items().size(); ++k) {
        if (starts[k + 1] == starts[k]) continue;
        const double angle = (starts[k] + starts[k + 1]) / 2.0 / 16 * std::numbers::pi / 180;
        const QPointF at(top.center().x() + std::cos(angle) * (top.width() / 2.0 + 2),
                         top.center().y() - std::sin(angle) * (top.height() / 2.0 + 2));
        const QString text = label(items()[k]);
        const int w = metrics.horizontalAdvance(text);
        const QRect box(static_cast<int>(std::cos(angle) >= 0 ? at.x() : at.x() - w),
                        static_cast<int>(at.y()) - metrics.height() / 2, w, metrics.height());
        painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, text);
    }
}

std::vector<QRect> BarChart::barRects(const std::vector<double>& values, const QRect& plot,
                                      int widthPercent) {
    std::vector<QRect> out;
    if (values.empty()) return out;
    const BarScale scale(values, plot);
    const double slot = static_cast<double>(plot.width()) / static_cast<double>(values.size());
    const double w = slot * widthPercent / 100;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int x =
            plot.left() + static_cast<int>(std::lround(static_cast<double>(i) * slot + (slot - w) / 2));
        const int top = scale.y(std::max(values[i], 0.0)), bottom = scale.y(std::min(values[i], 0.0));
        out.emplace_back(x, top, static_cast<int>(std::lround(w)), bottom - top);
    }
    return out;
}

void BarChart::setBarWidthPercent(int percent) {
    m_barWidthPercent = std::clamp(percent, 1, 100);
    update();
}

void BarChart::setBackWallColor(const QColor& color) {
    m_backWall = color;
    update();
}

void BarChart::setMarks(bool visible, const QColor& text, const QColor& background) {
    m_marksVisible = visible;
    m_markText = text;
    m_markBackground = background;
    update();
}

void BarChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect room = paintFrame(painter);
    const QFontMetrics metrics(font(), this);
    const int line = metrics.height() + 2;
    const bool labels =
        std::any_of(items().begin(), items().end(), [](const ChartItem& i) { return !i.label.empty(); });
    const int markRoom = m_marksVisible ? line : 2;
    const QRect plot = room.adjusted(2, markRoom, -2, -markRoom - (labels ? line : 0));
    if (plot.width() <= 0 || plot.height() <= 0) return;
    painter.fillRect(plot, m_backWall);
    if (items().empty()) return;

    std::vector<double> values;
    for (const ChartItem& i : items()) values.push_back(i.value);
    const std::vector<QRect> bars = barRects(values, plot, m_barWidthPercent);
    const int zero = BarScale(values, plot).y(0);
    painter.fillRect(plot.left(), std::min(zero, plot.bottom()), plot.width(), 1, Qt::black);
    const double slot = static_cast<double>(plot.width()) / static_cast<double>(values.size());
    // Labels wider than their slot are drawn smaller rather than over their neighbours.
    QFont labelFont = font();
    const auto fits = [&] {
        const QFontMetrics m(labelFont, this);
        return std::all_of(items().begin(), items().end(),
                           [&](const ChartItem& i) { return m.horizontalAdvance(label(i)) <= slot - 2; });
    };
    for (int px = QFontInfo(font()).pixelSize(); labels && px > 8 && !fits();) labelFont.setPixelSize(--px);
    for (std::size_t k = 0; k < bars.size(); ++k) {
        painter.fillRect(bars[k], toQColor(items()[k].color));
        const int left = plot.left() + static_cast<int>(std::lround(static_cast<double>(k) * slot));
        const int slotWidth = static_cast<int>(std::lround(slot));
        if (m_marksVisible) {
            const QString text = markText(values[k]);
            const int w = metrics.horizontalAdvance(text) + 4, h = metrics.height();
            const int y = values[k] < 0 ? bars[k].bottom() + 2 : bars[k].top() - h - 1;
            const QRect box(left + (slotWidth - w) / 2, y, w, h);
            painter.fillRect(box, m_markBackground);
            painter.setPen(m_markText);
            painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, text);
        }
        if (labels) {
            // Below the room kept for the marks of bars under zero.
            painter.setPen(fontColor());
            painter.setFont(labelFont);
            painter.drawText(QRect(left, plot.bottom() + markRoom, slotWidth, line),
                             Qt::AlignCenter | Qt::TextSingleLine, label(items()[k]));
            painter.setFont(font());
        }
    }
}
