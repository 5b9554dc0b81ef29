// SPDX-License-Identifier: GPL-3.0-or-later
// The download's requests, log and progress, and its reply handler's turn-taking.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstring>

#include "DataDLModel.h"
#include "Hashes.h"
#include "StockDirectory.h"
#include "StockFile.h"
#include "TextGrid.h"
#include "usockTDXManager.h"

namespace {

TCallBackStockInfo stock(const char* code) {
    TCallBackStockInfo info{};
    std::memcpy(info.Code, code, 6);
    return info;
}

std::vector<TTDX_DAYInfo> days(int n) {
    std::vector<TTDX_DAYInfo> out(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        TTDX_DAYInfo& d = out[static_cast<std::size_t>(i)];
        d.Date = 20260105 + static_cast<std::uint32_t>(i);
        d.Open = d.Close = 10.0f + static_cast<float>(i);
        d.High = d.Open + 1;
        d.Low = d.Open - 1;
    }
    return out;
}

// A directory of (code, band value, float shares) rows.
struct Download : ::testing::Test {
    QTemporaryDir folder;
    TextGrid directory{8, 0};
    TIntegerHash index;
    bool running = false;
    std::optional<TfrmDataDLModel> model;

    void setDirectory(std::initializer_list<std::array<const char*, 3>> rows) {
        directory.setRowCount(static_cast<int>(rows.size()));
        int r = 0;
        for (const auto& [code, band, shares] : rows) {
            directory.setCell(kDirectoryCodeColumn, r, code);
            directory.setCell(kDirectoryBandColumn, r, band);
            directory.setCell(kDirectoryFloatSharesColumn, r, shares);
            ++r;
        }
        indexStockDirectory(directory, index);
        model.emplace(folder.path().toStdString(), directory, index, running);
        model->processMessages = nullptr;
        model->timestamp = [] { return std::string("2026-12-11 15:30:00"); };
    }
    std::filesystem::path file(const char* code) const {
        return std::filesystem::path(folder.path().toStdString()) / "data" / (std::string(code) + ".dat");
    }
};

}  // namespace

TEST_F(Download, RequestsTheStocksWithBandValueAndFloatShares) {
    setDirectory({{"000001", "5.2", "98000"},
                  {"300750", "4.0", " 1200 "},
                  {"600489", "3.1", "0"},  // no float shares
                  {"999999", "", "0"},     // an index
                  {"510050", "", "5000"},  // a fund without band value
                  {"900901", "2.0", "300"},
                  {"200012", "2.0", "300"},  // B shares of Shenzhen begin with 2: not requested
                  {"", "2.0", "300"},
                  {"688001", " 1.5", "700"}});
    TTDXManager client;
    EXPECT_EQ(model->btnDownLDClick(client), 4);
    EXPECT_TRUE(running);
    const std::vector<TTDX_MSG> expected = {{CMD_DAYS, "000001SZ", 0, 0, 100},
                                            {CMD_DAYS, "300750SZ", 0, 0, 100},
                                            {CMD_DAYS, "900901SH", 1, 0, 100},
                                            {CMD_DAYS, "688001SH", 1, 0, 100}};
    EXPECT_EQ(client.PendingMsgs(), expected);

    // Pressed again: the queue holds each request once and the count starts over.
    model->TDXDecodePacket_DAYS(stock("000001"), days(3));
    ASSERT_EQ(model->ReplyCounter, 1);
    EXPECT_EQ(model->btnDownLDClick(client), 4);
    EXPECT_EQ(client.PendingMsgs(), expected);
    EXPECT_EQ(model->ReplyCounter, 0);
    EXPECT_EQ(model->DLProgress, 0);

    model->btnCloseClick();
    EXPECT_FALSE(running);
}

TEST_F(Download, LogsThirtyRepliesAndCountsAgainstEveryDirectoryRow) {
    setDirectory({{"000001", "5.2", "98000"}, {"000002", "5.2", "bad"}, {"999999", "", ""}});
    std::vector<std::pair<std::string, DayFileOutcome::Kind>> told;
    model->replyWritten = [&](const std::string& code, const DayFileOutcome& o) { told.emplace_back(code, o.kind); };

    model->TDXDecodePacket_DAYS(stock("000001"), days(5));
    EXPECT_EQ(model->memLog.back(), "F05:  2026-12-11 15:30:00-------------------------000001");
    EXPECT_EQ(model->DLProgress, 33);  // 1 of 3 rows, the index row included
    EXPECT_EQ(TDataFile(file("000001").string()).GetCount(), 4);

    // An unreadable float-share cell: no log line, no progress, nothing written.
    model->TDXDecodePacket_DAYS(stock("000002"), days(5));
    EXPECT_EQ(model->ReplyCounter, 1);
    EXPECT_FALSE(std::filesystem::exists(file("000002")));
    // A code the directory does not know writes nothing but is logged and counted.
    model->TDXDecodePacket_DAYS(stock("600000"), days(5));
    EXPECT_EQ(model->ReplyCounter, 2);
    EXPECT_EQ(model->DLProgress, 67);
    EXPECT_EQ(told.size(), 3u);
    EXPECT_EQ(told[1].second, DayFileOutcome::KeptOld);
    EXPECT_EQ(told[2].second, DayFileOutcome::Removed);

    for (int i = 3; i <= 31; ++i) {
        model->timestamp = [i] { return "#" + std::to_string(i); };
        model->TDXDecodePacket_DAYS(stock("000001"), days(3));
    }
    ASSERT_EQ(model->memLog.size(), 30u);
    EXPECT_TRUE(model->memLog.front().starts_with("F05:  2026-12-11")) << "reply 2 first, reply 1 gone";
    EXPECT_TRUE(model->memLog.back().starts_with("F05:  #31"));
    EXPECT_EQ(model->ReplyCounter, 31);
    EXPECT_EQ(model->DLProgress, 100) << "capped";
}

TEST_F(Download, AReplyArrivingDuringAWriteWaitsItsTurn) {
    setDirectory({{"000001", "5.2", "98000"}, {"600489", "3.1", "5000"}});
    // The writer's message pump delivers the second reply in the middle of the first.
    bool delivered = false;
    model->processMessages = [&] {
        if (delivered) return;
        delivered = true;
        model->TDXDecodePacket_DAYS(stock("600489"), days(10));
        EXPECT_EQ(model->ReplyCounter, 0) << "not written inside the first write";
    };
    model->TDXDecodePacket_DAYS(stock("000001"), days(20));
    EXPECT_EQ(model->ReplyCounter, 2);
    EXPECT_TRUE(model->memLog.front().ends_with("000001"));
    EXPECT_TRUE(model->memLog.back().ends_with("600489"));
    EXPECT_EQ(TDataFile(file("000001").string()).GetCount(), 19);
    EXPECT_EQ(TDataFile(file("600489").string()).GetCount(), 9);
    ASSERT_EQ(model->memTxt.size(), 10u);
    EXPECT_TRUE(model->memTxt[0].starts_with("20260105:600489:"));
}
