// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelWidget.h"

#include <QMouseEvent>
#include <QPainter>

PanelWidget::PanelWidget(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void PanelWidget::setPanel(const Panel& panel) {
    setCaption(panel.caption);
    setFontColor(toQColor(panel.color));
}

void PanelWidget::setCaption(std::string_view utf8) {
    const QString caption = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    if (caption == m_caption) return;
    m_caption = caption;
    update();
}

void PanelWidget::setFontColor(const QColor& color) {
    if (color == m_fontColor) return;
    m_fontColor = color;
    update();
}

void PanelWidget::setBold(bool bold) {
    QFont f = font();
    f.setBold(bold);
    setFont(f);
}

void PanelWidget::setAlignment(HAlign alignment) {
    m_alignment = alignment;
    update();
}

void PanelWidget::setBevel(Bevel bevel) {
    m_bevel = bevel;
    update();
}

void PanelWidget::setBackgroundColor(const QColor& color) {
    m_background = color;
    update();
}

void PanelWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRect r = rect();
    painter.fillRect(r, m_background);
    if (m_bevel == Bevel::Lowered) {
        painter.fillRect(r.left(), r.top(), r.width(), 1, palette().color(QPalette::Dark));
        painter.fillRect(r.left(), r.top(), 1, r.height(), palette().color(QPalette::Dark));
        painter.fillRect(r.left(), r.bottom(), r.width(), 1, palette().color(QPalette::Light));
        painter.fillRect(r.right(), r.top(), 1, r.height(), palette().color(QPalette::Light));
        r.adjust(1, 1, -1, -1);
    }
    painter.setPen(m_fontColor);
    painter.drawText(r.adjusted(1, 0, -1, 0), toQtAlignment(m_alignment), m_caption);
}

void PanelWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}
