// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the table-file reader in both modes; a parsed table must
// survive a write and a second read unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "TableFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (TableReadMode mode : {TableReadMode::AllRows, TableReadMode::StopAtBlankRow}) {
        TextGrid grid(0, 0);
        if (!parseTableFile(bytes, grid, mode).isOk()) continue;
        TextGrid again(0, 0);
        if (!parseTableFile(serializeTableFile(grid), again).isOk() || again.rowCount() != grid.rowCount() ||
            again.columnCount() != grid.columnCount())
            std::abort();
    }
    return 0;
}
