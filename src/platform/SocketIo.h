// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

#include "Status.h"

// Whole reads and writes on a blocking socket, retried on interruption; a peer that
// closes mid-way is an error.
namespace socketio {

Status readExactly(int fd, std::uint8_t* to, std::size_t size);
Status writeAll(int fd, const std::uint8_t* data, std::size_t size);

}  // namespace socketio
