// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Where the trading day of the Shanghai and Shenzhen exchanges stands at a moment of
// Beijing time, and how long until it moves on: what the companion window shows.
struct SessionPhase {
    std::string name;  // "集合竞价", "连续竞价", "午间休市", ...
    std::string next;  // the coming event, empty when the day is over
    int secondsToNext = 0;
};

// weekday 0 = Monday .. 6 = Sunday; second of the day 0..86399. Holidays are not known.
SessionPhase sessionPhaseAt(int weekday, int secondOfDay);

// "1:02:03" or "02:03" of a number of seconds.
std::string countdownText(int seconds);
