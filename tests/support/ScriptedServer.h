// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <QCoreApplication>

#include "SocketIo.h"

// A quote server for tests on 127.0.0.1: accepts clients one after the other, reads
// request frames (10-byte header, body length at offset 6) and lets a script answer.
class ScriptedServer {
public:
    using Bytes = std::vector<std::uint8_t>;
    // Called on the server thread for each request; reply() sends bytes back.
    using Script = std::function<void(ScriptedServer& server, const Bytes& request)>;

    explicit ScriptedServer(Script script) : m_script(std::move(script)) {
        m_listen = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(m_listen, 4);
        socklen_t len = sizeof addr;
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len);
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~ScriptedServer() {
        m_stop = true;
        ::shutdown(m_listen, SHUT_RDWR);
        dropClient();
        m_thread.join();
        ::close(m_listen);
    }

    int port() const { return m_port; }
    void reply(const Bytes& bytes) { ::send(m_client.load(), bytes.data(), bytes.size(), MSG_NOSIGNAL); }
    void dropClient() {
        const int fd = m_client.exchange(-1);
        if (fd >= 0) ::shutdown(fd, SHUT_RDWR);
    }
    std::vector<Bytes> requests() const {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }
    int connections() const { return m_connections.load(); }

private:
    void serve() {
        while (!m_stop) {
            const int fd = ::accept(m_listen, nullptr, nullptr);
            if (fd < 0) return;
            ++m_connections;
            m_client = fd;
            for (;;) {
                Bytes frame(10);
                if (!socketio::readExactly(fd, frame.data(), 10).isOk()) break;
                frame.resize(10 + (frame[6] | (frame[7] << 8)));
                if (!socketio::readExactly(fd, frame.data() + 10, frame.size() - 10).isOk()) break;
                {
                    std::lock_guard lock(m_mutex);
                    m_requests.push_back(frame);
                }
                m_script(*this, frame);
            }
            int expected = fd;
            m_client.compare_exchange_strong(expected, -1);
            ::close(fd);
        }
    }

    Script m_script;
    int m_listen = -1;
    int m_port = 0;
    std::atomic<int> m_client{-1};
    std::atomic<int> m_connections{0};
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<Bytes> m_requests;
    std::thread m_thread;
};

// Runs the GUI thread's events until pred holds or ms pass; returns pred().
template <typename Pred>
bool pumpUntil(Pred pred, int ms = 3000) {
    for (int waited = 0; !pred() && waited < ms; ++waited) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return pred();
}
