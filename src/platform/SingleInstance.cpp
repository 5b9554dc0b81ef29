// SPDX-License-Identifier: GPL-3.0-or-later
#include "SingleInstance.h"

#include <QDir>
#include <QLockFile>

SingleInstanceGuard::SingleInstanceGuard(const std::string& name)
    : m_lock(std::make_unique<QLockFile>(QDir::temp().filePath(QString::fromStdString(name) + QStringLiteral(".lock")))) {
    // The lock file names its owner's process; one whose owner is gone counts as free.
    m_lock->setStaleLockTime(0);
    m_acquired = m_lock->tryLock(0);
}

SingleInstanceGuard::~SingleInstanceGuard() = default;
