// SPDX-License-Identifier: GPL-3.0-or-later
#include "pasCommon.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "Gbk.h"
#include "Numbers.h"

namespace {

struct ColumnTitles {
    std::array<std::string, kQuoteColumnCount> row1;
    std::array<std::string, kQuoteColumnCount> row0;

    ColumnTitles() {
        const char* const first[] = {"",     "代 码", "名 称", "涨幅%", "现 价", "资金流向.万", "DDX", "DMD",
                                     "换手率%", "今开",  "最高",  "最低",  "昨收",  "总量",       "振幅%", "流通股本"};
        for (int c = 0; c < 16; ++c) row1[c] = first[c];
        for (int c = 16; c <= 31; ++c) row1[c] = "待定";
        const char* const middle[] = {"买卖风险", "买卖空间", "信号量", "波段值",  "拼音简写", "地区",   "行业",
                                      "概念",     "待定",     "分笔标识", "资金流向", "DDX系数", "DMD系数", "DDZ系数"};
        for (int c = 32; c <= 45; ++c) row1[c] = middle[c - 32];

        const char* const bucketTitles[kQuoteBucketWidth] = {"资金流向",    "大单总额.手", "大单净买.手",
                                                             "大单总额.元", "大单净买.元", "大单个数"};
        const char* const bucketGroups[kQuoteBucketCount] = {"09:30~10:00", "10:00~10:30", "10:30~11:00",
                                                             "11:00~11:30", "13:00~13:30", "13:30~14:00",
                                                             "14:00~14:30", "14:30~15:00"};
        for (int b = 0; b < kQuoteBucketCount; ++b) {
            const int base = kQuoteBucketFirstColumn + kQuoteBucketWidth * b;
            row0[base] = bucketGroups[b];
            for (int k = 0; k < kQuoteBucketWidth; ++k) row1[base + k] = bucketTitles[k];
        }

        const char* const net[] = {"超 大 户", "大户增持", "中户增持", "散户增持"};
        for (int k = 0; k < 4; ++k) row1[94 + k] = net[k];
        row0[94] = "净流向.元";

        for (int level = 1; level <= 5; ++level) {
            const int base = 98 + 4 * (level - 1);
            const std::string n = std::to_string(level);
            row1[base] = "买价" + n;
            row1[base + 1] = "买量" + n;
            row1[base + 2] = "卖价" + n;
            row1[base + 3] = "卖量" + n;
        }

        const char* const buy[] = {"主买超大户", "主买大户", "主买中户", "主买散户"};
        const char* const sell[] = {"主卖超大户", "主卖大户", "主卖中户", "主卖散户"};
        for (int k = 0; k < 4; ++k) {
            row1[118 + k] = row1[126 + k] = buy[k];
            row1[122 + k] = row1[130 + k] = sell[k];
        }
        row0[118] = "主买金额.元";
        row0[122] = "主卖金额.元";
        row0[126] = "主买数量.手";
        row0[130] = "主卖数量.手";
        row1[134] = "中性成交";
        row1[135] = "成交笔数";
    }
};

const ColumnTitles& columnTitles() {
    static const ColumnTitles titles;
    return titles;
}

const std::string kNoTitle;

// Lower-cases Latin letters only, so GBK bytes pass unchanged.
std::string asciiLower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

template <typename T>
int sign(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

const std::string& QuoteColumnTitle(int column) {
    return column >= 0 && column < kQuoteColumnCount ? columnTitles().row1[column] : kNoTitle;
}

const std::string& QuoteGroupTitle(int column) {
    return column >= 0 && column < kQuoteColumnCount ? columnTitles().row0[column] : kNoTitle;
}

bool IsQuoteColumnHidden(int column) {
    return column == 13 || (column >= 15 && column <= 93) || (column >= 98 && column <= 117) ||
           (column >= 126 && column <= 135);
}

void InitQuoteTable(QuoteTable& table, int tableHeight, const TextWidthFn& textWidth) {
    TextGrid& grid = table.SGStock;
    grid.setColumnCount(kQuoteColumnCount);
    grid.setRowCount(kQuoteRowCount);
    grid.setFixedColumns(3);
    grid.setFixedRows(2);
    grid.setColor(0x000000);

    for (int c = 0; c < kQuoteColumnCount; ++c) {
        grid.setCell(c, 0, QuoteGroupTitle(c));
        grid.setCell(c, 1, QuoteColumnTitle(c));
        if (IsQuoteColumnHidden(c)) grid.setColumnWidth(c, 0);
    }
    for (int r = kQuoteFirstDataRow; r < grid.rowCount(); ++r) grid.setCell(0, r, std::to_string(r - 1));

    AutoFitColumns(grid, textWidth);
    grid.setDefaultRowHeight(static_cast<int>(std::lround(tableHeight / 6.0)));
    grid.setRowHeight(0, 0);

    table.CurrentRow = kQuoteFirstDataRow;
    table.CurrentCode = "000001";
    table.CurrentName = "深发展A";
}

float CellFloat(TextGrid& grid, int column, int row) {
    const auto value = numbers::parseFloat(grid.cell(column, row));
    if (!value || std::fabs(*value) > std::numeric_limits<float>::max()) {
        grid.setCell(column, row, "0.00");
        return 0.0f;
    }
    return static_cast<float>(*value);
}

std::int32_t CellInt(TextGrid& grid, int column, int row) {
    const auto value = numbers::parseInt(grid.cell(column, row));
    if (!value) {
        grid.setCell(column, row, "0");
        return 0;
    }
    return *value;
}

double RoundDecimals(int decimals, double x) {
    return numbers::parseFloat(numbers::formatFixed(x, decimals)).value_or(x);
}

void AutoFitColumns(TextGrid& grid, const TextWidthFn& textWidth) {
    for (int c = 0; c < grid.columnCount(); ++c) {
        if (grid.columnWidth(c) <= 1) continue;
        const int titleWidth = textWidth(numbers::trim(grid.cell(c, 0)));
        int threshold = 0;
        for (int r = 1; r < grid.rowCount(); ++r) {
            const int w = std::max(textWidth(numbers::trim(grid.cell(c, r))), titleWidth);
            if (w > threshold) {
                grid.setColumnWidth(c, w + 15);
                threshold = w + 5;
            }
        }
    }
}

void DeleteGridRow(TextGrid& grid, int row) {
    if (row < 0 || row >= grid.rowCount()) return;
    for (int r = row; r + 1 < grid.rowCount(); ++r) grid.swapRows(r, r + 1);
    grid.setRowCount(grid.rowCount() - 1);
}

int CompareCells(std::string_view a, std::string_view b, int mode) {
    switch (mode) {
        case 0: {
            const std::string x = asciiLower(gbk::fromUtf8(a)), y = asciiLower(gbk::fromUtf8(b));
            const int r = x.compare(y);
            return r < 0 ? -1 : (r > 0 ? 1 : 0);
        }
        case 1:
            return sign(numbers::parseInt(a).value_or(0), numbers::parseInt(b).value_or(0));
        case 2:
            return sign(numbers::parseFloat(a).value_or(0.0), numbers::parseFloat(b).value_or(0.0));
        default:
            return 0;
    }
}

void SortGridRows(TextGrid& grid, int column, int mode, bool ascending, std::mt19937& random) {
    const int first = grid.fixedRows();
    const int count = grid.rowCount() - first;
    if (count <= 0) return;

    std::vector<TextGrid::Row> scratch;
    scratch.reserve(static_cast<std::size_t>(count));
    for (int r = first; r < grid.rowCount(); ++r) scratch.push_back(grid.row(r));
    std::vector<int> order(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) order[static_cast<std::size_t>(i)] = i;

    const auto key = [&](int i) -> const std::string& {
        static const std::string none;
        const TextGrid::Row& row = scratch[static_cast<std::size_t>(i)];
        return column >= 0 && column < static_cast<int>(row.size()) ? row[static_cast<std::size_t>(column)] : none;
    };
    // Hoare partition around a random pivot; recursing into the smaller side keeps the
    // stack depth logarithmic whatever the data.
    std::function<void(int, int)> quickSort = [&](int lo, int hi) {
        while (lo < hi) {
            const std::string pivot = key(order[std::uniform_int_distribution<int>(lo, hi)(random)]);
            int i = lo, j = hi;
            while (i <= j) {
                while (CompareCells(key(order[i]), pivot, mode) < 0) ++i;
                while (CompareCells(key(order[j]), pivot, mode) > 0) --j;
                if (i <= j) std::swap(order[i++], order[j--]);
            }
            if (j - lo < hi - i) {
                quickSort(lo, j);
                lo = i;
            } else {
                quickSort(i, hi);
                hi = j;
            }
        }
    };
    quickSort(0, count - 1);

    std::vector<TextGrid::Row> all;
    all.reserve(static_cast<std::size_t>(grid.rowCount()));
    for (int r = 0; r < first; ++r) all.push_back(grid.row(r));
    for (int k = 0; k < count; ++k) {
        const int from = order[static_cast<std::size_t>(ascending ? k : count - 1 - k)];
        all.push_back(std::move(scratch[static_cast<std::size_t>(from)]));
    }
    grid.replaceCells(grid.columnCount(), std::move(all));
    grid.setSelectedCell(grid.selectedColumn(), first);
}

void SortGridRows(TextGrid& grid, int column, int mode, bool ascending) {
    static std::mt19937 random{std::random_device{}()};
    SortGridRows(grid, column, mode, ascending, random);
}

std::string ReverseText(std::string_view s) { return std::string(s.rbegin(), s.rend()); }

std::optional<QDateTime> ParseDashedDate(std::string_view text) {
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed();
    const QDate date = QDate::fromString(s.left(10), QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid()) return std::nullopt;
    if (s.size() == 10) return QDateTime(date, QTime(0, 0));
    const QTime time = QTime::fromString(s.mid(10).trimmed(), QStringLiteral("HH:mm:ss"));
    if (s.at(10) != QLatin1Char(' ') || !time.isValid()) return std::nullopt;
    return QDateTime(date, time);
}

void SplitText(std::string_view text, char delimiter, std::vector<std::string>& list) {
    std::string_view rest = numbers::trim(text);
    if (rest.size() > 1) {
        for (std::size_t at; (at = rest.find(delimiter)) != std::string_view::npos; rest.remove_prefix(at + 1)) {
            const std::string_view piece = rest.substr(0, at);
            if (!numbers::trim(piece).empty()) list.emplace_back(piece);
        }
    }
    list.emplace_back(rest);
}
