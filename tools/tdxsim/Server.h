// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <chrono>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "Responder.h"
#include "Status.h"

// The server's idea of the time of day, which decides how much of the day is served.
class SimClock {
public:
    // After the close: the whole day.
    SimClock() = default;
    static SimClock at(int secondOfDay);
    // The wall clock in Beijing time (UTC+8).
    static SimClock live();
    // N simulated seconds per second, from 09:25 when the clock is made.
    static SimClock speed(double factor);
    // "HH:MM" or "HH:MM:SS".
    static std::optional<int> parseTime(std::string_view text);

    int secondOfDay() const;

private:
    enum class Mode { AfterClose, Fixed, Live, Speed } m_mode = Mode::AfterClose;
    int m_second = Responder::kAfterClose;
    double m_factor = 1;
    std::chrono::steady_clock::time_point m_start{};
};

// Ways to misbehave, for tests of the client. All off by default.
struct FaultModes {
    int closeAfter = 0;   // close a connection after this many replies (0 = never)
    bool stall = false;   // read requests, never answer
    bool wrongMagic = false;
    bool cutFrame = false;  // send half of each reply, then close
    int slowMs = 0;         // wait this long before each reply
};

// Serves one request at a time per client, in order; each client on its own thread.
class Server {
public:
    Server(const Responder& responder, SimClock clock, FaultModes faults)
        : m_responder(responder), m_clock(clock), m_faults(faults) {}
    ~Server();

    Status listen(const std::string& address, int port);
    int port() const { return m_port; }
    // Accepts clients until stop(); returns at once if listen() failed.
    void run();
    // Closes the listener and every client connection and waits for their threads.
    void stop();

private:
    void serveClient(int fd);

    const Responder& m_responder;
    const SimClock m_clock;
    const FaultModes m_faults;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::mutex m_mutex;
    std::list<std::pair<int, std::thread>> m_clients;
};
