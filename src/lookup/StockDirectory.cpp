// SPDX-License-Identifier: GPL-3.0-or-later
#include "StockDirectory.h"

#include "Hashes.h"
#include "Numbers.h"
#include "TextGrid.h"

namespace {

// Latin letters only, so the bytes of Chinese text pass unchanged.
std::string asciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

}  // namespace

std::vector<std::string> JXCode(const TextGrid& directory, std::string_view query) {
    std::vector<std::string> lines;
    const std::string wanted = asciiUpper(numbers::trim(query));
    if (wanted.empty()) return lines;
    for (int r = 0; r < directory.rowCount(); ++r) {
        const std::string_view code = numbers::trim(directory.cell(kDirectoryCodeColumn, r));
        const std::string initials = asciiUpper(numbers::trim(directory.cell(kDirectoryInitialsColumn, r)));
        if (code.starts_with(wanted) || std::string_view(initials).starts_with(wanted))
            lines.push_back(std::string(code) + "=" +
                            std::string(numbers::trim(directory.cell(kDirectoryNameColumn, r))));
    }
    return lines;
}

bool HasDayLines(const TextGrid& directory, int row) {
    const std::string_view floatShares = numbers::trim(directory.cell(kDirectoryFloatSharesColumn, row));
    return !numbers::trim(directory.cell(kDirectoryBandColumn, row)).empty() && !floatShares.empty() &&
           floatShares != "0" && !numbers::trim(directory.cell(kDirectoryCodeColumn, row)).empty();
}

void indexStockDirectory(const TextGrid& directory, TIntegerHash& index) {
    index.clear();
    for (int r = 0; r < directory.rowCount(); ++r) {
        const std::string_view code = numbers::trim(directory.cell(kDirectoryCodeColumn, r));
        if (!code.empty()) index.set(code, r);
    }
}
