// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "GuiThread.h"
#include "TDXEDCode.h"
#include "TcpClient.h"

// Guards every request queue of every client.
extern std::mutex MsgLock;

// The quote client: one TCP connection to a quote server, a queue of requests sent one
// at a time (Run, from a 100 ms timer), and a receive thread that hands each reply frame
// synchronously to the GUI thread, where it is decoded and the events are raised.
//
// Create, use and destroy it on the GUI thread, under a running Qt event loop. The
// destructor closes the connection and waits for the receive threads; it raises no
// events. OnDisConnected always runs on the GUI thread.
class TTDXManager : public TDXDecodeEvents {
public:
    TTDXManager();
    ~TTDXManager();
    TTDXManager(const TTDXManager&) = delete;
    TTDXManager& operator=(const TTDXManager&) = delete;

    std::string Host = "127.0.0.1";
    int Port = 7709;

    // Opens the connection and starts its receive thread; true when connected already.
    bool Connect();
    void Disconnect();
    // Sends the next queued request when connected and no reply is outstanding.
    void Run();
    bool Connected() const { return IdTCPClient.connected(); }

    void Request_INITMARKET(std::uint32_t market);
    void Request_MINS(const std::string& code, std::uint32_t market, std::uint32_t day);
    void Request_DAYS(const std::string& code, std::uint32_t market, std::uint32_t start, std::uint32_t count);
    void Request_DEALS(const std::string& code, std::uint32_t market, std::uint32_t start, std::uint32_t count);
    void Request_PKDAT(const std::string& codes);

    // Drops every pending request equal to the new one, then appends it.
    void AddMsg(std::uint32_t command, const std::string& code, std::uint32_t market, std::uint32_t start,
                std::uint32_t count);
    bool PopMsg(TTDX_MSG& msg);
    void ClearMsgs();
    std::vector<TTDX_MSG> PendingMsgs() const;

    bool Busy() const { return m_busy.load(); }
    const TTDX_MSG& CurMSG() const { return m_curMsg; }
    std::uint32_t StockCount[2] = {0, 0};

    // The receive thread's hand-over: the frame's header and body, on the GUI thread.
    void HandleInput(const std::uint8_t* header, const std::uint8_t* body, std::size_t length);

    std::function<void()> OnConnected;
    std::function<void()> OnDisConnected;
    // pData points at RecvLen (frame length, 16-bit), followed by the frame itself.
    std::function<void(const std::uint8_t* pData)> OnReadData;
    std::function<void(int msg)> OnAfterReadData;
    // Declared for hosts that assign it; the client raises it on no path.
    std::function<void(const std::string& ErrMsg, int ErrCode, bool& boStopUnPacket)> OnErrorMessage;

private:
    struct ReceiveThread {
        std::thread thread;
        std::shared_ptr<TcpClient::Connection> connection;
        std::shared_ptr<std::atomic<bool>> finished;
    };

    void DoReadData();
    int UnPacket();
    Status Send(const Frame& frame);
    void Send_PK(const std::string& codes);
    void receiveLoop(std::shared_ptr<TcpClient::Connection> connection, std::shared_ptr<std::atomic<bool>> finished);
    void connectionLost(const std::shared_ptr<TcpClient::Connection>& connection);
    void reapThreads();

    TcpClient IdTCPClient;
#pragma pack(push, 1)
    struct {
        std::int16_t RecvLen = 0;
        std::uint8_t RecvBuf[kReplyHeaderSize + kBodyCapacity] = {};
    } m_frame;
#pragma pack(pop)
    std::vector<std::uint8_t> m_body = std::vector<std::uint8_t>(kBodyCapacity);
    std::atomic<bool> m_busy{false};
    TTDX_MSG m_curMsg;
    std::deque<TTDX_MSG> m_queue;
    std::vector<ReceiveThread> m_threads;
    GuiHandover m_handover;
};
