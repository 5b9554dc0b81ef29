// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "TextGrid.h"

// The quote table (136 columns, two header rows, one row per watch-list slot) and the
// grid helpers that every table of the program shares. Everything here runs on the
// GUI thread and works on whichever grid it is given.

constexpr int kQuoteColumnCount = 136;
constexpr int kQuoteRowCount = 7;      // two header rows and the five watch-list slots
constexpr int kQuoteFirstDataRow = 2;  // slot n lives in row n + 1
constexpr int kQuoteBucketFirstColumn = 46;
constexpr int kQuoteBucketCount = 8;
constexpr int kQuoteBucketWidth = 6;

// The pixel width of a text: a font's metrics in a window, a fixed measure in tests.
using TextWidthFn = std::function<int(std::string_view utf8)>;

// The quote table of the main window and the current stock shown in the side panels.
struct QuoteTable {
    TextGrid SGStock{kQuoteColumnCount, kQuoteRowCount};
    int CurrentRow = kQuoteFirstDataRow;
    std::string CurrentCode = "000001";
    std::string CurrentName = "深发展A";
};

// The titles of the column map: row 1 and the group titles of row 0.
const std::string& QuoteColumnTitle(int column);
const std::string& QuoteGroupTitle(int column);
// Hidden columns: 13, 15..93, 98..117 and 126..135.
bool IsQuoteColumnHidden(int column);

// Sets the table up once, when the main window is created: size, black background,
// titles, hidden columns, slot numbers, column widths, the default row height (a sixth
// of tableHeight pixels) with row 0 hidden, and the current stock. The steps that
// belong to other parts of the window (side grids, code index, timers) are theirs.
void InitQuoteTable(QuoteTable& table, int tableHeight, const TextWidthFn& textWidth);

// Every numeric read of a cell: an empty or non-numeric cell is repaired in place
// ("0.00" / "0") and reads as 0. CellFloat reads single precision, as the sums are kept.
float CellFloat(TextGrid& grid, int column, int row);
std::int32_t CellInt(TextGrid& grid, int column, int row);

// x rounded through its fixed-point text with `decimals` decimals; 0 rounds to a whole
// number. A NaN or infinite x comes back as it is.
double RoundDecimals(int decimals, double x);

// Widens or narrows every visible column (width above 1) to its widest trimmed cell of
// rows 1.. (or its row-0 title, where wider) plus 15 pixels. Hidden columns stay hidden.
void AutoFitColumns(TextGrid& grid, const TextWidthFn& textWidth);

// Moves every row below `row` one up and drops the last row; a row outside the grid
// changes nothing.
void DeleteGridRow(TextGrid& grid, int row);

// -1, 0 or 1. Mode 0: text, ignoring the case of Latin letters, in GBK byte order (so
// common Chinese characters sort by pinyin, as on a Chinese system); mode 1: as
// integers; mode 2: as numbers (a text that is no number counts as 0); other modes: 0.
int CompareCells(std::string_view a, std::string_view b, int mode);

// Sorts the rows below the fixed rows by one column with a random-pivot quicksort and
// selects the first data row. Equal cells end in no defined order; `random` makes a run
// repeatable. Whole rows move.
void SortGridRows(TextGrid& grid, int column, int mode, bool ascending, std::mt19937& random);
void SortGridRows(TextGrid& grid, int column, int mode, bool ascending);

// The bytes of s in reverse order: the table files and the server list store GBK text
// this way. Applying it twice gives s back.
std::string ReverseText(std::string_view s);

// "yyyy-mm-dd", optionally followed by " hh:nn:ss", whatever the user's locale; no
// value for any other text or an impossible date.
std::optional<QDateTime> ParseDashedDate(std::string_view text);

// Appends the non-blank pieces of the trimmed text between delimiters to list; the
// piece after the last delimiter is always appended. A text of one character or less
// appends just that remainder.
void SplitText(std::string_view text, char delimiter, std::vector<std::string>& list);
