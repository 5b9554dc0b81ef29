// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

class QLockFile;

// A process-wide named guard, held until the process ends: the first process to take a
// name holds it, later ones are refused while it runs. A holder that died without letting
// go (a crash, a kill) does not block the next start.
class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(const std::string& name);
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    bool acquired() const { return m_acquired; }

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_acquired = false;
};
