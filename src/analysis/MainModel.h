// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "TDXAsm.h"
#include "TDXEDCode.h"
#include "TDXGrobal.h"
#include "TextGrid.h"
#include "ViewItems.h"
#include "pasCommon.h"

class TTDXManager;

// The main window without its widgets: everything its controls show (grids, panel
// captions with their colours, the latest-trade lines, the chart items), the run flags
// and counters, and the handlers that fill them from the quote client's replies and the
// polling timer. The window only draws this model and forwards its events to it.

// The start dialog's status line and progress bar.
struct StartDialogModel {
    std::string pnl_1;
    int InitProgress = 0;
};

inline constexpr const char* kDisconnectedText = "已断开,点击此处重新连接服务器.";
inline constexpr const char* kWebAddress = "www.vexlora.example";
// The exit question; the line break is written LF CR.
inline constexpr const char* kExitQuestion =
    "退出前,您是否需要下载补全日线数据?\n\r(选股分析浏览K线图等功能均需日线数据,如暂不使用这些功能,可不用下载.)";

// The indices whose previous close the index minute chart needs, in slot order.
inline constexpr const char* kIndexPrevCloseCodes[5] = {"999999", "399001", "399005", "399006", "000300"};

class MainModel {
public:
    MainModel();

    // The quote table with its current stock, and the side grids of the window.
    QuoteTable quote;
    TextGrid sg_11{3, 4}, sg_22{3, 4}, sg_33{3, 5}, sg_44{4, 16};
    TextGrid SGNET{12, 5}, SGBS{10, 2};

    Panel pnlSTBar_10, pnlSTBar_11, pnlSTBar_12;
    Panel pnlSTBar_20, pnlSTBar_21, pnlSTBar_22;
    Panel pnlSTBar_30, pnlSTBar_31, pnlSTBar_32;
    Panel pnlSTBar_40{kDisconnectedText};
    Panel pnl_1_0_0{"", palette::kOlive}, pnl_1_0_1{"", Rgb{255, 128, 128}};
    std::vector<ColoredLine> redit1, redit2, redit3, redit4;  // the latest trades, newest first
    std::vector<ChartItem> Chart_0;                           // eight pie slices
    std::vector<ChartItem> Chart_1;                           // eight half-hour bars

    float IndexPrevClose[5] = {0, 0, 0, 0, 0};
    StartDialogModel start;

    // Run flags and counters, clear at start.
    bool LoginFlag = false;
    bool DayDownloadRunning = false;
    bool ReplayActive = false;
    bool ReplayRouting = false;
    int MarketInitCounter = 0;
    int MinuteRequestCounter = 0;
    int TickRefreshCounter = 0;
    int NetAnimationStep = 0;

    // Lets pending GUI events run; and waits that long while letting them run. Tests may
    // replace both.
    std::function<void()> processMessages;
    std::function<void(int ms)> waitProcessingMessages;

    // The quote table and the side grids as the window's creation sets them up.
    void InitTables(int tableHeight, const TextWidthFn& textWidth, int sg11Height = 76, int sg22Height = 76,
                    int sg33Height = 95);

    // Reply handlers.
    void TDXDecodePacket_INITMARKET(std::span<const TTDX_STOCKINFO> data, std::uint8_t market, int count);
    void TDXDecodePacket_PKDAT(std::span<const TTDX_PKDAT> data, int count);
    // Books every trade of the reply into the first row of its code, after resetting the
    // rows of the code whose refresh mark (column 41) the polling loop set to "0".
    void TDXDecodePacket_DEALS(const TCallBackStockInfo& info, std::span<const TTDX_DEALInfo> data, int start,
                               int count);

    // The signal strip: n 1..10 lights 11-n red cells, 11..20 n-10 green ones; any other
    // n fills it with the day's direction.
    void ShowSignalStrip(int n, bool up);
    void UpdateTrendComment();

    // A click on a quote-table row: a stock row becomes the current stock; the next tick
    // asks for its minute lines and runs a refresh cycle.
    void SGStockSelectCell(int column, int row);
    void SGStockClick();
    // The connection's state in the status panel; a lost connection is retried once at once.
    void TDXConnected();
    void TDXDisConnected(TTDXManager& client);
    // Whether a click on the status panel should open the start dialog to reconnect.
    bool pnlSTBar_40OffersReconnect() const;

    // One tick of the one-second polling timer.
    void DPTimerTimer(TTDXManager& client);
    // Steps of it that a row selection runs too.
    void DrawSidePanels();

private:
    void snapshotOfCurrentStock(const TTDX_PKDAT& r);
    void latestTrades(const std::string& code, std::span<const TTDX_DEALInfo> data);
    void animateNetwork(bool connected);
};

// The band around the open and where the price stands in it: 1 at the bottom, 11 at the
// open, 21 at the top. No value without a band (a band value of 0).
std::optional<int> SignalNumber(float prevClose, float open, float price, float bandValue);

// "走势不明,..." and its kin for a 买卖空间 s and 买卖风险 r; empty when none applies.
std::string TrendComment(float s, float r);

// A volume as the quote table shows it: whole lots up to 90000, else in 万 with one decimal.
std::string VolumeText(double lots);
