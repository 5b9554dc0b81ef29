// SPDX-License-Identifier: GPL-3.0-or-later
// The quote client against a real TCP peer on 127.0.0.1.
#include <gtest/gtest.h>

#include <memory>

#include "../support/ReplyFrames.h"
#include "../support/ScriptedServer.h"
#include "MessageBox.h"
#include "usockTDXManager.h"

namespace {

const Bytes kEmptyTicks = replyFrame({0, 0, 0});

class QuoteClient : public ::testing::Test {
protected:
    void SetUp() override {
        TDXDirectories().clear();
        m_previousHook = setMessageBoxHook([this](const MessageBoxRequest& r) {
            messages.push_back(r.caption + ": " + r.text);
            return MessageAnswer::Ok;
        });
    }
    void TearDown() override { setMessageBoxHook(m_previousHook); }

    std::unique_ptr<TTDXManager> client(const ScriptedServer& server) {
        auto c = std::make_unique<TTDXManager>();
        c->Port = server.port();
        c->OnDisConnected = [this] { ++disconnects; };
        return c;
    }
    // Run until `count` requests reached the server and the last reply was decoded.
    static bool runUntil(TTDXManager& c, const ScriptedServer& s, std::size_t count) {
        return pumpUntil([&] {
            c.Run();
            return s.requests().size() >= count && !c.Busy();
        });
    }

    std::vector<std::string> messages;
    int disconnects = 0;

private:
    MessageBoxHook m_previousHook;
};

}  // namespace

TEST_F(QuoteClient, FramesGoOutOneAtATimeAsQueued) {
    ScriptedServer server([](ScriptedServer& s, const Bytes&) { s.reply(kEmptyTicks); });
    auto c = client(server);
    c->Request_DEALS("000630", 0, 4000, 6000);
    c->Request_DEALS("000630", 0, 2000, 4000);
    c->Request_PKDAT("600030SH,000630sz");
    c->Request_DEALS("000630", 0, 4000, 6000);  // merged: moves to the end
    ASSERT_TRUE(c->Connect());
    EXPECT_TRUE(c->Connect());  // already connected: nothing new

    c->Run();
    EXPECT_TRUE(c->Busy());
    c->Run();  // a reply is outstanding: nothing is written
    EXPECT_EQ(c->PendingMsgs().size(), 2u);
    ASSERT_TRUE(runUntil(*c, server, 3));

    const auto got = server.requests();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0], Frame_DEALS("000630", 0, 2000, 4000));
    EXPECT_EQ(got[1], Frame_PK("600030SH,000630sz", TDXDirectories()));
    EXPECT_EQ(got[2], Frame_DEALS("000630", 0, 4000, 6000));
    EXPECT_EQ(server.connections(), 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(QuoteClient, DirectoryArrivesInBatchesPlainAndCompressed) {
    ScriptedServer server([](ScriptedServer& s, const Bytes& req) {
        const unsigned start = req[14] | (req[15] << 8);
        s.reply(start == 0 ? replyFrame(directoryBody(0, 1000), true) : replyFrame(directoryBody(1000, 437)));
    });
    auto c = client(server);
    int count = -1;
    c->OnDecodePacket_INITMARKET = [&](std::span<const TTDX_STOCKINFO> data, std::uint8_t market, int n) {
        count = n;
        EXPECT_EQ(market, 1);
        EXPECT_EQ(data.size(), 1437u);
    };
    std::vector<int> after;
    c->OnAfterReadData = [&](int msg) { after.push_back(msg); };
    ASSERT_TRUE(c->Connect());
    c->Request_INITMARKET(1);
    ASSERT_TRUE(pumpUntil([&] {
        c->Run();
        return count >= 0;
    }));
    EXPECT_EQ(count, 1437);
    EXPECT_EQ(c->StockCount[1], 1437u);
    EXPECT_EQ(server.requests().size(), 2u);
    EXPECT_EQ(after, (std::vector<int>{1104, 1104}));
    EXPECT_EQ(TDXDirectories().FindMarket("601436", ""), 1);
}

TEST_F(QuoteClient, WrongMagicClosesTheConnection) {
    ScriptedServer server([](ScriptedServer& s, const Bytes&) {
        Bytes bad = kEmptyTicks;
        bad[0] = 0x00;
        s.reply(bad);
    });
    auto c = client(server);
    ASSERT_TRUE(c->Connect());
    c->Request_DEALS("000001", 0, 0, 2000);
    c->Run();
    ASSERT_TRUE(pumpUntil([&] { return disconnects == 1; }));
    EXPECT_FALSE(c->Connected());
}

TEST_F(QuoteClient, EmptyFrameIsHandedOverAndClearsBusy) {
    ScriptedServer server([](ScriptedServer& s, const Bytes&) { s.reply(replyFrame({})); });
    auto c = client(server);
    int reads = 0, after = 0;
    std::int16_t recvLen = 0;
    c->OnReadData = [&](const std::uint8_t* p) {
        ++reads;
        std::memcpy(&recvLen, p, 2);
    };
    c->OnAfterReadData = [&](int msg) { after = msg; };
    ASSERT_TRUE(c->Connect());
    c->Request_MINS("000001", 0, 0);
    ASSERT_TRUE(runUntil(*c, server, 1));
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(recvLen, 16);
    EXPECT_EQ(after, -1);
}

TEST_F(QuoteClient, ReconnectAfterLostReplyGoesOnWithTheNextRequest) {
    std::atomic<int> seen{0};
    ScriptedServer server([&](ScriptedServer& s, const Bytes&) {
        if (++seen > 1) s.reply(kEmptyTicks);  // the first reply is lost
    });
    auto c = client(server);
    ASSERT_TRUE(c->Connect());
    c->Request_DEALS("000001", 0, 0, 2000);
    c->Request_DEALS("000002", 0, 0, 2000);
    c->Run();
    ASSERT_TRUE(pumpUntil([&] { return seen == 1; }));
    c->Run();
    EXPECT_TRUE(c->Busy());

    c->Disconnect();
    EXPECT_EQ(disconnects, 1);
    EXPECT_FALSE(c->Busy());
    c->Disconnect();  // not connected: no second event
    EXPECT_EQ(disconnects, 1);
    ASSERT_TRUE(c->Connect());
    ASSERT_TRUE(runUntil(*c, server, 2));
    const auto got = server.requests();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[1], Frame_DEALS("000002", 0, 0, 2000));
    EXPECT_EQ(server.connections(), 2);
}

TEST_F(QuoteClient, DestroyWhileAReplyIsHalfReceived) {
    std::atomic<bool> sent{false};
    ScriptedServer server([&](ScriptedServer& s, const Bytes&) {
        const Bytes frame = replyFrame(directoryBody(0, 100));
        s.reply(Bytes(frame.begin(), frame.begin() + 200));
        sent = true;
    });
    auto c = client(server);
    ASSERT_TRUE(c->Connect());
    c->Request_INITMARKET(0);
    c->Run();
    ASSERT_TRUE(pumpUntil([&] { return sent.load(); }));
    c.reset();  // must neither hang nor crash
    EXPECT_EQ(disconnects, 0);
}

TEST_F(QuoteClient, ConnectFailureIsSilent) {
    int port = 0;
    {
        ScriptedServer gone([](ScriptedServer&, const Bytes&) {});
        port = gone.port();
    }
    TTDXManager c;
    c.Port = port;
    EXPECT_FALSE(c.Connect());
    c.Run();  // not connected: nothing happens
    EXPECT_TRUE(messages.empty());
}
