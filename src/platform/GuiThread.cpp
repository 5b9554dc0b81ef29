// SPDX-License-Identifier: GPL-3.0-or-later
#include "GuiThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <QTimer>

#include <condition_variable>
#include <mutex>

void ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void WaitProcessingMessages(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

struct GuiHandover::State {
    std::mutex mutex;
    std::condition_variable changed;
    bool cancelled = false;
};

GuiHandover::GuiHandover() : m_state(std::make_shared<State>()), m_context(std::make_unique<QObject>()) {}

GuiHandover::~GuiHandover() { cancel(); }

void GuiHandover::cancel() {
    {
        std::lock_guard lock(m_state->mutex);
        m_state->cancelled = true;
    }
    m_state->changed.notify_all();
}

bool GuiHandover::runAndWait(std::function<void()> fn) const {
    if (QThread::currentThread() == m_context->thread()) {
        fn();
        return true;
    }
    auto state = m_state;
    auto done = std::make_shared<bool>(false);
    {
        std::lock_guard lock(state->mutex);
        if (state->cancelled) return false;
        // Queued calls are dropped by Qt when the context object is deleted.
        QMetaObject::invokeMethod(
            m_context.get(),
            [state, done, fn = std::move(fn)] {
                {
                    std::lock_guard lock(state->mutex);
                    if (state->cancelled) return;
                }
                fn();
                {
                    std::lock_guard lock(state->mutex);
                    *done = true;
                }
                state->changed.notify_all();
            },
            Qt::QueuedConnection);
    }
    std::unique_lock lock(state->mutex);
    state->changed.wait(lock, [&] { return *done || state->cancelled; });
    return *done;
}

void GuiHandover::post(std::function<void()> fn) const {
    QMetaObject::invokeMethod(m_context.get(), std::move(fn), Qt::QueuedConnection);
}
