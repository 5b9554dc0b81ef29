// SPDX-License-Identifier: GPL-3.0-or-later
#include "usockTDXManager.h"

#include <chrono>
#include <cstring>

#include "MessageBox.h"

std::mutex MsgLock;

TTDXManager::TTDXManager() {
    static std::once_flag bound;
    std::call_once(bound, [] { BindBufToDouble(); });
    IdTCPClient.onConnected = [this] {
        if (OnConnected) OnConnected();
    };
    IdTCPClient.onDisconnected = [this] {
        if (OnDisConnected) OnDisConnected();
    };
}

TTDXManager::~TTDXManager() {
    m_handover.cancel();  // releases a receive thread waiting for the GUI thread
    IdTCPClient.onDisconnected = nullptr;
    IdTCPClient.disconnect();
    for (ReceiveThread& t : m_threads) {
        t.connection->shut();
        t.thread.join();
    }
    ClearMsgs();
}

bool TTDXManager::Connect() {
    if (IdTCPClient.connected()) return true;
    if (IdTCPClient.connection()) {
        // Found shut by the receive thread and not yet reported: report it first; the
        // handler may reconnect by itself.
        IdTCPClient.disconnect();
        if (IdTCPClient.connected()) return true;
    }
    m_busy = false;
    IdTCPClient.host = Host;
    IdTCPClient.port = Port;
    if (!IdTCPClient.connect().isOk()) return false;
    reapThreads();
    auto connection = IdTCPClient.connection();
    auto finished = std::make_shared<std::atomic<bool>>(false);
    m_threads.push_back({std::thread([=, this] { receiveLoop(connection, finished); }), connection, finished});
    return true;
}

void TTDXManager::Disconnect() {
    IdTCPClient.disconnect();
    m_busy = false;
}

void TTDXManager::reapThreads() {
    // Only threads that have ended are joined: one of an older connection may still wait
    // for this (the GUI) thread to take its last frame.
    for (auto it = m_threads.begin(); it != m_threads.end();) {
        if (!it->finished->load()) {
            ++it;
            continue;
        }
        it->thread.join();
        it = m_threads.erase(it);
    }
}

void TTDXManager::receiveLoop(std::shared_ptr<TcpClient::Connection> connection,
                              std::shared_ptr<std::atomic<bool>> finished) {
    std::uint8_t header[kReplyHeaderSize];
    std::vector<std::uint8_t> data(kBodyCapacity);
    while (connection->isOpen()) {
        if (!connection->readExactly(header, sizeof header).isOk()) break;
        std::uint32_t magic = 0;
        std::memcpy(&magic, header, 4);
        if (magic != kReplyMagic) break;
        const std::size_t length = header[12] | (header[13] << 8);
        if (!connection->readExactly(data.data(), length).isOk()) break;
        const bool handed = m_handover.runAndWait([&] {
            // A frame of a connection closed meanwhile is not an answer to CurMSG.
            if (IdTCPClient.connection() == connection) HandleInput(header, data.data(), length);
        });
        if (!handed) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    connection->shut();
    m_handover.post([this, connection] { connectionLost(connection); });
    *finished = true;
}

void TTDXManager::connectionLost(const std::shared_ptr<TcpClient::Connection>& connection) {
    // A connection replaced meanwhile was reported when it was closed.
    if (IdTCPClient.connection() == connection) IdTCPClient.disconnect();
}

void TTDXManager::HandleInput(const std::uint8_t* header, const std::uint8_t* body, std::size_t length) {
    std::memcpy(m_frame.RecvBuf, header, kReplyHeaderSize);
    std::memcpy(m_frame.RecvBuf + kReplyHeaderSize, body, length);
    m_frame.RecvLen = static_cast<std::int16_t>(length + kReplyHeaderSize);
    try {
        DoReadData();
    } catch (...) {
        // An error escaping a handler ends this frame only.
    }
}

void TTDXManager::DoReadData() {
    if (OnReadData) OnReadData(reinterpret_cast<const std::uint8_t*>(&m_frame));
    const int result = UnPacket();
    if (OnAfterReadData) OnAfterReadData(result);
}

int TTDXManager::UnPacket() {
    struct ClearBusy {
        std::atomic<bool>& busy;
        ~ClearBusy() { busy = false; }
    } clearBusy{m_busy};
    const std::size_t length = static_cast<std::uint16_t>(m_frame.RecvLen) >= kReplyHeaderSize
                                   ? kReplyHeaderSize + (m_frame.RecvBuf[12] | (m_frame.RecvBuf[13] << 8))
                                   : kReplyHeaderSize;
    ReplyContext context{TDXDirectories(), StockCount, *this,
                         [this](const TTDX_MSG& m) { AddMsg(m.MsgType, m.Code, m.Market, m.Start, m.Count); },
                         m_body};
    return DecodeReply({m_frame.RecvBuf, length}, m_curMsg, context);
}

void TTDXManager::Run() {
    int marker = 0;
    if (!IdTCPClient.connected()) return;
    marker = 1;
    TTDX_MSG msg;
    if (!PopMsg(msg)) return;
    marker = 2;
    m_busy = true;
    m_curMsg = msg;
    marker = static_cast<int>(msg.MsgType);
    Status sent = Status::ok();
    switch (msg.MsgType) {
        case CMD_INITMARKET: sent = Send(Frame_INITMARKET(msg.Market, msg.Start)); break;
        case CMD_MINS: sent = Send(Frame_MINS(msg.Code, msg.Market, msg.Start)); break;
        case CMD_DAYS: sent = Send(Frame_DAYS(msg.Code, msg.Market, msg.Start, msg.Count)); break;
        case CMD_DEALS: sent = Send(Frame_DEALS(msg.Code, msg.Market, msg.Start, msg.Count)); break;
        case CMD_PKDAT:
            marker = 3;
            Send_PK(msg.Code);
            marker = 4;
            break;
        default: break;
    }
    if (!sent.isOk()) showMessageBox({"TTDXManager.Run", std::to_string(marker) + " ->" + sent.message()});
}

Status TTDXManager::Send(const Frame& frame) {
    IdTCPClient.openWriteBuffer();
    IdTCPClient.write(frame);
    return IdTCPClient.closeWriteBuffer();
}

void TTDXManager::Send_PK(const std::string& codes) {
    // The frame is built whole before the buffer is sent, so a failure is always the
    // write at the end, after the last entry (marker 4).
    const Status sent = Send(Frame_PK(codes, TDXDirectories()));
    if (!sent.isOk()) showMessageBox({"TTDXManager.Send_PK", "4 ->" + sent.message()});
}

void TTDXManager::Request_INITMARKET(std::uint32_t market) {
    if (market <= 1) StockCount[market] = 0;
    AddMsg(CMD_INITMARKET, "", market, 0, 0);
}

void TTDXManager::Request_MINS(const std::string& code, std::uint32_t market, std::uint32_t day) {
    AddMsg(CMD_MINS, code, market, day, 0);
}

void TTDXManager::Request_DAYS(const std::string& code, std::uint32_t market, std::uint32_t start, std::uint32_t count) {
    AddMsg(CMD_DAYS, code, market, start, count);
}

void TTDXManager::Request_DEALS(const std::string& code, std::uint32_t market, std::uint32_t start,
                                std::uint32_t count) {
    AddMsg(CMD_DEALS, code, market, start, count);
}

void TTDXManager::Request_PKDAT(const std::string& codes) { AddMsg(CMD_PKDAT, codes, 0, 0, 0); }

void TTDXManager::AddMsg(std::uint32_t command, const std::string& code, std::uint32_t market, std::uint32_t start,
                         std::uint32_t count) {
    TTDX_MSG msg{command, code, market, start, count};
    std::lock_guard lock(MsgLock);
    std::erase(m_queue, msg);
    m_queue.push_back(std::move(msg));
}

bool TTDXManager::PopMsg(TTDX_MSG& msg) {
    std::lock_guard lock(MsgLock);
    if (m_busy || m_queue.empty()) return false;
    msg = std::move(m_queue.front());
    m_queue.pop_front();
    return true;
}

void TTDXManager::ClearMsgs() {
    std::lock_guard lock(MsgLock);
    m_queue.clear();
}

std::vector<TTDX_MSG> TTDXManager::PendingMsgs() const {
    std::lock_guard lock(MsgLock);
    return {m_queue.begin(), m_queue.end()};
}
