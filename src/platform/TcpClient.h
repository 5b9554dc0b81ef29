// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "Status.h"

// A blocking TCP client on the operating system's sockets. Each connect() makes a new
// Connection; a reader thread keeps the Connection it was given, and its socket number
// stays allocated until the last holder lets go, so a reader of a closed connection can
// never read a newer one. disconnect() (or Connection::shut) wakes a reader blocked on
// the old connection.
class TcpClient {
public:
    class Connection {
    public:
        ~Connection();
        // Reads exactly size bytes; an error when the peer closes or the connection is shut.
        Status readExactly(std::uint8_t* to, std::size_t size);
        bool isOpen() const;
        // Shuts the socket down (waking a blocked reader); the number stays allocated.
        void shut();

    private:
        friend class TcpClient;
        explicit Connection(int fd) : m_fd(fd) {}
        Status writeAll(const std::uint8_t* data, std::size_t size);

        const int m_fd;
        std::atomic<bool> m_open{true};
    };

    TcpClient() = default;
    ~TcpClient();
    TcpClient(const TcpClient&) = delete;
    TcpClient& operator=(const TcpClient&) = delete;

    std::string host = "127.0.0.1";
    int port = 7709;

    // Blocking connect to host:port with the system's own time-out.
    Status connect();
    bool connected() const { return m_connection && m_connection->isOpen(); }
    std::shared_ptr<Connection> connection() const { return m_connection; }
    // Closes the connection; the notification runs once per connection, also when the
    // connection was already found shut.
    void disconnect();

    // The write buffer: nothing is sent until closeWriteBuffer sends it in one piece.
    void openWriteBuffer() { m_writeBuffer.clear(); }
    void write(std::span<const std::uint8_t> bytes) { m_writeBuffer.insert(m_writeBuffer.end(), bytes.begin(), bytes.end()); }
    Status closeWriteBuffer();

    std::function<void()> onConnected;
    std::function<void()> onDisconnected;

private:
    std::shared_ptr<Connection> m_connection;
    std::vector<std::uint8_t> m_writeBuffer;
};
