// SPDX-License-Identifier: GPL-3.0-or-later
// The real-time core against tdxsim at a fixed clock: after the first tick refresh cycle
// the watch list's flow columns are what the day's trades give, computed here on their
// own from tdxsim --ground-truth, and tikvane-cli watch prints the same rows.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "../support/ScriptedServer.h"
#include "../support/ReferenceFlow.h"
#include "../support/TdxsimProcess.h"
#include "Numbers.h"
#include "RealTimeSession.h"
#include "StartModel.h"
#include "StockModel.h"

namespace {

struct WatchEndToEnd : ::testing::Test {
    QTemporaryDir folder;
    TdxsimProcess server{{QStringLiteral("--at"), QStringLiteral("14:30")}};
    std::map<std::string, std::vector<GroundTruthTrade>> truth;

    void SetUp() override {
        ASSERT_GT(server.port(), 0);
        ASSERT_TRUE(TdxsimProcess::run({QStringLiteral("--write-sample"), folder.path()}));
        for (const char* code : {"002155", "600489", "600030", "600111", "000630"}) truth[code] = groundTruth(code, "14:30");
    }
};

}  // namespace

TEST_F(WatchEndToEnd, FirstRefreshCycleMatchesTheGroundTruth) {
    MainModel model;
    model.InitTables(140, [](std::string_view t) { return static_cast<int>(t.size()) * 7; });
    TfrmStockModel watchList(folder.path().toStdString());
    ASSERT_TRUE(watchList.btnLoadClick(model.quote).isOk());
    RealTimeSession session(model);
    session.client().Port = server.port();
    session.start();
    model.LoginFlag = true;
    ASSERT_TRUE(LoginStep03(model, session.client()));

    TextGrid& grid = model.quote.SGStock;
    const auto expectedCount = [&](int row) { return std::min<std::size_t>(6000, truth[grid.cell(1, row)].size()); };
    model.TickRefreshCounter = 100;  // as selecting a row does: the cycle runs on the next tick
    ASSERT_TRUE(pumpUntil([&] {
        for (int row = 2; row <= 6; ++row)
            if (grid.cell(135, row) != std::to_string(expectedCount(row)) || grid.cell(4, row).empty()) return false;
        return true;
    }, 30000));

    for (int row = 2; row <= 6; ++row) {
        const std::string code = grid.cell(1, row);
        SCOPED_TRACE(code);
        const std::vector<GroundTruthTrade>& day = truth[code];
        ASSERT_GT(day.size(), 1000u);
        ReferenceRow reference(*numbers::parseFloat(grid.cell(15, row)));
        for (std::size_t i = day.size() - expectedCount(row); i < day.size(); ++i) reference.book(day[i]);
        for (int c = 42; c < kQuoteColumnCount; ++c) ASSERT_EQ(grid.cell(c, row), reference.text(c)) << "column " << c;
        for (const int c : {5, 6, 7}) EXPECT_EQ(grid.cell(c, row), reference.text(c)) << "column " << c;

        // The snapshot columns: the day's trades up to the clock.
        int high = 0, low = INT32_MAX;
        long long volume = 0;
        for (const GroundTruthTrade& t : day) {
            high = std::max(high, t.price);
            low = std::min(low, t.price);
            volume += t.volume;
        }
        EXPECT_EQ(grid.cell(4, row), numbers::formatFixed(day.back().price / 1000.0, 2));
        EXPECT_EQ(grid.cell(9, row), numbers::formatFixed(day.front().price / 1000.0, 2));
        EXPECT_EQ(grid.cell(10, row), numbers::formatFixed(high / 1000.0, 2));
        EXPECT_EQ(grid.cell(11, row), numbers::formatFixed(low / 1000.0, 2));
        EXPECT_EQ(grid.cell(13, row), VolumeText(static_cast<double>(volume)));
    }

    // The same server and clock through tikvane-cli watch: the same rows.
    QProcess cli;
    cli.start(QStringLiteral(TIKVANE_CLI_PATH),
              {QStringLiteral("watch"), QStringLiteral("--host"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
               QString::number(server.port()), QStringLiteral("--folder"), folder.path(), QStringLiteral("--seconds"),
               QStringLiteral("8"), QStringLiteral("--every"), QStringLiteral("60"), QStringLiteral("--tsv")});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    QList<QByteArray> lines = cli.readAllStandardOutput().trimmed().split('\n');
    ASSERT_GE(lines.size(), 6);
    lines = lines.mid(lines.size() - 6);
    EXPECT_EQ(lines[0].split('\t').at(135).toStdString(), QuoteColumnTitle(135));
    for (int row = 2; row <= 6; ++row) {
        const QList<QByteArray> cells = lines[row - 1].split('\t');
        ASSERT_EQ(cells.size(), kQuoteColumnCount);
        for (int c = 0; c < kQuoteColumnCount; ++c)
            EXPECT_EQ(cells[c].toStdString(), grid.cell(c, row)) << "row " << row << " column " << c;
    }
}

TEST(WatchCommand, ATimeOutPrintsTheMessageAndFails) {
    TdxsimProcess stalled({QStringLiteral("--stall")});
    QProcess cli;
    cli.start(QStringLiteral(TIKVANE_CLI_PATH), {QStringLiteral("watch"), QStringLiteral("--host"),
                                                 QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
                                                 QString::number(stalled.port()), QStringLiteral("--seconds"),
                                                 QStringLiteral("1")});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(cli.readAllStandardError()).trimmed(), QStringLiteral("连接超时!!!..."));
}
