// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataDLModel.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <cmath>

#include "GuiThread.h"
#include "Hashes.h"
#include "Numbers.h"
#include "StockDirectory.h"
#include "TextGrid.h"
#include "usockTDXManager.h"

namespace {

std::string localTimestamp() {
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    return (locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
            now.time().toString(QStringLiteral("HH:mm:ss")))
        .toStdString();
}

}  // namespace

std::optional<DayRequest> DayRequestOfCode(std::string_view code) {
    if (code.empty()) return std::nullopt;
    if (code[0] == '0' || code[0] == '3') return DayRequest{std::string(code) + "SZ", 0};
    if (code[0] == '6' || code[0] == '9') return DayRequest{std::string(code) + "SH", 1};
    return std::nullopt;
}

TfrmDataDLModel::TfrmDataDLModel(std::filesystem::path programFolder, const TextGrid& directory,
                                 const TIntegerHash& codeIndex, bool& dayDownloadRunning)
    : processMessages(&ProcessMessages),
      timestamp(&localTimestamp),
      m_folder(std::move(programFolder)),
      m_directory(directory),
      m_index(codeIndex),
      m_running(dayDownloadRunning) {}

int TfrmDataDLModel::btnDownLDClick(TTDXManager& client) {
    m_running = true;
    ReplyCounter = 0;
    DLProgress = 0;
    int queued = 0;
    for (int row = 0; row < m_directory.rowCount(); ++row) {
        if (!HasDayLines(m_directory, row)) continue;
        if (const auto request = DayRequestOfCode(numbers::trim(m_directory.cell(kDirectoryCodeColumn, row)))) {
            client.Request_DAYS(request->key, request->market, 0, kDaysRequested);
            ++queued;
        }
        if (processMessages) processMessages();
    }
    return queued;
}

void TfrmDataDLModel::btnCloseClick() {
    m_running = false;
    if (processMessages) processMessages();
}

void TfrmDataDLModel::TDXDecodePacket_DAYS(const TCallBackStockInfo& info, std::span<const TTDX_DAYInfo> days) {
    const std::string code(info.Code, sizeof info.Code);
    if (m_writing) {
        m_waiting.push_back({code, {days.begin(), days.end()}});
        return;
    }
    m_writing = true;
    writeReply(code, days);
    while (!m_waiting.empty()) {
        const WaitingReply next = std::move(m_waiting.front());
        m_waiting.pop_front();
        writeReply(next.code, next.days);
    }
    m_writing = false;
}

void TfrmDataDLModel::writeReply(const std::string& code, std::span<const TTDX_DAYInfo> days) {
    const int row = m_index.find(numbers::trim(code));
    std::optional<std::string> floatShares;
    if (row >= 0 && row < m_directory.rowCount()) floatShares = m_directory.cell(kDirectoryFloatSharesColumn, row);
    const DayFileOutcome outcome = WriteDayFile(m_folder, code, days, floatShares, memTxt, processMessages);
    // A reply that could not be converted is dropped without a word, as a failed write always was.
    if (outcome.kind != DayFileOutcome::KeptOld) ReportProgress(code);
    if (replyWritten) replyWritten(code, outcome);
}

void TfrmDataDLModel::ReportProgress(std::string_view code) {
    memLog.push_back("F05:  " + timestamp() + "-------------------------" + std::string(code.substr(0, 6)));
    if (static_cast<int>(memLog.size()) > kLogLines) memLog.pop_front();
    ++ReplyCounter;
    const int rows = m_directory.rowCount();
    if (rows <= 0) return;
    const int position = static_cast<int>(std::lround(ReplyCounter * 100.0 / rows));
    DLProgress = std::min(position, 100);
}
