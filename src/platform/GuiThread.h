// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>

class QObject;

// Lets pending events of the GUI thread run (timers, posted calls, repaints).
void ProcessMessages();
// Lets events run for ms milliseconds, sleeping while there are none (a nested event loop).
void WaitProcessingMessages(int ms);

// Hands work from a worker thread to the GUI thread (the thread that created it).
// runAndWait blocks the worker until the GUI thread has run the call; cancel() (or the
// destructor, on the GUI thread) releases every waiting worker at once and drops calls
// not yet run, so a worker can never wait on a GUI thread that waits for the worker.
class GuiHandover {
public:
    GuiHandover();
    ~GuiHandover();
    GuiHandover(const GuiHandover&) = delete;
    GuiHandover& operator=(const GuiHandover&) = delete;

    // False when cancelled before the call ran. On the GUI thread itself it just runs fn.
    bool runAndWait(std::function<void()> fn) const;
    // Queues fn for the GUI thread without waiting.
    void post(std::function<void()> fn) const;
    void cancel();

private:
    struct State;
    std::shared_ptr<State> m_state;
    std::unique_ptr<QObject> m_context;
};
