// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

#include <string_view>

#include "Canvas.h"
#include "ViewItems.h"

// A panel with a caption: the status bar fields, the code and name of the current stock,
// the headings and swatches of the side panels. It may hold child widgets. A caption with
// line breaks is drawn as several lines (a vertical label is one character a line).
class PanelWidget : public QWidget {
    Q_OBJECT
public:
    enum class Bevel { None, Lowered };

    explicit PanelWidget(QWidget* parent = nullptr);

    // The model's panel: its caption in its colour.
    void setPanel(const Panel& panel);
    void setCaption(std::string_view utf8);
    const QString& caption() const { return m_caption; }
    void setFontColor(const QColor& color);
    void setBold(bool bold);
    void setAlignment(HAlign alignment);
    void setBevel(Bevel bevel);
    void setBackgroundColor(const QColor& color);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_caption;
    QColor m_fontColor = Qt::black;
    QColor m_background = Qt::black;
    HAlign m_alignment = HAlign::Center;
    Bevel m_bevel = Bevel::None;
};
