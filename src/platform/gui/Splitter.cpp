// SPDX-License-Identifier: GPL-3.0-or-later
#include "Splitter.h"

#include <QPainter>

namespace {
class MaroonHandle : public QSplitterHandle {
public:
    using QSplitterHandle::QSplitterHandle;

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(128, 0, 0)); }
};
}  // namespace

Splitter::Splitter(Qt::Orientation orientation, QWidget* parent) : QSplitter(orientation, parent) {
    setHandleWidth(1);
    setChildrenCollapsible(false);
}

QSplitterHandle* Splitter::createHandle() { return new MaroonHandle(orientation(), this); }
