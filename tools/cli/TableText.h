// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "TextGrid.h"

// A TextGrid as plain UTF-8 text, one line per row: tab-separated (a tab inside a cell
// is written as a blank) or CSV (RFC 4180 quoting).
enum class TextTableFormat { Tsv, Csv };

std::string tableToText(const TextGrid& grid, TextTableFormat format);
// The column count is that of the longest line; shorter lines get empty cells. A final
// line break, a UTF-8 byte order mark and CR before LF are ignored.
TextGrid tableFromText(std::string_view text, TextTableFormat format);
