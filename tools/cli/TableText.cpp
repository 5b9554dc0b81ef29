// SPDX-License-Identifier: GPL-3.0-or-later
#include "TableText.h"

#include <algorithm>
#include <vector>

namespace {

std::string csvField(const std::string& cell) {
    if (cell.find_first_of(",\"\r\n") == std::string::npos) return cell;
    std::string out = "\"";
    for (char c : cell) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

// One CSV record from text[at..]; quoted fields may hold separators and line breaks.
std::vector<std::string> csvRecord(std::string_view text, std::size_t& at) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (quoted) {
            if (c == '"' && at + 1 < text.size() && text[at + 1] == '"') {
                fields.back() += '"';
                ++at;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c == '\n') {
            ++at;
            break;
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return fields;
}

std::vector<std::string> tsvRecord(std::string_view text, std::size_t& at) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::vector<std::string> fields;
    for (std::size_t tab; (tab = line.find('\t')) != std::string_view::npos; line.remove_prefix(tab + 1))
        fields.emplace_back(line.substr(0, tab));
    fields.emplace_back(line);
    return fields;
}

}  // namespace

std::string tableToText(const TextGrid& grid, TextTableFormat format) {
    std::string out;
    for (int r = 0; r < grid.rowCount(); ++r) {
        for (int c = 0; c < grid.columnCount(); ++c) {
            if (c > 0) out += format == TextTableFormat::Csv ? ',' : '\t';
            std::string cell = grid.cell(c, r);
            if (format == TextTableFormat::Csv) {
                out += csvField(cell);
            } else {
                std::replace(cell.begin(), cell.end(), '\t', ' ');
                out += cell;
            }
        }
        out += '\n';
    }
    return out;
}

TextGrid tableFromText(std::string_view text, TextTableFormat format) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<TextGrid::Row> rows;
    std::size_t columns = 0;
    for (std::size_t at = 0; at < text.size();) {
        rows.push_back(format == TextTableFormat::Csv ? csvRecord(text, at) : tsvRecord(text, at));
        columns = std::max(columns, rows.back().size());
    }
    TextGrid grid(0, 0);
    grid.replaceCells(static_cast<int>(columns), std::move(rows));
    return grid;
}
