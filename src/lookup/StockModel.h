// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "Hashes.h"
#include "Status.h"
#include "TextGrid.h"

struct QuoteTable;

// The watch-list window without its widgets: the stock directory table loaded from
// band.bin with its code index, the five slots kept in config.ini and shown as the data
// rows of the quote table, and the search whose results fill a free slot.
class TfrmStockModel {
public:
    explicit TfrmStockModel(std::filesystem::path programFolder);

    TextGrid SGStock{8, 0};  // the stock directory table
    TIntegerHash index;      // code -> directory row
    // The slot boxes: edt_1..edt_5 (codes) and edt_11..edt_15 (names).
    std::array<std::string, 5> codes, names;
    std::vector<std::string> VLE_CN;  // search results, "code=name"
    int rememberedRow = 1;            // 1 is the first result line

    // Loads the directory and applies the watch list. Without band.bin nothing happens;
    // a damaged one leaves the directory empty, still applies the watch list and says why.
    Status btnLoadClick(QuoteTable& quote);
    void InitData(QuoteTable& quote);
    void btnSetCodeClick(QuoteTable& quote);
    // Saves the five slots, then applies them.
    Status btnOKClick(QuoteTable& quote);
    void btnCancelClick();
    void sbtnClick(int slot);  // 1..5
    void edt_CNChange(std::string_view text);
    void VLE_CNSelectCell(int row) { rememberedRow = row; }
    // Puts the remembered result into the first empty slot, or slot 1 when all are full.
    // A remembered row that names no result takes nothing.
    bool VLE_CNDblClick();

private:
    std::filesystem::path m_folder;
};
