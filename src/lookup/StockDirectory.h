// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

class TextGrid;
class TIntegerHash;

// The stock directory table (loaded from band.bin, one row per security, all text) and the
// two things that find stocks in it: the stock search and the stock code index.

constexpr int kDirectoryCodeColumn = 0;
constexpr int kDirectoryNameColumn = 1;
constexpr int kDirectoryInitialsColumn = 2;  // initials of the name's pinyin, either case
constexpr int kDirectoryBandColumn = 3;
constexpr int kDirectoryRegionColumn = 4;
constexpr int kDirectoryIndustryColumn = 5;
constexpr int kDirectoryConceptColumn = 6;
constexpr int kDirectoryFloatSharesColumn = 7;  // in 10,000 shares

// The stock search of the watch-list window and the keyboard wizard: code + "=" + name of
// every row, in row order, whose code or upper-cased initials begin with the query in upper
// case; codes, names, initials and the query are trimmed first. An empty query finds nothing.
std::vector<std::string> JXCode(const TextGrid& directory, std::string_view query);

// Whether a row is a stock with day lines: a band value, float shares other than "0" and
// a code (cells trimmed). Indices and funds have no band value and are left out this way.
bool HasDayLines(const TextGrid& directory, int row);

// Empties the index, then maps the trimmed code of every row that has one to its row, so a
// code taken from a trimmed cell elsewhere finds it.
void indexStockDirectory(const TextGrid& directory, TIntegerHash& index);
