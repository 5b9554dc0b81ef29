// SPDX-License-Identifier: GPL-3.0-or-later
#include "GridView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "Canvas.h"
#include "TextGrid.h"

namespace {
void drawPlain(Canvas& canvas, TextGrid& grid, int column, int row, const QRect& rect, DrawState state,
               const QPalette& palette) {
    canvas.setBrushColor(state.fixed      ? palette.color(QPalette::Button)
                         : state.selected ? palette.color(QPalette::Highlight)
                                          : bgrColor(grid.color()));
    canvas.fillRect(rect);
    canvas.setFontColor(state.fixed      ? palette.color(QPalette::ButtonText)
                        : state.selected ? palette.color(QPalette::HighlightedText)
                                         : palette.color(QPalette::Text));
    canvas.textOut(rect.left() + 2, rect.top() + 2, grid.cell(column, row));
    if (state.focused) canvas.focusRect(rect);
}
}  // namespace

GridView::GridView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setScrollBars(false, false);
}

void GridView::setGrid(TextGrid* grid) {
    m_grid = grid;
    refresh();
}

void GridView::setScrollBars(bool horizontal, bool vertical) {
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void GridView::setGridLines(int width, const QColor& color) {
    m_lineWidth = std::max(width, 0);
    m_lineColor = color;
    refresh();
}

void GridView::refresh() {
    updateScrollBars();
    viewport()->update();
}

int GridView::sizeOf(bool columns, int index) const {
    return columns ? m_grid->columnWidth(index) : m_grid->rowHeight(index);
}

int GridView::countOf(bool columns) const { return columns ? m_grid->columnCount() : m_grid->rowCount(); }

int GridView::fixedOf(bool columns) const {
    return std::min(columns ? m_grid->fixedColumns() : m_grid->fixedRows(), countOf(columns));
}

std::vector<int> GridView::scrollable(bool columns) const {
    std::vector<int> out;
    if (!m_grid) return out;
    for (int i = fixedOf(columns); i < countOf(columns); ++i)
        if (sizeOf(columns, i) > 0) out.push_back(i);
    return out;
}

std::vector<GridView::Span> GridView::spans(bool columns) const {
    std::vector<Span> out;
    if (!m_grid) return out;
    const int end = columns ? viewport()->width() : viewport()->height();
    int pos = 0;
    const auto add = [&](int i) {
        const int size = sizeOf(columns, i);
        if (size <= 0) return;
        out.push_back({i, pos, size});
        pos += size + m_lineWidth;
    };
    for (int i = 0; i < fixedOf(columns) && pos < end; ++i) add(i);
    const std::vector<int> list = scrollable(columns);
    const QScrollBar* bar = columns ? horizontalScrollBar() : verticalScrollBar();
    for (std::size_t p = static_cast<std::size_t>(bar->value()); p < list.size() && pos < end; ++p)
        add(list[p]);
    return out;
}

int GridView::available(bool columns) const {
    int room = columns ? viewport()->width() : viewport()->height();
    for (int i = 0; i < fixedOf(columns); ++i)
        if (sizeOf(columns, i) > 0) room -= sizeOf(columns, i) + m_lineWidth;
    return room;
}

// The first scrollable position to show so that the one at `position` is shown whole,
// moving `first` forward no more than needed.
int GridView::firstToShow(bool columns, int position, int first) const {
    if (position <= first) return position;
    const std::vector<int> list = scrollable(columns);
    const auto size = [&](int p) { return sizeOf(columns, list[p]) + m_lineWidth; };
    int used = 0;
    for (int p = first; p <= position; ++p) used += size(p);
    const int room = available(columns) + m_lineWidth;
    while (used > room && first < position) used -= size(first++);
    return first;
}

void GridView::updateScrollBars() {
    for (const bool columns : {true, false}) {
        QScrollBar* bar = columns ? horizontalScrollBar() : verticalScrollBar();
        const int count = static_cast<int>(scrollable(columns).size());
        const int last = count > 0 ? firstToShow(columns, count - 1, 0) : 0;
        bar->setRange(0, last);
        bar->setPageStep(std::max(1, count - last));
    }
}

QRect GridView::cellRect(int column, int row) const {
    const std::vector<Span> columns = spans(true), rows = spans(false);
    const auto c =
        std::find_if(columns.begin(), columns.end(), [&](const Span& s) { return s.index == column; });
    const auto r = std::find_if(rows.begin(), rows.end(), [&](const Span& s) { return s.index == row; });
    if (c == columns.end() || r == rows.end()) return {};
    return QRect(c->start, r->start, c->size, r->size);
}

std::optional<std::pair<int, int>> GridView::cellAt(const QPoint& pos) const {
    const auto find = [](const std::vector<Span>& list, int x) -> std::optional<int> {
        for (const Span& s : list)
            if (x >= s.start && x < s.start + s.size) return s.index;
        return std::nullopt;
    };
    const auto c = find(spans(true), pos.x());
    const auto r = find(spans(false), pos.y());
    if (!c || !r) return std::nullopt;
    return std::pair{*c, *r};
}

void GridView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(),
                     m_grid ? bgrColor(m_grid->color()) : palette().color(QPalette::Base));
    if (!m_grid) return;
    const std::vector<Span> columns = spans(true), rows = spans(false);
    if (columns.empty() || rows.empty()) return;
    if (m_lineWidth > 0)
        painter.fillRect(0, 0, columns.back().start + columns.back().size + m_lineWidth,
                         rows.back().start + rows.back().size + m_lineWidth, m_lineColor);

    const TextGrid::Rect& sel = m_grid->selection();
    for (const Span& r : rows) {
        for (const Span& c : columns) {
            const QRect rect(c.start, r.start, c.size, r.size);
            if (!event->rect().intersects(rect)) continue;
            DrawState state;
            state.fixed = c.index < m_grid->fixedColumns() || r.index < m_grid->fixedRows();
            const bool inColumns = m_rowSelect ? !state.fixed : c.index >= sel.left && c.index <= sel.right;
            state.selected = inColumns && r.index >= sel.top && r.index <= sel.bottom;
            state.focused =
                hasFocus() && !state.fixed && r.index == sel.top && (m_rowSelect || c.index == sel.left);
            painter.setClipRect(rect);
            painter.setFont(font());
            Canvas canvas(painter);
            if (m_draw)
                m_draw(canvas, *m_grid, c.index, r.index, rect, state);
            else
                drawPlain(canvas, *m_grid, c.index, r.index, rect, state, palette());
        }
    }
}

void GridView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void GridView::scrollContentsBy(int, int) { viewport()->update(); }

bool GridView::selectable(int column, int row) const {
    if (!m_grid || row < m_grid->fixedRows() || row >= m_grid->rowCount() || m_grid->rowHeight(row) <= 0)
        return false;
    return m_rowSelect || (column >= m_grid->fixedColumns() && column < m_grid->columnCount() &&
                           m_grid->columnWidth(column) > 0);
}

void GridView::select(int column, int row) {
    if (!selectable(column, row)) return;
    if (m_rowSelect)
        m_grid->setSelection({m_grid->fixedColumns(), row, m_grid->columnCount() - 1, row});
    else
        m_grid->setSelectedCell(column, row);
    for (const bool columns : {true, false}) {
        if (columns && m_rowSelect) continue;
        const std::vector<int> list = scrollable(columns);
        const auto it = std::find(list.begin(), list.end(), columns ? column : row);
        if (it == list.end()) continue;
        QScrollBar* bar = columns ? horizontalScrollBar() : verticalScrollBar();
        bar->setValue(firstToShow(columns, static_cast<int>(it - list.begin()), bar->value()));
    }
    viewport()->update();
    emit cellSelected(column, row);
    emit clicked();
}

void GridView::moveBy(int columns, int rows) {
    if (!m_grid) return;
    // Steps over hidden columns and rows; a current cell that is hidden counts from the
    // next shown one.
    const auto step = [](const std::vector<int>& list, int current, int delta) {
        if (list.empty() || delta == 0) return current;
        const auto at = std::lower_bound(list.begin(), list.end(), current) - list.begin();
        const auto size = static_cast<long>(list.size());
        long p = at + delta - (delta > 0 && (at == size || list[at] != current) ? 1 : 0);
        return list[static_cast<std::size_t>(std::clamp(p, 0L, size - 1))];
    };
    select(step(scrollable(true), m_grid->selectedColumn(), columns),
           step(scrollable(false), m_grid->selectedRow(), rows));
}

void GridView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (const auto cell = cellAt(event->position().toPoint())) select(cell->first, cell->second);
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit doubleClicked();
}

void GridView::keyPressEvent(QKeyEvent* event) {
    emit keyPressed(event->key(), event->modifiers());
    if (!m_grid) return;
    const int all = std::max(m_grid->columnCount(), m_grid->rowCount());
    const bool rows = m_rowSelect || (event->modifiers() & Qt::ControlModifier);
    switch (event->key()) {
        case Qt::Key_Up:
            moveBy(0, -1);
            break;
        case Qt::Key_Down:
            moveBy(0, 1);
            break;
        case Qt::Key_PageUp:
            moveBy(0, -verticalScrollBar()->pageStep());
            break;
        case Qt::Key_PageDown:
            moveBy(0, verticalScrollBar()->pageStep());
            break;
        case Qt::Key_Home:
            rows ? moveBy(0, -all) : moveBy(-all, 0);
            break;
        case Qt::Key_End:
            rows ? moveBy(0, all) : moveBy(all, 0);
            break;
        case Qt::Key_Left:
        case Qt::Key_Right:
            if (m_rowSelect)
                QAbstractScrollArea::keyPressEvent(event);  // scrolls sideways
            else
                moveBy(event->key() == Qt::Key_Left ? -1 : 1, 0);
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
    }
}
