// SPDX-License-Identifier: GPL-3.0-or-later
#include "SocketIo.h"

#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace socketio {

Status readExactly(int fd, std::uint8_t* to, std::size_t size) {
    while (size > 0) {
        const ssize_t got = ::recv(fd, to, size, 0);
        if (got == 0) return Status::error("connection closed by the peer");
        if (got < 0) {
            if (errno == EINTR) continue;
            return Status::error(std::string("read: ") + std::strerror(errno));
        }
        to += got;
        size -= static_cast<std::size_t>(got);
    }
    return Status::ok();
}

Status writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR) continue;
            return Status::error(std::string("write: ") + std::strerror(errno));
        }
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return Status::ok();
}

}  // namespace socketio
