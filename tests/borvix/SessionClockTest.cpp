// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "SessionClock.h"

namespace {

constexpr int at(int h, int m, int s = 0) { return h * 3600 + m * 60 + s; }

}  // namespace

TEST(SessionClock, PhasesOfATradingDayAndTheTimeToTheNext) {
    struct Case {
        int second;
        const char* name;
        const char* next;
        int left;
    } cases[] = {
        {at(0, 0), "未开盘", "开盘集合竞价", at(9, 15)},
        {at(9, 14, 59), "未开盘", "开盘集合竞价", 1},
        {at(9, 15), "开盘集合竞价", "竞价撮合", at(0, 10)},
        {at(9, 25), "等待开盘", "连续竞价", at(0, 5)},
        {at(9, 30), "连续竞价", "午间休市", at(2, 0)},
        {at(11, 30), "午间休市", "下午开盘", at(1, 30)},
        {at(13, 0), "连续竞价", "收盘集合竞价", at(1, 57)},
        {at(14, 57), "收盘集合竞价", "收盘", at(0, 3)},
        {at(15, 0), "已收盘", "", 0},
        {at(23, 59, 59), "已收盘", "", 0},
    };
    for (const Case& c : cases) {
        const SessionPhase p = sessionPhaseAt(2, c.second);
        EXPECT_EQ(p.name, c.name) << c.second;
        EXPECT_EQ(p.next, c.next) << c.second;
        EXPECT_EQ(p.secondsToNext, c.left) << c.second;
    }
    EXPECT_EQ(sessionPhaseAt(5, at(10, 0)).name, "周末休市");
    EXPECT_EQ(sessionPhaseAt(6, at(10, 0)).next, "");
}

TEST(SessionClock, Countdowns) {
    EXPECT_EQ(countdownText(0), "00:00");
    EXPECT_EQ(countdownText(59), "00:59");
    EXPECT_EQ(countdownText(3599), "59:59");
    EXPECT_EQ(countdownText(at(1, 2, 3)), "1:02:03");
}
