// SPDX-License-Identifier: GPL-3.0-or-later
#include "MagicStockModel.h"

#include "Numbers.h"
#include "StockDirectory.h"
#include "pasCommon.h"

void TfrmMagicStockModel::edt_CNChange(const TextGrid& directory, std::string_view text) {
    try {
        VLE_CN = JXCode(directory, text);
    } catch (...) {
        // The list keeps what it had.
    }
}

bool TfrmMagicStockModel::VLE_CNDblClick(QuoteTable& quote) const {
    if (rememberedRow < 1 || rememberedRow > static_cast<int>(VLE_CN.size())) return false;
    const std::string& entry = VLE_CN[static_cast<std::size_t>(rememberedRow - 1)];
    const std::size_t eq = entry.find('=');
    const std::string code = entry.substr(0, eq);
    if (numbers::trim(code).size() != 6) return false;
    quote.SGStock.setCell(1, quote.CurrentRow, code);
    quote.SGStock.setCell(2, quote.CurrentRow, eq == std::string::npos ? "" : entry.substr(eq + 1));
    return true;
}
