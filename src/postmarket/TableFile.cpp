// SPDX-License-Identifier: GPL-3.0-or-later
#include "TableFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "FileIo.h"
#include "Gbk.h"
#include "Numbers.h"
#include "pasCommon.h"

namespace {

// The writer stores two bytes per cell at least, so R × C stays within half the file
// size; this floor admits small tables whose rows hold fewer lines than columns.
constexpr std::int64_t kMinCellBudget = 1 << 16;

bool readInt32(std::string_view bytes, std::size_t& at, std::int32_t& value) {
    if (bytes.size() - at < 4) return false;
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(k)]);
    value = static_cast<std::int32_t>(v);
    at += 4;
    return true;
}

void appendInt32(std::string& out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int k = 0; k < 4; ++k) out += static_cast<char>((v >> (8 * k)) & 0xFF);
}

// Splits at CR LF, lone CR or lone LF; a final line break ends the last line.
void splitCells(std::string_view text, TextGrid::Row& cells) {
    std::size_t column = 0, start = 0;
    const auto put = [&](std::size_t end) {
        if (column < cells.size()) cells[column] = gbk::toUtf8(text.substr(start, end - start));
        ++column;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        put(i);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) put(text.size());
}

std::string at(std::size_t offset) { return " at byte " + std::to_string(offset); }

}  // namespace

Status parseTableFile(std::string_view bytes, TextGrid& grid, TableReadMode mode) {
    std::size_t pos = 0;
    std::int32_t rows = 0, columns = 0;
    if (!readInt32(bytes, pos, rows) || !readInt32(bytes, pos, columns))
        return Status::error("too short for a table header (" + std::to_string(bytes.size()) + " bytes)");
    if (rows < 0) return Status::error("negative row count " + std::to_string(rows));
    if (columns < 0) return Status::error("negative column count " + std::to_string(columns));
    // Every row record holds at least its 4-byte length.
    if (static_cast<std::int64_t>(rows) * 4 > static_cast<std::int64_t>(bytes.size() - pos))
        return Status::error("row count " + std::to_string(rows) + " exceeds what " + std::to_string(bytes.size()) +
                             " bytes can hold");
    if (columns > kTableFileMaxColumns)
        return Status::error("column count " + std::to_string(columns) + " exceeds " +
                             std::to_string(kTableFileMaxColumns));
    if (static_cast<std::int64_t>(rows) * columns >
        std::max<std::int64_t>(static_cast<std::int64_t>(bytes.size()) / 2, kMinCellBudget))
        return Status::error(std::to_string(rows) + " rows of " + std::to_string(columns) +
                             " columns exceed what the file can hold");

    std::vector<TextGrid::Row> table(static_cast<std::size_t>(rows), TextGrid::Row(static_cast<std::size_t>(columns)));
    std::string text;
    for (std::int32_t r = 0; r < rows; ++r) {
        const std::size_t rowStart = pos;
        std::int32_t length = 0;
        if (!readInt32(bytes, pos, length))
            return Status::error("row " + std::to_string(r) + ": length cut off" + at(rowStart));
        if (length < 0)
            return Status::error("row " + std::to_string(r) + ": negative length " + std::to_string(length) +
                                 at(rowStart));
        if (static_cast<std::size_t>(length) > bytes.size() - pos)
            return Status::error("row " + std::to_string(r) + ": length " + std::to_string(length) +
                                 " runs past the end of the file" + at(rowStart));
        text = ReverseText(bytes.substr(pos, static_cast<std::size_t>(length)));
        pos += static_cast<std::size_t>(length);
        if (mode == TableReadMode::StopAtBlankRow && numbers::trim(text).empty()) {
            pos = bytes.size();
            break;
        }
        splitCells(text, table[static_cast<std::size_t>(r)]);
    }
    if (pos != bytes.size())
        return Status::error(std::to_string(bytes.size() - pos) + " bytes after the last row" + at(pos));

    grid.replaceCells(columns, std::move(table));
    return Status::ok();
}

Status readTableFile(const std::filesystem::path& path, TextGrid& grid, TableReadMode mode) {
    std::string bytes;
    if (Status s = fileio::readFile(path, bytes); !s.isOk()) return s;
    Status s = parseTableFile(bytes, grid, mode);
    return s.isOk() ? s : Status::error(path.string() + ": " + s.message());
}

std::string serializeTableFile(const TextGrid& grid) {
    std::string out;
    appendInt32(out, grid.rowCount());
    appendInt32(out, grid.columnCount());
    std::string text;
    for (int r = 0; r < grid.rowCount(); ++r) {
        text.clear();
        for (const std::string& cell : grid.row(r)) {
            std::string bytes = gbk::fromUtf8(cell);
            std::replace_if(bytes.begin(), bytes.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
            text += bytes;
            text += "\r\n";
        }
        appendInt32(out, static_cast<std::int32_t>(text.size()));
        out.append(text.rbegin(), text.rend());
    }
    return out;
}

Status writeTableFile(const TextGrid& grid, const std::filesystem::path& path) {
    return fileio::writeFileAtomically(path, serializeTableFile(grid));
}
