// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainModel.h"

#include <cmath>

#include "GuiThread.h"
#include "Numbers.h"
#include "TradeFlow.h"
#include "usockTDXManager.h"

namespace {

const char* const kClassTitles[] = {"    超大", "    大户", "    中户", "    散户", "    平盘"};
const char* const kBookTitles[16] = {"委比", "卖⑤", "卖④", "卖③", "卖②", "卖①", "买①", "买②",
                                     "买③", "买④", "买⑤", "现价", "涨跌", "涨幅", "总量", "外盘"};
struct RowTitle {
    int row;
    const char* title;
};
const RowTitle kBookTitlesRight[] = {{0, "委差"}, {11, "今开"}, {12, "最高"}, {13, "最低"}, {14, "振幅"}, {15, "内盘"}};
const char* const kBucketTitles[] = {"09:30~10:00", "10:00~10:30", "10:30~11:00", "11:00~11:30",
                                     "13:00~13:30", "13:30~14:00", "14:00~14:30", "14:30~15:00"};
const char* const kSliceLabels[] = {"万.超大", "万.大户", "万.中户", "万.散户"};

std::string percent(double v) { return numbers::formatFixed(v, 2) + "%"; }
std::string price2(double v) { return numbers::formatFloat("%.02f", v); }

void setClassGrid(TextGrid& grid, int rows, int height) {
    grid.setDefaultRowHeight(static_cast<int>(std::lround(height / static_cast<double>(rows))));
    grid.setColumnWidth(1, 65);
    grid.setColumnWidth(2, 45);
    for (int r = 0; r < rows; ++r) grid.setCell(0, r, kClassTitles[r]);
}

// The status-bar group of an index code, and the label it shows there.
struct IndexGroup {
    const char* code;
    int group;
    const char* label;
};
const IndexGroup kIndexGroups[] = {{"999999", 1, "上证 "}, {"000300", 2, "沪深 "}, {"399001", 2, "深证 "},
                                   {"399005", 3, "中小 "}, {"399006", 3, "创业 "}};

// Which cells of rows 1 and 2 of the network indicator each animation step sets.
struct NetCell {
    int column;
    const char* row1;
    const char* row2;
};
const std::vector<NetCell> kNetSteps[12] = {
    {},
    {{1, "1", "1"}, {5, "2", "2"}, {11, "3", "3"}, {7, "2", "2"}},
    {{2, "1", "1"}, {1, "2", "2"}, {10, "3", "3"}, {11, "2", "2"}},
    {{3, "1", "1"}, {2, "2", "2"}, {9, "3", "3"}, {10, "2", "2"}},
    {{4, "1", "1"}, {3, "2", "2"}, {8, "3", "3"}, {9, "2", "2"}},
    {{5, "1", "1"}, {4, "2", "2"}, {7, "3", "3"}, {8, "2", "2"}},
    {{5, "3", "3"}, {7, "1", "1"}, {6, "1", "3"}},
    {{4, "3", "3"}, {5, "2", "2"}, {8, "1", "1"}, {7, "2", "2"}, {6, "2", "2"}},
    {{3, "3", "3"}, {4, "2", "2"}, {9, "1", "1"}, {8, "2", "2"}},
    {{2, "3", "3"}, {3, "2", "2"}, {10, "1", "1"}, {9, "2", "2"}},
    {{1, "3", "3"}, {2, "2", "2"}, {11, "1", "1"}, {10, "2", "2"}},
    {},
};

// Codes starting "0" or "3" trade in Shenzhen, "6" in Shanghai; others have no suffix.
const char* marketSuffix(const std::string& code) {
    if (code.empty()) return nullptr;
    if (code[0] == '0' || code[0] == '3') return "SZ";
    if (code[0] == '6') return "SH";
    return nullptr;
}

}  // namespace

std::string VolumeText(double lots) {
    return lots <= 90000 ? numbers::formatFixed(lots, 0) : numbers::formatFixed(lots / 10000, 1) + "万";
}

std::optional<int> SignalNumber(float prevClose, float open, float price, float bandValue) {
    const float d = bandValue * prevClose / 100;
    float top = open + d, bottom = open - d;
    if (top < 0.5f * prevClose) top = 0.5f * prevClose;
    if (bottom > 1.5f * prevClose) bottom = 1.5f * prevClose;
    if (top == bottom) return std::nullopt;  // no band to stand in
    const float g = (bottom - price) / ((bottom - top) / 20);
    const auto rounded = numbers::parseInt(numbers::formatFixed(g, 0));
    if (!rounded) return std::nullopt;
    return *rounded + 1;
}

std::string TrendComment(float s, float r) {
    // s is compared in double precision: a cell showing 0.40 counts as above 0.4.
    const double sd = s;
    if (s < 0 || r < 0) return {};
    if (sd <= 0.4) {
        if (r <= 40) return "走势不明,当前价格中位下,留意下行风险";
        if (r <= 60) return "走势不明,当前价格中位,关注操作机会";
        return "走势不明,当前价格中位上,期待向上突破";
    }
    if (sd <= 0.8) {
        if (r <= 35) return "静观其变,当前价格中位下,抄小底者多关注";
        if (r <= 70) return "静观其变,当前价格中位,多看少动";
        return "静观其变,当前价格较高位,做差时留意风险";
    }
    if (r <= 20) return "走势明朗,当前价格较低位,买入风险较小";
    if (r <= 50) return "走势明朗,当前价格中位下,防杀跌,可关注";
    if (r <= 80) return "走势明朗,当前价格中位上,防追高,多留意";
    return "走势明朗,当前价格较高位,买入风险较大";
}

MainModel::MainModel() : processMessages(&ProcessMessages), waitProcessingMessages(&WaitProcessingMessages) {}

void MainModel::InitTables(int tableHeight, const TextWidthFn& textWidth, int sg11Height, int sg22Height,
                           int sg33Height) {
    InitQuoteTable(quote, tableHeight, textWidth);
    setClassGrid(sg_11, 4, sg11Height);
    setClassGrid(sg_22, 4, sg22Height);
    setClassGrid(sg_33, 5, sg33Height);
    sg_44.setDefaultRowHeight(18);
    for (int c = 0; c < 4; ++c) sg_44.setColumnWidth(c, c % 2 ? 60 : 35);
    for (int r = 0; r < 16; ++r) sg_44.setCell(0, r, kBookTitles[r]);
    for (const RowTitle& t : kBookTitlesRight) sg_44.setCell(2, t.row, t.title);
    SGBS.setRowHeight(0, 0);
    MinuteRequestCounter = TickRefreshCounter = NetAnimationStep = 0;
    ReplayRouting = false;
}

void MainModel::TDXDecodePacket_INITMARKET(std::span<const TTDX_STOCKINFO> data, std::uint8_t market, int count) {
    if (market > 1) return;
    const std::string progress = market == 0 ? "正在初始化深圳数据..." : "正在初始化上海数据...";
    start.InitProgress = 0;
    const std::size_t n = std::min(data.size(), static_cast<std::size_t>(std::max(count, 0)));
    for (std::size_t i = 0; i < n; ++i) {
        const std::string_view code = FixedText(data[i].Code, sizeof data[i].Code);
        for (int slot = 0; slot < 5; ++slot)
            if (code == kIndexPrevCloseCodes[slot]) IndexPrevClose[slot] = data[i].PrevClose;
        const std::string p = numbers::formatFixed(static_cast<double>(i) * 100 / static_cast<double>(n), 0);
        start.InitProgress = numbers::parseInt(p).value_or(0);
        start.pnl_1 = progress + p + "%";
        processMessages();
    }
    ++MarketInitCounter;
}

void MainModel::TDXDecodePacket_PKDAT(std::span<const TTDX_PKDAT> data, int count) {
    const std::size_t n = std::min(data.size(), static_cast<std::size_t>(std::max(count, 0)));
    TextGrid& grid = quote.SGStock;
    for (std::size_t i = 0; i < n; ++i) {
        const TTDX_PKDAT& r = data[i];
        const double pc = r.PrevClose, o = r.Open, h = r.High, l = r.Low, p = r.Price;
        if (h == 0 || l == 0 || p == 0 || pc == 0) continue;  // suspended, or an empty slot
        const std::string code(FixedText(r.Code, sizeof r.Code));
        const double v = static_cast<std::uint32_t>(r.Volume);

        for (const IndexGroup& g : kIndexGroups) {
            if (code != g.code) continue;
            Panel* panels[3][3] = {{&pnlSTBar_10, &pnlSTBar_11, &pnlSTBar_12},
                                   {&pnlSTBar_20, &pnlSTBar_21, &pnlSTBar_22},
                                   {&pnlSTBar_30, &pnlSTBar_31, &pnlSTBar_32}};
            Panel** group = panels[g.group - 1];
            group[0]->caption = g.label;
            group[1]->caption = numbers::formatFixed(p, 2) + "  " + numbers::formatFixed(p - pc, 2) + "  " +
                                percent((p - pc) * 100 / pc);
            group[1]->color = p > pc ? palette::kRed : palette::kGreen;
            group[2]->caption = numbers::formatFixed(r.Amount / 10000.0 / 10000.0, 1) + "亿";
        }

        for (int row = kQuoteFirstDataRow; row < grid.rowCount(); ++row) {
            if (grid.cell(1, row) != code) continue;
            grid.setCell(3, row, numbers::formatFixed((p - pc) * 100 / pc, 2));
            grid.setCell(4, row, numbers::formatFixed(p, 2));
            // Without float shares there is no turnover: 0.00, as an empty cell draws.
            const float floatShares = CellFloat(grid, 15, row);
            grid.setCell(8, row, numbers::formatFixed(floatShares != 0 ? v / floatShares : 0.0, 2));
            grid.setCell(9, row, numbers::formatFixed(o, 2));
            grid.setCell(10, row, numbers::formatFixed(h, 2));
            grid.setCell(11, row, numbers::formatFixed(l, 2));
            grid.setCell(12, row, numbers::formatFixed(pc, 2));
            grid.setCell(13, row, VolumeText(v));
            grid.setCell(14, row, percent((h - l) * 100 / pc));
        }

        if (code == quote.CurrentCode) snapshotOfCurrentStock(r);
    }
}

void MainModel::snapshotOfCurrentStock(const TTDX_PKDAT& r) {
    TextGrid& grid = quote.SGStock;
    const int row = quote.CurrentRow;
    const double pc = r.PrevClose, o = r.Open, h = r.High, l = r.Low, p = r.Price;

    // Risk and space need a range and a band value; without them the three steps stop.
    if (h != l) {
        grid.setCell(32, row, numbers::formatFloat("%0.2f", (p - l) * 100 / (h - l)));
        const float band = CellFloat(grid, 35, row);
        if (band != 0 && l != 0) {
            grid.setCell(33, row, numbers::formatFloat("%0.2f", ((h - l) * 100 / l) / band));
            UpdateTrendComment();
        }
    }

    // Without a band the strip and the signal number would show another stock's reading.
    const std::optional<int> signal = SignalNumber(r.PrevClose, r.Open, r.Price, CellFloat(grid, 35, row));
    if (signal) {
        ShowSignalStrip(*signal, p > pc);
        grid.setCell(34, row, std::to_string(*signal));
    } else {
        for (int c = 0; c < 10; ++c) SGBS.setCell(c, 1, "0");
        grid.setCell(34, row, "");
    }

    pnl_1_0_0.caption = quote.CurrentCode + " ";
    pnl_1_0_1.caption = " " + quote.CurrentName;

    double bids = 0, asks = 0;
    for (int k = 0; k < 5; ++k) {
        bids += static_cast<std::uint32_t>(r.BidVolume[k]);
        asks += static_cast<std::uint32_t>(r.AskVolume[k]);
    }
    // An empty book has no ratio: 0.00%.
    sg_44.setCell(1, 0, percent(bids + asks != 0 ? (bids - asks) * 100 / (bids + asks) : 0.0));
    sg_44.setCell(3, 0, numbers::formatFixed(bids - asks, 0));
    for (int k = 1; k <= 5; ++k) {
        sg_44.setCell(1, 6 - k, price2(r.AskPrice[k - 1]));
        sg_44.setCell(3, 6 - k, numbers::formatInt("%d", static_cast<std::uint32_t>(r.AskVolume[k - 1])));
        sg_44.setCell(1, 5 + k, price2(r.BidPrice[k - 1]));
        sg_44.setCell(3, 5 + k, numbers::formatInt("%d", static_cast<std::uint32_t>(r.BidVolume[k - 1])));
    }
    sg_44.setCell(1, 11, price2(p));
    sg_44.setCell(3, 11, price2(o));
    sg_44.setCell(1, 12, numbers::formatFixed(p - pc, 2));
    sg_44.setCell(3, 12, price2(h));
    sg_44.setCell(1, 13, percent((p - pc) * 100 / pc));
    sg_44.setCell(3, 13, price2(l));
    sg_44.setCell(1, 14, VolumeText(static_cast<std::uint32_t>(r.Volume)));
    sg_44.setCell(3, 14, percent((h - l) * 100 / pc));
    sg_44.setCell(1, 15, VolumeText(static_cast<std::uint32_t>(r.OuterVolume)));
    sg_44.setCell(3, 15, VolumeText(static_cast<std::uint32_t>(r.InnerVolume)));
}

void MainModel::TDXDecodePacket_DEALS(const TCallBackStockInfo& info, std::span<const TTDX_DEALInfo> data, int,
                                      int) {
    if (ReplayRouting) return;  // a replay books into its own table
    const std::string code(FixedText(info.Code, sizeof info.Code));
    TextGrid& grid = quote.SGStock;
    int target = -1;
    for (int row = kQuoteFirstDataRow; row < grid.rowCount(); ++row) {
        if (numbers::trim(grid.cell(1, row)) != code) continue;
        if (target < 0) target = row;
        if (numbers::trim(grid.cell(41, row)) != "0") continue;
        for (int c = 42; c < kQuoteColumnCount; ++c) grid.setCell(c, row, "0");
        for (int c = 5; c <= 7; ++c) grid.setCell(c, row, "0");
        grid.setCell(41, row, "1");
    }
    if (target < 0) return;

    for (const TTDX_DEALInfo& d : data) {
        const char* side = d.Side == 0 ? "B" : d.Side == 1 ? "S" : "M";
        const std::string time = numbers::formatInt("%.02d", d.Time / 60) + numbers::formatInt("%.02d", d.Time % 60);
        AccumulateTrade(time, side, target, grid, static_cast<float>(static_cast<std::uint32_t>(d.Volume)),
                        static_cast<float>(static_cast<std::uint32_t>(d.Price)) / 1000.0f);
    }
    if (code == quote.CurrentCode) latestTrades(code, data);
}

void MainModel::latestTrades(const std::string& code, std::span<const TTDX_DEALInfo> data) {
    for (auto* lines : {&redit1, &redit2, &redit3, &redit4}) lines->clear();
    TextGrid& grid = quote.SGStock;
    float pc = 0;
    for (int row = kQuoteFirstDataRow; row < grid.rowCount(); ++row)
        if (grid.cell(1, row) == code) pc = CellFloat(grid, 12, row);
    for (std::size_t n = 0; n < data.size() && n < 20; ++n) {
        const TTDX_DEALInfo& d = data[data.size() - 1 - n];
        const float price = static_cast<float>(static_cast<std::uint32_t>(d.Price)) / 1000.0f;
        const auto volume = static_cast<std::uint32_t>(d.Volume);
        redit1.push_back({numbers::formatInt("%.02d", d.Time / 60) + ":" + numbers::formatInt("%.02d", d.Time % 60),
                          palette::kSilver});
        redit2.push_back({price2(price), price > pc ? palette::kRed : palette::kLime});
        redit3.push_back({numbers::formatInt("%d", volume), volume < 500 ? palette::kOlive : palette::kPurple});
        // Neutral trades show as sells here.
        redit4.push_back(d.Side == 0 ? ColoredLine{"B", palette::kRed} : ColoredLine{"S", palette::kLime});
    }
}

void MainModel::ShowSignalStrip(int n, bool up) {
    for (int c = 0; c < 10; ++c) {
        const char* text;
        if (n >= 1 && n <= 10) text = c < 11 - n ? "1" : "0";
        else if (n >= 11 && n <= 20) text = c < n - 10 ? "-1" : "0";
        else text = up ? "1" : "-1";
        SGBS.setCell(c, 1, text);
    }
}

void MainModel::UpdateTrendComment() {
    const int row = quote.CurrentRow;
    if (row < 1) return;
    std::string text;
    TextGrid& grid = quote.SGStock;
    if (!grid.cell(1, row).empty()) text = TrendComment(CellFloat(grid, 33, row), CellFloat(grid, 32, row));
    pnlSTBar_40.caption = text;
}

void MainModel::SGStockSelectCell(int, int row) {
    TextGrid& grid = quote.SGStock;
    const std::string code(numbers::trim(grid.cell(1, row)));
    if (!code.empty()) {
        for (auto* lines : {&redit1, &redit2, &redit3, &redit4}) lines->clear();
        quote.CurrentCode = code;
        quote.CurrentName = std::string(numbers::trim(grid.cell(2, row)));
    }
    quote.CurrentRow = row;
    SGStockClick();
}

void MainModel::SGStockClick() {
    MinuteRequestCounter = TickRefreshCounter = 100;
    TextGrid& grid = quote.SGStock;
    const int row = quote.CurrentRow;
    ShowSignalStrip(CellInt(grid, 34, row), CellFloat(grid, 4, row) > CellFloat(grid, 12, row));
}

void MainModel::TDXConnected() { pnlSTBar_40.caption = std::string("【 ") + kWebAddress + " 】"; }

void MainModel::TDXDisConnected(TTDXManager& client) {
    pnlSTBar_40.caption = kDisconnectedText;
    client.Connect();
}

bool MainModel::pnlSTBar_40OffersReconnect() const { return numbers::trim(pnlSTBar_40.caption) == kDisconnectedText; }

void MainModel::DPTimerTimer(TTDXManager& client) {
    if (DayDownloadRunning || ReplayActive || !LoginFlag) return;
    TextGrid& grid = quote.SGStock;
    try {
        if (++MinuteRequestCounter >= 1) {
            MinuteRequestCounter = 0;
            const std::string code(numbers::trim(quote.CurrentCode));
            const char* suffix = marketSuffix(code);
            if (client.Connected() && suffix) {
                const std::uint32_t market = suffix[1] == 'H';
                client.Request_MINS(code + suffix, market, 0);
                client.Request_MINS(market ? "999999SH" : "399001SZ", market, 0);
            }
        }

        if (client.Connected()) {
            client.Request_PKDAT("999999SH,000300SH,399001SZ,399005SZ,399006SZ");
            for (int row = kQuoteFirstDataRow; row < grid.rowCount(); ++row) {
                const std::string code(numbers::trim(grid.cell(1, row)));
                if (const char* suffix = marketSuffix(code)) client.Request_PKDAT(code + suffix);
            }
        }

        if (++TickRefreshCounter > 15) {
            TickRefreshCounter = 0;
            const bool connected = client.Connected();
            for (int row = kQuoteFirstDataRow; connected && row < grid.rowCount(); ++row) {
                if (ReplayRouting) continue;
                const std::string code(numbers::trim(grid.cell(1, row)));
                if (code.empty()) continue;
                const std::uint32_t market = code[0] == '6';
                grid.setCell(41, row, "0");  // the first reply of the cycle starts the sums afresh
                client.Request_DEALS(code, market, 4000, 6000);
                client.Request_DEALS(code, market, 2000, 4000);
                client.Request_DEALS(code, market, 0, 2000);
                // Replies are handled meanwhile; the stocks go out a second apart.
                waitProcessingMessages(1001);
            }
        }

        animateNetwork(client.Connected());
        DrawSidePanels();
    } catch (...) {
        // An error ends this tick only; the next one runs as usual.
    }
}

void MainModel::animateNetwork(bool connected) {
    if (NetAnimationStep > 11) NetAnimationStep = 0;
    processMessages();
    if (++NetAnimationStep > 11) NetAnimationStep = 0;
    for (int row = 3; row <= 4; ++row)
        for (int c = 1; c <= 11; ++c) SGNET.setCell(c, row, c == 6 ? "2" : connected ? "1" : "0");
    if (!connected) return;
    for (const NetCell& cell : kNetSteps[NetAnimationStep]) {
        SGNET.setCell(cell.column, 1, cell.row1);
        SGNET.setCell(cell.column, 2, cell.row2);
    }
}

void MainModel::DrawSidePanels() {
    TextGrid& grid = quote.SGStock;
    const int row = quote.CurrentRow;
    if (row < 1 || numbers::trim(grid.cell(1, row)).empty()) return;
    const auto value = [&](int column) { return static_cast<double>(CellFloat(grid, column, row)); };
    const auto whole = [](double v) { return RoundDecimals(0, v); };

    double total = 1 + whole(value(134));  // the 1 keeps the total above 0
    for (int c = 118; c <= 125; ++c) total += whole(value(c));
    const auto fill = [&](TextGrid& g, int k, double v, double share) {
        g.setCell(1, k, numbers::formatFixed(v / 10000, 0) + " ");
        g.setCell(2, k, percent(share * 100 / total));
    };

    Chart_0.clear();
    const Rgb buyColors[] = {{255, 10, 10}, {190, 10, 10}, {130, 10, 10}, {70, 10, 10}};
    const Rgb sellColors[] = {{10, 255, 10}, {10, 190, 10}, {10, 130, 10}, {10, 70, 10}};
    for (int k = 0; k < 4; ++k) {
        fill(sg_11, k, value(118 + k), value(118 + k));
        Chart_0.push_back({whole(value(118 + k) / 10000), kSliceLabels[k], buyColors[k]});
    }
    for (int k = 0; k < 4; ++k) {
        fill(sg_22, k, value(122 + k), value(122 + k));
        Chart_0.push_back({whole(value(122 + k) / 10000), kSliceLabels[k], sellColors[k]});
    }
    const int netColumns[] = {94, 95, 96, 97, 134};
    for (int k = 0; k < 5; ++k) fill(sg_33, k, value(netColumns[k]), std::fabs(value(netColumns[k])));

    Chart_1.clear();
    for (int b = 0; b < kQuoteBucketCount; ++b) {
        const double v = whole(value(kQuoteBucketFirstColumn + kQuoteBucketWidth * b) / 10000);
        Chart_1.push_back({v, kBucketTitles[b], v > 0 ? palette::kRed : palette::kGreen});
    }
}
