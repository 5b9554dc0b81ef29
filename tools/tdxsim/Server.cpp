// SPDX-License-Identifier: GPL-3.0-or-later
#include "Server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <ctime>

#include "SocketIo.h"

SimClock SimClock::at(int secondOfDay) {
    SimClock c;
    c.m_mode = Mode::Fixed;
    c.m_second = secondOfDay;
    return c;
}

SimClock SimClock::live() {
    SimClock c;
    c.m_mode = Mode::Live;
    return c;
}

SimClock SimClock::speed(double factor) {
    SimClock c;
    c.m_mode = Mode::Speed;
    c.m_factor = factor;
    c.m_start = std::chrono::steady_clock::now();
    return c;
}

std::optional<int> SimClock::parseTime(std::string_view text) {
    int parts[3] = {0, 0, 0};
    int n = 0;
    const char* p = text.data();
    const char* const end = text.data() + text.size();
    while (n < 3) {
        const auto [next, ec] = std::from_chars(p, end, parts[n]);
        if (ec != std::errc() || next - p != 2) return std::nullopt;
        ++n;
        p = next;
        if (p == end) break;
        if (*p++ != ':') return std::nullopt;
    }
    if (p != end || n < 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 59) return std::nullopt;
    return parts[0] * 3600 + parts[1] * 60 + parts[2];
}

int SimClock::secondOfDay() const {
    switch (m_mode) {
        case Mode::AfterClose:
        case Mode::Fixed:
            return m_second;
        case Mode::Live:
            return static_cast<int>((std::time(nullptr) + 8 * 3600) % 86400);
        case Mode::Speed: {
            const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
            return static_cast<int>(std::min<double>(session::kAuction + elapsed * m_factor, Responder::kAfterClose));
        }
    }
    return m_second;
}

Server::~Server() {
    stop();
    if (m_listener >= 0) ::close(m_listener);
}

Status Server::listen(const std::string& address, int port) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::inet_pton(AF_INET, address.c_str(), &addr.sin_addr) != 1)
        return Status::error("not an IPv4 address: " + address);
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int one = 1;
    ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(m_listener, 16) != 0) {
        const std::string reason = std::strerror(errno);
        ::close(m_listener);
        m_listener = -1;
        return Status::error("cannot listen on " + address + ":" + std::to_string(port) + ": " + reason);
    }
    socklen_t len = sizeof addr;
    ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&addr), &len);
    m_port = ntohs(addr.sin_port);
    return Status::ok();
}

void Server::run() {
    while (m_listener >= 0 && !m_stopping) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            break;
        }
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        std::lock_guard lock(m_mutex);
        // Threads of clients that have gone are joined here, so they do not pile up.
        for (auto it = m_clients.begin(); it != m_clients.end();) {
            if (it->first < 0) {
                it->second.join();
                it = m_clients.erase(it);
            } else {
                ++it;
            }
        }
        if (m_stopping) {
            ::close(fd);
            break;
        }
        auto& slot = m_clients.emplace_back(fd, std::thread());
        slot.second = std::thread([this, fd] { serveClient(fd); });
    }
}

void Server::stop() {
    m_stopping = true;
    if (m_listener >= 0) ::shutdown(m_listener, SHUT_RDWR);
    std::list<std::pair<int, std::thread>> clients;
    {
        std::lock_guard lock(m_mutex);
        for (auto& [fd, thread] : m_clients)
            if (fd >= 0) ::shutdown(fd, SHUT_RDWR);
        clients.swap(m_clients);
    }
    for (auto& [fd, thread] : clients) thread.join();
}

void Server::serveClient(int fd) {
    int replies = 0;
    for (;;) {
        Bytes request(10);
        if (!socketio::readExactly(fd, request.data(), 10).isOk()) break;
        request.resize(10 + (request[6] | (request[7] << 8)));
        if (!socketio::readExactly(fd, request.data() + 10, request.size() - 10).isOk()) break;
        if (m_faults.stall) continue;
        if (m_faults.slowMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(m_faults.slowMs));
        Bytes reply = m_responder.reply(request, m_clock.secondOfDay());
        if (m_faults.wrongMagic) reply[0] ^= 0x01;
        const std::size_t length = m_faults.cutFrame ? 16 + (reply.size() - 16) / 2 : reply.size();
        if (!socketio::writeAll(fd, reply.data(), length).isOk() || m_faults.cutFrame) break;
        if (m_faults.closeAfter > 0 && ++replies >= m_faults.closeAfter) break;
    }
    std::lock_guard lock(m_mutex);
    for (auto& [clientFd, thread] : m_clients)
        if (clientFd == fd) clientFd = -1;
    ::close(fd);
}
