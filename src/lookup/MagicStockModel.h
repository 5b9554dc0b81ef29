// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

class TextGrid;
struct QuoteTable;

// The keyboard wizard without its widgets: the search over the stock directory and the
// pick that puts a stock into the quote table's current row (not into the saved watch list).
class TfrmMagicStockModel {
public:
    std::vector<std::string> VLE_CN;  // "code=name"
    int rememberedRow = 1;            // 1 is the first result line

    void edt_CNChange(const TextGrid& directory, std::string_view text);
    void VLE_CNSelectCell(int row) { rememberedRow = row; }
    // True when the entry was taken (the wizard then closes): only a six-character code is.
    // A remembered row that names no result takes nothing.
    bool VLE_CNDblClick(QuoteTable& quote) const;
};
