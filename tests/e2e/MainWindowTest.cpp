// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's windows against tdxsim: login through the start dialog, the
// watch list's flows after the first refresh cycle, a screenshot, and a server that goes
// away and comes back.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "../support/ReferenceFlow.h"
#include "../support/ScriptedServer.h"
#include "../support/TdxsimProcess.h"
#include "FileIo.h"
#include "GridView.h"
#include "PanelWidget.h"
#include "RichLines.h"
#include "MessageBox.h"
#include "Program.h"
#include "SingleInstance.h"
#include "pasDataDL.h"
#include "pasMain.h"
#include "pasStart.h"

namespace {

struct MainWindowFixture : ::testing::Test {
    QTemporaryDir folder;
    std::unique_ptr<TdxsimProcess> server;
    std::unique_ptr<TikvaneProgram> program;
    int logins = 0;

    void SetUp() override {
        ASSERT_TRUE(TdxsimProcess::run({QStringLiteral("--write-sample"), folder.path()}));
        server = std::make_unique<TdxsimProcess>(QStringList{QStringLiteral("--at"), QStringLiteral("14:30")});
        ASSERT_GT(server->port(), 0);
        program = std::make_unique<TikvaneProgram>(folder.path().toStdString());
        program->session.client().Port = server->port();
        // The user: presses the start dialog's login button whenever it opens.
        program->frmMain->showStartDialog = [this] {
            ++logins;
            QTimer::singleShot(0, [this] { program->frmStart->btnLogin->click(); });
            program->frmStart->exec();
        };
        program->start();
    }
    TextGrid& quote() { return program->model.quote.SGStock; }
    void clickRow(int row) {
        GridView* view = program->frmMain->SGStock;
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cellRect(1, row).center());
    }
};

}  // namespace

TEST_F(MainWindowFixture, LogsInAndShowsTheWatchListsFlows) {
    ASSERT_TRUE(pumpUntil([&] { return program->model.MarketInitCounter == 2; }, 20000)) << "logged in";
    EXPECT_EQ(logins, 1);
    EXPECT_EQ(program->frmStart->cmbHost->currentText(), QStringLiteral("本机模拟行情"));
    clickRow(2);
    EXPECT_EQ(program->model.quote.CurrentCode, "002155");
    const auto expectedCount = [&](const std::string& code) {
        return std::to_string(std::min<std::size_t>(6000, groundTruth(code.c_str(), "14:30").size()));
    };
    std::map<int, std::string> counts;
    for (int row = 2; row <= 6; ++row) counts[row] = expectedCount(quote().cell(1, row));
    ASSERT_TRUE(pumpUntil([&] {
        for (int row = 2; row <= 6; ++row)
            if (quote().cell(135, row) != counts[row]) return false;
        return !program->model.redit1.empty() && !program->model.pnlSTBar_11.caption.empty();
    }, 30000));
    pumpUntil([] { return false; }, 400);  // the views follow the model a fifth of a second later

    for (int row = 2; row <= 6; ++row) {
        const std::string code = quote().cell(1, row);
        const std::vector<GroundTruthTrade> day = groundTruth(code.c_str(), "14:30");
        ReferenceRow reference(*numbers::parseFloat(quote().cell(15, row)));
        for (std::size_t i = day.size() - std::stoul(counts[row]); i < day.size(); ++i) reference.book(day[i]);
        for (const int c : {42, 43, 44, 46, 94, 95, 96, 97, 118, 122, 134, 135})
            EXPECT_EQ(quote().cell(c, row), reference.text(c)) << code << " column " << c;
        EXPECT_EQ(quote().cell(4, row), numbers::formatFixed(day.back().price / 1000.0, 2)) << code;
    }
    TfrmMain& w = *program->frmMain;
    EXPECT_EQ(w.pnl_1_0_0->caption(), QStringLiteral("002155 "));
    EXPECT_EQ(w.pnlSTBar_10->caption(), QStringLiteral("上证 "));
    EXPECT_FALSE(w.pnlSTBar_21->caption().isEmpty());
    EXPECT_EQ(w.redit1->lines().size(), 20u);

    // The offscreen screen is smaller than a desktop: the picture is taken at the window's own size.
    w.showNormal();
    w.resize(1024, 641);
    pumpUntil([] { return false; }, 400);
    const QString shots = QStringLiteral(SCREENSHOT_DIR);
    QDir().mkpath(shots);
    EXPECT_TRUE(w.grab().save(shots + QStringLiteral("/main-window.png")));
}

TEST_F(MainWindowFixture, PanelItemsFollowTheirPanels) {
    ASSERT_TRUE(pumpUntil([&] { return program->model.MarketInitCounter == 2; }, 20000));
    TfrmMain& w = *program->frmMain;
    for (const auto& [tag, panel] : {std::pair{53, w.pnl_3}, {54, w.pnl_2_1}, {55, w.pnl_1}, {56, w.pnlBottom}}) {
        ASSERT_TRUE(panel->isVisible()) << tag;
        w.mmClickAll(tag);
        EXPECT_FALSE(panel->isVisible()) << tag;
        w.mmClickAll(tag);
        EXPECT_TRUE(panel->isVisible()) << tag;
    }
}

TEST_F(MainWindowFixture, TheCompanionAndTheHelpComeFromTheProgramsFolder) {
    TfrmMain& w = *program->frmMain;
    std::vector<QString> started, opened;
    std::vector<std::string> said;
    w.startProgram = [&](const QString& p) {
        started.push_back(p);
        return false;  // as when the file is missing
    };
    w.openUrl = [&](const QUrl& u) {
        opened.push_back(u.toString());
        return true;
    };
    const MessageBoxHook previous = setMessageBoxHook([&](const MessageBoxRequest& r) {
        said.push_back(r.text);
        return MessageAnswer::Ok;
    });
    w.mmClickAll(59);
    ASSERT_EQ(started, std::vector<QString>{folder.path() + QStringLiteral("/borvix")});
    w.mmClickAll(61);
    EXPECT_TRUE(opened.empty()) << "no help file yet";
    ASSERT_EQ(said.size(), 2u);
    EXPECT_TRUE(said[0].starts_with("无法启动窗口精灵: "));
    EXPECT_TRUE(said[1].starts_with("找不到帮助文件: "));

    const auto touch = [&](const char* name) { ASSERT_TRUE(fileio::writeFileAtomically(program->programFolder / name, "x").isOk()); };
    touch("help.html");
    w.mmClickAll(61);
    touch("help.chm");
    w.mmClickAll(61);
    w.mmClickAll(63);
    setMessageBoxHook(previous);
    const QString base = QUrl::fromLocalFile(folder.path()).toString();
    EXPECT_EQ(opened, (std::vector<QString>{base + QStringLiteral("/help.html"), base + QStringLiteral("/help.chm"),
                                            QStringLiteral("https://www.vexlora.example")}));
    EXPECT_EQ(said.size(), 2u);
}

TEST_F(MainWindowFixture, TheExitQuestionsOkDownloadsTheDayLinesWhileThePollingWaits) {
    ASSERT_TRUE(pumpUntil([&] { return program->model.MarketInitCounter == 2 && !quote().cell(4, 2).empty(); }, 20000));
    TfrmMain& w = *program->frmMain;
    TfrmDataDL& dialog = *program->frmDataDL;
    const TfrmDataDLModel& download = program->dataDLModel;
    std::vector<MessageBoxRequest> asked;
    const MessageBoxHook previous = setMessageBoxHook([&](const MessageBoxRequest& r) {
        asked.push_back(r);
        return MessageAnswer::Ok;  // download the day data first
    });
    bool quiet = true;
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(dialog.isModal() && dialog.isVisible());
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("盘后数据下载"));
        EXPECT_FALSE(program->model.DayDownloadRunning);
        dialog.btnDownLD->click();
        EXPECT_TRUE(program->model.DayDownloadRunning);
        // Requests go out in order: once the first day lines are in, nothing asked before is left.
        EXPECT_TRUE(pumpUntil([&] { return download.ReplyCounter >= 1; }, 20000));
        quote().setCell(4, 2, "0.01");  // a price no snapshot gives
        EXPECT_TRUE(pumpUntil([&] { return download.ReplyCounter >= 12; }, 20000));
        pumpUntil([] { return false; }, 300);
        quiet = quote().cell(4, 2) == "0.01";  // no snapshot was asked for meanwhile
        EXPECT_GE(dialog.memLog->blockCount(), 12);
        EXPECT_TRUE(dialog.memLog->toPlainText().startsWith(QStringLiteral("F05:  ")));
        EXPECT_EQ(dialog.DLProgress->value(), download.DLProgress);
        dialog.btnClose->click();
    });
    EXPECT_FALSE(w.close());
    setMessageBoxHook(previous);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, kExitQuestion);
    EXPECT_EQ(asked[0].buttons, MessageButtons::OkCancel);
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(quiet) << "the polling loop waits while the download runs";
    EXPECT_FALSE(program->model.DayDownloadRunning);
    EXPECT_TRUE(std::filesystem::exists(program->programFolder / "data" / "000001.dat"));
    // and asks for snapshots again after it, behind the day lines still queued.
    EXPECT_TRUE(pumpUntil([&] {
        const std::vector<TTDX_MSG> pending = program->session.client().PendingMsgs();
        return std::ranges::any_of(pending, [](const TTDX_MSG& m) { return m.MsgType == CMD_PKDAT; });
    }, 5000));

    // The menu item opens the same dialog; closing it by its title bar ends the download state too.
    QTimer::singleShot(0, [&] {
        dialog.btnDownLD->click();
        dialog.close();
    });
    w.mmClickAll(12);
    EXPECT_FALSE(program->model.DayDownloadRunning);
}

TEST_F(MainWindowFixture, TheExitQuestionsCancelEndsTheProcessASecondLater) {
    TfrmMain& w = *program->frmMain;
    std::optional<int> code;
    QElapsedTimer sinceClose;
    qint64 after = 0;
    w.terminateProcess = [&](int c) {
        code = c;
        after = sinceClose.elapsed();
    };
    const MessageBoxHook previous = setMessageBoxHook([](const MessageBoxRequest&) { return MessageAnswer::Cancel; });
    sinceClose.start();
    EXPECT_TRUE(w.close());
    setMessageBoxHook(previous);
    EXPECT_EQ(code, -1);
    EXPECT_GE(after, 1000);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(MainWindowFixture, ReconnectsWhenTheServerReturns) {
    ASSERT_TRUE(pumpUntil([&] { return program->model.MarketInitCounter == 2; }, 20000));
    const int port = server->port();
    server.reset();  // the server goes away
    ASSERT_TRUE(pumpUntil([&] {
        return program->frmMain->pnlSTBar_40->caption() == QStringLiteral("已断开,点击此处重新连接服务器.");
    }, 10000));
    EXPECT_FALSE(program->session.client().Connected()) << "the one reconnect found nobody";

    server = std::make_unique<TdxsimProcess>(
        QStringList{QStringLiteral("--at"), QStringLiteral("14:30"), QStringLiteral("--port"), QString::number(port)});
    ASSERT_EQ(server->port(), port);
    quote().setCell(4, 2, "");
    // Clicking the status panel opens the start dialog, which logs in again.
    QTest::mouseClick(program->frmMain->pnlSTBar_40, Qt::LeftButton);
    EXPECT_EQ(logins, 2);
    EXPECT_TRUE(program->session.client().Connected());
    EXPECT_TRUE(pumpUntil([&] { return !quote().cell(4, 2).empty(); }, 10000)) << "polling goes on";
}

TEST(ProgramEntry, ASecondCopySaysTheFirstIsRunning) {
    std::vector<MessageBoxRequest> shown;
    const MessageBoxHook previous = setMessageBoxHook([&](const MessageBoxRequest& r) {
        shown.push_back(r);
        return MessageAnswer::Ok;
    });
    const std::string name = "vexloratikvane-test-" + std::to_string(QCoreApplication::applicationPid());
    const auto first = ClaimSingleInstance(name);
    ASSERT_TRUE(first);
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(ClaimSingleInstance(name));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Vexlora股票资金分析系统正在运行中...");
    EXPECT_EQ(shown[0].caption, "提示信息");
    EXPECT_EQ(shown[0].icon, MessageIcon::Information);
    setMessageBoxHook(previous);
}
