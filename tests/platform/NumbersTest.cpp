// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "Numbers.h"

using numbers::formatFloat;
using numbers::formatInt;
using numbers::parseFloat;
using numbers::parseInt;

TEST(Numbers, FormatPatterns) {
    struct Case {
        const char* pattern;
        double value;
        const char* text;
    } cases[] = {
        {"0", 1234.5, "1235"},      {"0", -0.4, "0"},         {"0", -2.5, "-3"},      {"0.0", 9.96, "10.0"},
        {"0.00", 2.675, "2.68"},    {"0.00", 0.005, "0.01"},  {"0.00", 0.0, "0.00"},  {"0.000", 1.0005, "1.001"},
        {"%0.2f", -1.234, "-1.23"}, {"%.02f", 99.999, "100.00"}, {"0", 1e20, "100000000000000000000"},
        {"0.00", 1e-9, "0.00"},     {"0.00", 123456789.125, "123456789.13"},
    };
    for (const Case& c : cases) EXPECT_EQ(formatFloat(c.pattern, c.value), c.text) << c.pattern << " " << c.value;
    EXPECT_EQ(formatFloat("0.00", 0.0 / 0.0), "NAN");
    EXPECT_EQ(formatFloat("0", -1.0 / 0.0), "-INF");
}

TEST(Numbers, FormatIntegers) {
    EXPECT_EQ(formatInt("%d", -42), "-42");
    EXPECT_EQ(formatInt("%.02d", 5), "05");
    EXPECT_EQ(formatInt("%.02d", 123), "123");
    EXPECT_EQ(formatInt("%d", INT64_MIN), "-9223372036854775808");
}

TEST(Numbers, ParseTellsFailureFromZero) {
    EXPECT_EQ(parseFloat(" 0 "), 0.0);
    EXPECT_EQ(parseFloat("+1.5e3"), 1500.0);
    EXPECT_EQ(parseFloat("-.5"), -0.5);
    EXPECT_EQ(parseFloat("7."), 7.0);
    for (const char* bad : {"", "  ", "abc", "1,5", "1.5x", "inf", "nan", "0x10", "1e", "--1", ".", "1e999", "1 2"})
        EXPECT_FALSE(parseFloat(bad)) << bad;
    EXPECT_EQ(parseInt("\t-17\r\n"), -17);
    EXPECT_EQ(parseInt("2147483647"), 2147483647);
    for (const char* bad : {"", "1.0", "2147483648", "12a", "+"}) EXPECT_FALSE(parseInt(bad)) << bad;
}
