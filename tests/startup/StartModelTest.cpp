// SPDX-License-Identifier: GPL-3.0-or-later
// The start dialog's server list and remembered choice, and the connect sequence against tdxsim.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>

#include "../support/TdxsimProcess.h"
#include "FileIo.h"
#include "Gbk.h"
#include "IniFile.h"
#include "RealTimeSession.h"
#include "pasCommon.h"
#include "StartModel.h"

namespace {

std::string reversedGbk(std::string_view utf8) { return ReverseText(gbk::fromUtf8(utf8)); }

struct StartFixture : ::testing::Test {
    QTemporaryDir folder;
    std::filesystem::path path(const char* name) const { return std::filesystem::path(folder.path().toStdString()) / name; }
    void servers(const std::string& bytes) { ASSERT_TRUE(fileio::writeFileAtomically(path("connect.cfg"), bytes).isOk()); }
    void id(const char* value) { ASSERT_TRUE(IniFile(path("config.ini")).writeString("SeverID", "ID", value).isOk()); }
};

}  // namespace

TEST(ServerList, LinesAreReversedAndSplitAtTheFirstColon) {
    const std::string file = reversedGbk("本机:127.0.0.1") + "\r\n" + reversedGbk("10.0.0.9") + "\n" +
                             reversedGbk("ipv6:fe80::1") + "\r" + reversedGbk("last:host.example");
    const std::vector<ServerEntry> expected = {
        {"本机", "127.0.0.1"}, {"", "10.0.0.9"}, {"ipv6", "fe80::1"}, {"last", "host.example"}};
    EXPECT_EQ(ParseServerList(file), expected);
    EXPECT_EQ(ParseServerList(file + "\r\n"), expected) << "a last line break adds no entry";
    EXPECT_TRUE(ParseServerList("").empty());
}

TEST_F(StartFixture, TheRememberedServerIsPreselected) {
    servers(reversedGbk("a:1.1.1.1") + "\r\n" + reversedGbk("b:2.2.2.2") + "\r\n" + reversedGbk("c:3.3.3.3") + "\r\n");
    struct Case {
        const char* id;
        int selected;
    } cases[] = {{"1", 1}, {"26", 0}, {"3", 0}, {"-1", -1}, {"abc", 0}, {" 2 ", 2}};
    for (const Case& c : cases) {
        id(c.id);
        TfrmStartModel start(folder.path().toStdString());
        start.FormCreate();
        EXPECT_EQ(start.servers.size(), 3u);
        EXPECT_EQ(start.cmbHostIndex, c.selected) << c.id;
    }
    std::filesystem::remove(path("connect.cfg"));
    TfrmStartModel none(folder.path().toStdString());
    none.FormCreate();
    EXPECT_TRUE(none.servers.empty());
    EXPECT_EQ(none.cmbHostIndex, -1);
}

TEST_F(StartFixture, LoginRemembersTheChoiceAndConnects) {
    TdxsimProcess server;
    ASSERT_GT(server.port(), 0);
    servers(reversedGbk("far away:192.0.2.1") + "\r\n" + reversedGbk("本机:127.0.0.1") + "\r\n");
    id("1");
    MainModel model;
    RealTimeSession session(model);
    session.client().Port = server.port();
    session.start();
    TfrmStartModel start(folder.path().toStdString());
    start.FormCreate();
    ASSERT_EQ(start.cmbHostIndex, 1);
    int refreshed = 0;
    start.LoginStep02 = [&](MainModel&) {
        ++refreshed;
        throw std::runtime_error("no analysis data");  // swallowed: the login goes on
    };
    EXPECT_TRUE(start.btnLoginClick(model, session.client()));
    EXPECT_EQ(refreshed, 1);
    EXPECT_TRUE(model.LoginFlag);
    EXPECT_EQ(session.client().Host, "127.0.0.1");
    EXPECT_EQ(IniFile(path("config.ini")).readString("SeverID", "ID", ""), "1");
    EXPECT_EQ(model.MarketInitCounter, 2);
    EXPECT_EQ(model.start.pnl_1, "");
    EXPECT_EQ(model.start.InitProgress, 0);
    EXPECT_GT(model.IndexPrevClose[0], 1000.0f) << "999999 from the Shanghai directory";
    EXPECT_GT(model.IndexPrevClose[1], 1000.0f) << "399001 from the Shenzhen directory";

    start.cmbHostKeyPress(model);
    EXPECT_EQ(model.start.pnl_1, "请选择最近的服务器!");
}

TEST(ConnectSequence, GivesUpWhenTheServerDoesNotAnswer) {
    for (const bool listening : {true, false}) {
        SCOPED_TRACE(listening ? "a stalled server" : "nobody listening");
        TdxsimProcess stalled({QStringLiteral("--stall")});
        MainModel model;
        RealTimeSession session(model);
        session.client().Port = listening ? stalled.port() : 1;
        session.start();
        QElapsedTimer timer;
        timer.start();
        EXPECT_FALSE(LoginStep03(model, session.client(), 500));
        EXPECT_GE(timer.elapsed(), 500);
        EXPECT_EQ(model.start.pnl_1, "连接超时!!!...");
        EXPECT_EQ(model.MarketInitCounter, 0);
    }
}
