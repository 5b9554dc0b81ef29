// SPDX-License-Identifier: GPL-3.0-or-later
// The day-data download of the whole sample market from tdxsim: which stocks get a file,
// that the files hold tdxsim's day lines, the log and the bar at the end, the polling
// loop quiet meanwhile; and tikvane-cli days.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <set>

#include "../support/ScriptedServer.h"
#include "../support/TdxsimProcess.h"
#include "DataDLModel.h"
#include "Numbers.h"
#include "RealTimeSession.h"
#include "StartModel.h"
#include "StockDirectory.h"
#include "StockFile.h"
#include "StockModel.h"
#include "SyntheticMarket.h"
#include "Responder.h"

namespace {

// tdxsim's defaults, so the market drawn here is the one it serves.
constexpr std::uint64_t kSeed = 1;
constexpr int kDate = 20261211;

struct DayDownload : ::testing::Test {
    QTemporaryDir folder;
    TdxsimProcess server;
    std::filesystem::path root() const { return folder.path().toStdString(); }

    void SetUp() override {
        ASSERT_GT(server.port(), 0);
        ASSERT_TRUE(TdxsimProcess::run({QStringLiteral("--write-sample"), folder.path()}));
    }
};

// Every record of a day file against the day lines tdxsim serves: the latest 100 without
// the oldest, which only gives the first record its previous close.
void expectDayFile(const std::filesystem::path& file, const Security& s, const std::vector<DayBar>& bars) {
    TDataFile f(file.string());
    ASSERT_EQ(f.GetCount(), 99);
    const std::size_t first = bars.size() - 99;
    for (int i = 0; i < f.GetCount(); ++i) {
        const DayBar& b = bars[first + static_cast<std::size_t>(i)];
        const DayBar& before = bars[first + static_cast<std::size_t>(i) - 1];
        const DayRecord r = readDayRecord(f.GetRecord(i));
        const int y = static_cast<int>(b.date / 10000), m = static_cast<int>(b.date / 100 % 100);
        ASSERT_EQ(r.Date, DayNumber(y, m, static_cast<int>(b.date % 100))) << i;
        ASSERT_FLOAT_EQ(r.Open, static_cast<float>(b.open / 100.0)) << i;
        ASSERT_FLOAT_EQ(r.High, static_cast<float>(b.high / 100.0)) << i;
        ASSERT_FLOAT_EQ(r.Low, static_cast<float>(b.low / 100.0)) << i;
        ASSERT_FLOAT_EQ(r.Close, static_cast<float>(b.close / 100.0)) << i;
        ASSERT_FLOAT_EQ(r.PrevClose, static_cast<float>(before.close / 100.0)) << i;
        ASSERT_FLOAT_EQ(r.Volume, static_cast<float>(b.volume)) << i;
        ASSERT_NEAR(r.Amount, b.amount, b.amount * 1e-6 + 1) << i;
        ASSERT_NEAR(r.ChangePct, (b.close - before.close) * 100.0 / before.close, 0.0051) << i;
        ASSERT_NEAR(r.Amplitude, (b.high - b.low) * 100.0 / b.low, 0.0051) << i;
        ASSERT_EQ(r.Reserved, 0u);
        ASSERT_FLOAT_EQ(r.FloatShares, static_cast<float>(std::round(s.floatShares)));
    }
}

}  // namespace

TEST_F(DayDownload, EveryStockWithDayLinesGetsTdxsimsHistory) {
    MainModel model;
    model.InitTables(140, [](std::string_view t) { return static_cast<int>(t.size()) * 7; });
    TfrmStockModel directory(root());
    ASSERT_TRUE(directory.btnLoadClick(model.quote).isOk());
    RealTimeSession session(model);
    TTDXManager& client = session.client();
    client.Port = server.port();
    // Requests go out as soon as each reply is in; the window's 100 ms beat would make the
    // whole market take minutes.
    QTimer send;
    QObject::connect(&send, &QTimer::timeout, [&] { client.Run(); });
    send.start(1);
    ASSERT_TRUE(LoginStep03(model, client));
    model.LoginFlag = true;

    TfrmDataDLModel download(root(), directory.SGStock, directory.index, model.DayDownloadRunning);
    client.OnDecodePacket_DAYS = [&](TCallBackStockInfo& info, std::span<const TTDX_DAYInfo> days, int, int) {
        download.TDXDecodePacket_DAYS(info, days);
    };
    const TextGrid& table = directory.SGStock;
    std::set<std::string> expected, skipped;
    std::string lastRequested;
    for (int row = 0; row < table.rowCount(); ++row) {
        const std::string code(numbers::trim(table.cell(kDirectoryCodeColumn, row)));
        const bool requested = HasDayLines(table, row) && DayRequestOfCode(code);
        (requested ? expected : skipped).insert(code);
        if (requested) lastRequested = code;
    }
    ASSERT_GT(expected.size(), 4000u);
    ASSERT_TRUE(skipped.contains("999999") && skipped.contains("000300")) << "indices have no band value";

    EXPECT_EQ(download.btnDownLDClick(client), static_cast<int>(expected.size()));
    // The polling loop stays quiet: what the client sends is day lines only.
    QTimer polling;
    bool onlyDays = true;
    QObject::connect(&polling, &QTimer::timeout, [&] {
        model.DPTimerTimer(client);
        for (const TTDX_MSG& m : client.PendingMsgs()) onlyDays = onlyDays && m.MsgType == CMD_DAYS;
    });
    polling.start(20);
    ASSERT_TRUE(pumpUntil([&] { return !client.Busy() && client.PendingMsgs().empty(); }, 600000));
    polling.stop();
    EXPECT_TRUE(onlyDays);

    EXPECT_EQ(download.ReplyCounter, static_cast<int>(expected.size()));
    EXPECT_EQ(download.DLProgress, std::lround(expected.size() * 100.0 / table.rowCount()));
    EXPECT_LT(download.DLProgress, 100) << "the skipped rows count in the denominator";
    ASSERT_EQ(download.memLog.size(), 30u);
    EXPECT_TRUE(download.memLog.back().ends_with("-------------------------" + lastRequested));

    std::set<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(root() / "data"))
        files.insert(entry.path().stem().string());
    EXPECT_EQ(files, expected);

    const SyntheticMarket market(kSeed, kDate);
    int checked = 0;
    for (int m = 0; m < 2; ++m)
        for (const Security& s : market.securities(m)) {
            if (!expected.contains(s.code)) continue;
            SCOPED_TRACE(s.code);
            expectDayFile(root() / "data" / (s.code + ".dat"), s, market.daysAt(s, Responder::kAfterClose));
            ++checked;
        }
    EXPECT_EQ(checked, static_cast<int>(expected.size()));

    // Closed: the next tick polls again.
    download.btnCloseClick();
    model.DPTimerTimer(client);
    EXPECT_FALSE(client.PendingMsgs().empty());
}

TEST_F(DayDownload, TheCommandLineWritesTheGivenCodes) {
    QProcess cli;
    cli.start(QStringLiteral(TIKVANE_CLI_PATH),
              {QStringLiteral("days"), QStringLiteral("--host"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
               QString::number(server.port()), QStringLiteral("--folder"), folder.path(), QStringLiteral("600489"),
               QStringLiteral("000001"), QStringLiteral("300999"), QStringLiteral("123456")});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(cli.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("-------------------------600489  99 records")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("-------------------------000001  99 records")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("tikvane-cli: 3 requests, 2 replies with day lines: 2 files written")))
        << "300999 is unknown to tdxsim, which answers with no day lines";
    EXPECT_TRUE(QString::fromUtf8(cli.readAllStandardError()).contains(QStringLiteral("123456 is no Shenzhen or Shanghai")));

    const SyntheticMarket market(kSeed, kDate);
    const Security* s = market.find(1, "600489");
    ASSERT_NE(s, nullptr);
    expectDayFile(root() / "data" / "600489.dat", *s, market.daysAt(*s, Responder::kAfterClose));
}
