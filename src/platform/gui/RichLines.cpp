// SPDX-License-Identifier: GPL-3.0-or-later
#include "RichLines.h"

#include <QFontMetrics>
#include <QPainter>

RichLines::RichLines(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void RichLines::setLines(const std::vector<ColoredLine>& lines) {
    if (lines == m_lines) return;
    m_lines = lines;
    update();
}

void RichLines::setAlignment(HAlign alignment) {
    m_alignment = alignment;
    update();
}

void RichLines::setBackgroundColor(const QColor& color) {
    m_background = color;
    update();
}

void RichLines::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    const int lineHeight = QFontMetrics(font(), this).lineSpacing();
    int y = 0;
    for (const ColoredLine& line : m_lines) {
        if (y >= height()) break;
        painter.setPen(toQColor(line.color));
        painter.drawText(QRect(1, y, width() - 2, lineHeight),
                         toQtAlignment(m_alignment) | Qt::TextSingleLine, QString::fromStdString(line.text));
        y += lineHeight;
    }
}
