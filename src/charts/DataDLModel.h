// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "DayFileWriter.h"
#include "TDXAsm.h"
#include "TDXEDCode.h"

class TextGrid;
class TIntegerHash;
class TTDXManager;

// The day-line request of a stock: the key (code + "SZ" or "SH") and the market (0
// Shenzhen, 1 Shanghai), chosen by the code's first digit; nothing for other codes.
struct DayRequest {
    std::string key;
    std::uint32_t market;
};
std::optional<DayRequest> DayRequestOfCode(std::string_view code);

// The post-market day-data download ("盘后数据下载") without its widgets. Starting it
// queues the latest 100 day lines of every stock of the directory that has a band value
// and float shares; the replies arrive later through TDXDecodePacket_DAYS, which writes
// each stock's day file and reports it in the log and the progress bar. While the
// download runs the shared flag (the main window's DayDownloadRunning) keeps the polling
// loop quiet.
class TfrmDataDLModel {
public:
    static constexpr int kLogLines = 30;
    static constexpr std::uint32_t kDaysRequested = 100;

    TfrmDataDLModel(std::filesystem::path programFolder, const TextGrid& directory, const TIntegerHash& codeIndex,
                    bool& dayDownloadRunning);

    std::deque<std::string> memLog;
    int DLProgress = 0;             // 0..100
    std::vector<std::string> memTxt;  // the text lines of the reply being written
    int ReplyCounter = 0;           // replies handled since the last start

    // Lets pending GUI events run (after each queued request and each rendered line).
    std::function<void()> processMessages;
    // The log line's date and time; the local short date and the time by default.
    std::function<std::string()> timestamp;
    // Told after each reply with what became of the stock's day file.
    std::function<void(const std::string& code, const DayFileOutcome&)> replyWritten;

    void FormCreate() { m_running = false; }
    void FormClose() { m_running = false; }
    bool running() const { return m_running; }

    // Queues the requests; returns how many.
    int btnDownLDClick(TTDXManager& client);
    // Stops the download state (the window closes itself).
    void btnCloseClick();

    // The day-line reply handler. A reply arriving while another is being written (its
    // message pump lets replies in) waits and is written right after it.
    void TDXDecodePacket_DAYS(const TCallBackStockInfo& info, std::span<const TTDX_DAYInfo> days);

    // One handled reply in the log and the progress bar.
    void ReportProgress(std::string_view code);

private:
    struct WaitingReply {
        std::string code;
        std::vector<TTDX_DAYInfo> days;
    };
    void writeReply(const std::string& code, std::span<const TTDX_DAYInfo> days);

    std::filesystem::path m_folder;
    const TextGrid& m_directory;
    const TIntegerHash& m_index;
    bool& m_running;
    bool m_writing = false;
    std::deque<WaitingReply> m_waiting;
};
