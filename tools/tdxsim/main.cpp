// SPDX-License-Identifier: GPL-3.0-or-later
// tdxsim: a quote server over a deterministic synthetic market, on 127.0.0.1.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>

#include "Responder.h"
#include "SocketIo.h"

namespace {

// One client: requests are answered one at a time, in order.
void serveClient(int fd, const Responder& responder) {
    for (;;) {
        Bytes request(10);
        if (!socketio::readExactly(fd, request.data(), 10).isOk()) break;
        request.resize(10 + (request[6] | (request[7] << 8)));
        if (!socketio::readExactly(fd, request.data() + 10, request.size() - 10).isOk()) break;
        const Bytes reply = responder.reply(request);
        if (!socketio::writeAll(fd, reply.data(), reply.size()).isOk()) break;
    }
    ::close(fd);
}

int usage() {
    std::cerr << "usage: tdxsim [--port P] [--bind ADDRESS] [--seed N] [--date YYYYMMDD]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    int port = 7709;
    std::string bind = "127.0.0.1";
    std::uint64_t seed = 1;
    int date = 20261211;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc) return usage();
        const std::string v = argv[++i];
        try {
            if (a == "--port") port = std::stoi(v);
            else if (a == "--bind") bind = v;
            else if (a == "--seed") seed = std::stoull(v);
            else if (a == "--date") date = std::stoi(v);
            else return usage();
        } catch (const std::exception&) {
            return usage();
        }
    }
    std::signal(SIGPIPE, SIG_IGN);

    const SyntheticMarket market(seed, date);
    const Responder responder(market);

    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int one = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::inet_pton(AF_INET, bind.c_str(), &addr.sin_addr) != 1) {
        std::cerr << "tdxsim: not an IPv4 address: " << bind << '\n';
        return 1;
    }
    if (::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listener, 16) != 0) {
        std::cerr << "tdxsim: cannot listen on " << bind << ':' << port << ": " << std::strerror(errno) << '\n';
        return 1;
    }
    socklen_t len = sizeof addr;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);
    std::cout << "tdxsim: listening on " << bind << ':' << ntohs(addr.sin_port) << ", "
              << market.directory(0).size() << " Shenzhen and " << market.directory(1).size()
              << " Shanghai securities" << std::endl;
    for (;;) {
        const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR) continue;
            break;
        }
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        std::thread(serveClient, fd, std::cref(responder)).detach();
    }
    return 0;
}
