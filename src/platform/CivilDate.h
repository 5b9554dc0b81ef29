// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Proleptic Gregorian dates as day counts from 1970-01-01 and back (Howard Hinnant's
// days-from-civil algorithms): exact for every date, no time zone, no library calls.
namespace civil {

constexpr int daysFromCivil(int year, int month, int day) {
    year -= month <= 2;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yoe = year - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// The date of a day count as the number yyyymmdd.
constexpr int yyyymmddFromDays(int days) {
    days += 719468;
    const int era = (days >= 0 ? days : days - 146096) / 146097;
    const int doe = days - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    const int d = doy - (153 * mp + 2) / 5 + 1;
    const int m = mp < 10 ? mp + 3 : mp - 9;
    const int y = yoe + era * 400 + (m <= 2);
    return y * 10000 + m * 100 + d;
}

// 1970-01-01 was a Thursday; 0 = Monday.
constexpr int weekdayFromDays(int days) { return ((days % 7) + 10) % 7; }

static_assert(daysFromCivil(1970, 1, 1) == 0 && daysFromCivil(1899, 12, 30) == -25569);
static_assert(yyyymmddFromDays(daysFromCivil(2024, 2, 29)) == 20240229);

}  // namespace civil
