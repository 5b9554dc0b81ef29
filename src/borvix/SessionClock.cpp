// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionClock.h"

#include <array>
#include <cstdio>

namespace {

constexpr int at(int h, int m) { return h * 3600 + m * 60; }

struct Phase {
    int from;  // second of the day it starts
    const char* name;
    const char* next;  // what its end is
};

// The day in order; each phase lasts until the next one starts.
constexpr std::array<Phase, 8> kDay = {{
    {0, "未开盘", "开盘集合竞价"},
    {at(9, 15), "开盘集合竞价", "竞价撮合"},
    {at(9, 25), "等待开盘", "连续竞价"},
    {at(9, 30), "连续竞价", "午间休市"},
    {at(11, 30), "午间休市", "下午开盘"},
    {at(13, 0), "连续竞价", "收盘集合竞价"},
    {at(14, 57), "收盘集合竞价", "收盘"},
    {at(15, 0), "已收盘", ""},
}};

}  // namespace

SessionPhase sessionPhaseAt(int weekday, int second) {
    if (weekday >= 5) return {"周末休市", "", 0};
    std::size_t k = kDay.size() - 1;
    while (k > 0 && second < kDay[k].from) --k;
    const int end = k + 1 < kDay.size() ? kDay[k + 1].from : second;
    return {kDay[k].name, kDay[k].next, end - second};
}

std::string countdownText(int seconds) {
    char text[16];
    if (seconds >= 3600)
        std::snprintf(text, sizeof text, "%d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    else
        std::snprintf(text, sizeof text, "%02d:%02d", seconds / 60, seconds % 60);
    return text;
}
