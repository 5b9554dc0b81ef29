// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "Status.h"
#include "TextGrid.h"

// The table file (".bin"): the one stored form of a text table, GBK on disk with each
// row's bytes reversed. The format is described in docs/table-file.md.
//
// Reading is all or nothing: a damaged file (a count or length out of bounds, a row cut
// short, bytes after the last row) gives an error naming the fault and leaves the target
// grid exactly as it was. Only its cells and row and column counts change on success.

enum class TableReadMode {
    AllRows,
    // band.bin: stop at the first row whose text is blank; that row and the rows after it
    // stay empty and are not read at all.
    StopAtBlankRow,
};

// Largest column count a reader accepts; real tables have 8 to 136 columns.
constexpr int kTableFileMaxColumns = 1 << 16;

Status parseTableFile(std::string_view bytes, TextGrid& grid, TableReadMode mode = TableReadMode::AllRows);
Status readTableFile(const std::filesystem::path& path, TextGrid& grid,
                     TableReadMode mode = TableReadMode::AllRows);

// Line breaks inside a cell would split it on reading, so they are written as blanks.
std::string serializeTableFile(const TextGrid& grid);
// Replaces the file atomically.
Status writeTableFile(const TextGrid& grid, const std::filesystem::path& path);
