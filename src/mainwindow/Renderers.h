// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GridView.h"

class Canvas;
class QRect;
class TextGrid;

// The cell renderers of the main window's grids, one per grid, each a DrawCellFn that
// paints the whole cell from the grid's own cells. Where a colour rule reads a cell, an
// empty cell is first set to "0.00" and one that is no number to "0", so a damaged cell
// shows what it was read as. They keep no state.

// The quote table: silver text on black; the data rows coloured by column (rises red,
// falls bright green).
void SGStockDrawCell(Canvas& canvas, TextGrid& grid, int column, int row, const QRect& rect, DrawState state);

// The signal strip: "1" red, "-1" lime, anything else dark olive; the text is not shown.
void SGBSDrawCell(Canvas& canvas, TextGrid& grid, int column, int row, const QRect& rect, DrawState state);

// The network indicator: "0" lime, "1" red, "3" black on the grid's colour, which the
// window sets to its status bar's colour; any other cell shows nothing.
void SGNETDrawCell(Canvas& canvas, TextGrid& grid, int column, int row, const QRect& rect, DrawState state);

// The fund-flow grids: gray titles in column 0, bold white figures, maroon cell outlines.
void sg_11DrawCell(Canvas& canvas, TextGrid& grid, int column, int row, const QRect& rect, DrawState state);
void sg_22DrawCell(Canvas& canvas, TextGrid& grid, int column, int row, const QRect& rect, DrawState state);
void sg_33DrawCell(Canvas& canvas, TextGrid& grid, int column, int row, const QRect& rect, DrawState state);

// The order book: titles in columns 0 and 2, values in 1 and 3 coloured against the
// change (row 12) and the previous close.
void sg_44DrawCell(Canvas& canvas, TextGrid& grid, int column, int row, const QRect& rect, DrawState state);
