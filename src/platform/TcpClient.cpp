// SPDX-License-Identifier: GPL-3.0-or-later
#include "TcpClient.h"

#include "SocketIo.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
std::string lastError(const char* what) { return std::string(what) + ": " + std::strerror(errno); }
}  // namespace

TcpClient::Connection::~Connection() { ::close(m_fd); }

bool TcpClient::Connection::isOpen() const { return m_open.load(); }

void TcpClient::Connection::shut() {
    if (m_open.exchange(false)) ::shutdown(m_fd, SHUT_RDWR);
}

Status TcpClient::Connection::readExactly(std::uint8_t* to, std::size_t size) {
    if (!m_open.load()) return Status::error("connection closed");
    return socketio::readExactly(m_fd, to, size);
}

Status TcpClient::Connection::writeAll(const std::uint8_t* data, std::size_t size) {
    if (!m_open.load()) return Status::error("connection closed");
    return socketio::writeAll(m_fd, data, size);
}

TcpClient::~TcpClient() {
    if (m_connection) m_connection->shut();
}

Status TcpClient::connect() {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (const int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found); rc != 0)
        return Status::error(host + ": " + ::gai_strerror(rc));
    std::string why = "no address";
    int fd = -1;
    for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
        fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            why = lastError("socket");
            continue;
        }
        if (::connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
            why = lastError("connect");
            ::close(fd);
            fd = -1;
        }
    }
    ::freeaddrinfo(found);
    if (fd < 0) return Status::error(host + ":" + service + ": " + why);
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    m_connection.reset(new Connection(fd));
    if (onConnected) onConnected();
    return Status::ok();
}

void TcpClient::disconnect() {
    if (!m_connection) return;
    m_connection->shut();
    m_connection.reset();
    if (onDisconnected) onDisconnected();
}

Status TcpClient::closeWriteBuffer() {
    if (!connected()) return Status::error("not connected");
    const Status s = m_connection->writeAll(m_writeBuffer.data(), m_writeBuffer.size());
    m_writeBuffer.clear();
    return s;
}
