// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <string_view>
#include <vector>

#include "ViewItems.h"

// What the pie and the bar chart have in common: their items (value, label, colour), a
// title that may be hidden, and the background. Drawn by us; the charts take no input.
class ChartWidget : public QWidget {
    Q_OBJECT
public:
    explicit ChartWidget(QWidget* parent = nullptr);

    void setItems(const std::vector<ChartItem>& items);
    const std::vector<ChartItem>& items() const { return m_items; }
    void setTitle(std::string_view utf8);
    void setTitleVisible(bool visible);
    void setBackgroundColor(const QColor& color);
    // The title's, the labels' and the pie marks' colour.
    void setFontColor(const QColor& color);

protected:
    // Fills the background, draws the title if shown, and returns the room left below it.
    QRect paintFrame(QPainter& painter);
    const QColor& fontColor() const { return m_fontColor; }

private:
    std::vector<ChartItem> m_items;
    QString m_title;
    bool m_titleVisible = true;
    QColor m_background = Qt::black;
    QColor m_fontColor = Qt::white;
};

// Slices from the 3 o'clock position counter-clockwise, in item order; items of zero or
// less take no room. A depth gives the pie a tilted 3-D side of that percentage.
class PieChart : public ChartWidget {
    Q_OBJECT
public:
    using ChartWidget::ChartWidget;

    void setDepthPercent(int percent);
    void setMarksVisible(bool visible);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_depthPercent = 0;
    bool m_marksVisible = true;
};

// One bar per item from the zero line, the item's label below its slot, its value in a
// mark box beyond the bar's end.
class BarChart : public ChartWidget {
    Q_OBJECT
public:
    using ChartWidget::ChartWidget;

    // The bars' rectangles in plot for these values, each widthPercent of its slot wide,
    // with the value range widened to take in 0. A zero value gives an empty rectangle.
    static std::vector<QRect> barRects(const std::vector<double>& values, const QRect& plot,
                                       int widthPercent);

    void setBarWidthPercent(int percent);
    void setBackWallColor(const QColor& color);
    void setMarks(bool visible, const QColor& text, const QColor& background);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_barWidthPercent = 75;
    QColor m_backWall = QColor(192, 192, 192);
    bool m_marksVisible = true;
    QColor m_markText = Qt::red;
    QColor m_markBackground = Qt::black;
};
