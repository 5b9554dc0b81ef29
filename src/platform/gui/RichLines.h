// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

#include <vector>

#include "Canvas.h"
#include "ViewItems.h"

// A borderless column of text lines, each in its own colour, one font and alignment for
// all (the latest trades beside the order book). Lines below the bottom are not shown.
class RichLines : public QWidget {
    Q_OBJECT
public:
    explicit RichLines(QWidget* parent = nullptr);

    void setLines(const std::vector<ColoredLine>& lines);
    const std::vector<ColoredLine>& lines() const { return m_lines; }
    void setAlignment(HAlign alignment);
    void setBackgroundColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<ColoredLine> m_lines;
    HAlign m_alignment = HAlign::Left;
    QColor m_background = Qt::black;
};
