// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>

// The outcome of an operation that can fail for an expected reason (a damaged file,
// a missing folder): ok, or an error with a message for the user.
class Status {
public:
    static Status ok() { return Status(); }
    static Status error(std::string message) { return Status(std::move(message)); }

    bool isOk() const { return !m_failed; }
    const std::string& message() const { return m_message; }

private:
    Status() = default;
    explicit Status(std::string message) : m_failed(true), m_message(std::move(message)) {}

    bool m_failed = false;
    std::string m_message;
};
