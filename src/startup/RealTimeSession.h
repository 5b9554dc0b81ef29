// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>

#include "MainModel.h"
#include "usockTDXManager.h"

// The real-time core running: the quote client's events bound to the main window's
// model, the 100 ms timer that sends the queued requests and the one-second polling
// timer. The program, tikvane-cli watch and the tests start it the same way.
class RealTimeSession {
public:
    explicit RealTimeSession(MainModel& model);
    ~RealTimeSession();
    RealTimeSession(const RealTimeSession&) = delete;
    RealTimeSession& operator=(const RealTimeSession&) = delete;

    TTDXManager& client() { return m_client; }
    MainModel& model() { return m_model; }

    // Both timers run from the start, as the window's do.
    void start();
    void stop();

private:
    MainModel& m_model;
    TTDXManager m_client;
    QObject m_context;
    QTimer tdxTimer;
    QTimer DPTimer;
};
