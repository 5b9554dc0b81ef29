// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractScrollArea>
#include <QColor>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class Canvas;
class TextGrid;

struct DrawState {
    bool selected = false;  // inside the grid's selection
    bool focused = false;   // the current cell of a view that has the keyboard focus
    bool fixed = false;     // a fixed row or column
};

// Paints one whole cell; rect is the cell's rectangle in the view, and painting is
// clipped to it. The renderers of the windows have this signature.
using DrawCellFn = std::function<void(Canvas&, TextGrid&, int column, int row, const QRect& rect, DrawState)>;

// Shows a TextGrid that it does not own (the grid must outlive the view, or be replaced
// first): fixed rows and columns stay in place while the rest scrolls, columns of width 0
// and rows of height 0 take no room. Clicks and the keyboard move the grid's selection to
// non-fixed, shown cells. Call refresh() whenever the grid changed.
class GridView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);

    void setGrid(TextGrid* grid);
    TextGrid* grid() const { return m_grid; }
    // Without one, cells are drawn plainly: the text at (2, 2) over the grid's colour.
    void setDrawCell(DrawCellFn draw) { m_draw = std::move(draw); }
    // The main window's grids have none; lists and tables show them as needed.
    void setScrollBars(bool horizontal, bool vertical);
    // A whole row is selected at once.
    void setRowSelect(bool on) { m_rowSelect = on; }
    // Lines of this width between cells, drawn in this colour; none by default.
    void setGridLines(int width, const QColor& color);

    // Where the cell is in the view; empty when it is hidden or scrolled out.
    QRect cellRect(int column, int row) const;
    std::optional<std::pair<int, int>> cellAt(const QPoint& pos) const;

    // Takes the grid's new size, shape and cells, keeps the scroll position valid, repaints.
    void refresh();

signals:
    // Raised after the selection moved to (column, row), by mouse or keyboard; then clicked().
    void cellSelected(int column, int row);
    void clicked();
    void doubleClicked();
    // Raised for every key before the view moves the selection by it.
    void keyPressed(int key, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // A shown column or row: its index, where it starts in the view and its size.
    struct Span {
        int index, start, size;
    };

    // Along the columns or along the rows; the grid must be set.
    int sizeOf(bool columns, int index) const;
    int countOf(bool columns) const;
    int fixedOf(bool columns) const;
    std::vector<int> scrollable(bool columns) const;
    std::vector<Span> spans(bool columns) const;
    int available(bool columns) const;
    int firstToShow(bool columns, int position, int first) const;
    void updateScrollBars();
    bool selectable(int column, int row) const;
    void select(int column, int row);
    void moveBy(int columns, int rows);

    TextGrid* m_grid = nullptr;
    DrawCellFn m_draw;
    bool m_rowSelect = false;
    int m_lineWidth = 0;
    QColor m_lineColor = Qt::black;
};
