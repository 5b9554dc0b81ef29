// SPDX-License-Identifier: GPL-3.0-or-later
#include "StockModel.h"

#include <system_error>

#include "IniFile.h"
#include "Numbers.h"
#include "StockDirectory.h"
#include "TableFile.h"
#include "pasCommon.h"

namespace {

// Directory columns copied into the slot rows of the quote table.
constexpr std::pair<int, int> kDirectoryToQuote[] = {{7, 15}, {2, 36}, {3, 35}, {4, 37}, {5, 38}, {6, 39}};

std::string slotKey(const char* prefix, std::size_t k) { return prefix + std::to_string(k + 1); }

}  // namespace

TfrmStockModel::TfrmStockModel(std::filesystem::path programFolder) : m_folder(std::move(programFolder)) {}

Status TfrmStockModel::btnLoadClick(QuoteTable& quote) {
    const std::filesystem::path band = m_folder / "band.bin";
    std::error_code ec;
    if (!std::filesystem::exists(band, ec)) return Status::ok();
    Status loaded = readTableFile(band, SGStock, TableReadMode::StopAtBlankRow);
    if (!loaded.isOk()) SGStock.setRowCount(0);
    indexStockDirectory(SGStock, index);
    try {
        InitData(quote);
    } catch (...) {
        // The slots stay as they were; the window still opens.
    }
    return loaded;
}

void TfrmStockModel::InitData(QuoteTable& quote) {
    TextGrid& grid = quote.SGStock;
    for (int row = kQuoteFirstDataRow; row < grid.rowCount(); ++row) {
        for (int c = 0; c < grid.columnCount(); ++c) grid.setCell(c, row, "");
        grid.setCell(0, row, std::to_string(row - 1));
    }
    const IniFile ini(m_folder / "config.ini");
    for (std::size_t k = 0; k < codes.size(); ++k) {
        const std::string code = ini.readString("Tikvane", slotKey("Code_", k), "");
        const std::string name = ini.readString("Tikvane", slotKey("Name_", k), "");
        if (numbers::trim(code).empty()) continue;
        const int row = static_cast<int>(k) + kQuoteFirstDataRow;
        grid.setCell(1, row, code);
        grid.setCell(2, row, name);
        codes[k] = code;
        names[k] = name;
    }
    btnSetCodeClick(quote);
}

void TfrmStockModel::btnSetCodeClick(QuoteTable& quote) {
    TextGrid& grid = quote.SGStock;
    for (int row = kQuoteFirstDataRow; row < grid.rowCount(); ++row) {
        const std::string_view code = numbers::trim(grid.cell(1, row));
        if (code.empty()) continue;
        const int found = index.find(code);
        if (found < 0 || found >= SGStock.rowCount()) continue;
        for (const auto& [from, to] : kDirectoryToQuote) grid.setCell(to, row, SGStock.cell(from, found));
    }
    quote.CurrentCode = grid.cell(1, quote.CurrentRow);
    quote.CurrentName = grid.cell(2, quote.CurrentRow);
}

Status TfrmStockModel::btnOKClick(QuoteTable& quote) {
    const IniFile ini(m_folder / "config.ini");
    Status saved = Status::ok();
    for (std::size_t k = 0; k < codes.size() && saved.isOk(); ++k) {
        saved = ini.writeString("Tikvane", slotKey("Code_", k), codes[k]);
        if (saved.isOk()) saved = ini.writeString("Tikvane", slotKey("Name_", k), names[k]);
    }
    try {
        InitData(quote);
    } catch (...) {
    }
    return saved;
}

void TfrmStockModel::btnCancelClick() {
    for (int slot = 1; slot <= 5; ++slot) sbtnClick(slot);
}

void TfrmStockModel::sbtnClick(int slot) {
    if (slot < 1 || slot > 5) return;
    codes[static_cast<std::size_t>(slot - 1)].clear();
    names[static_cast<std::size_t>(slot - 1)].clear();
}

void TfrmStockModel::edt_CNChange(std::string_view text) {
    try {
        VLE_CN = JXCode(SGStock, text);
    } catch (...) {
        // The list keeps what it had.
    }
}

bool TfrmStockModel::VLE_CNDblClick() {
    if (VLE_CN.empty() || rememberedRow < 1 || rememberedRow > static_cast<int>(VLE_CN.size())) return false;
    const std::string& entry = VLE_CN[static_cast<std::size_t>(rememberedRow - 1)];
    if (numbers::trim(entry).size() <= 4) return false;
    const std::size_t eq = entry.find('=');
    const std::string code = entry.substr(0, eq);
    const std::string name = eq == std::string::npos ? "" : entry.substr(eq + 1);
    std::size_t slot = 0;
    while (slot < codes.size() && !numbers::trim(codes[slot]).empty()) ++slot;
    if (slot == codes.size()) slot = 0;  // all five full: the first one gives way
    codes[slot] = code;
    names[slot] = name;
    return true;
}
