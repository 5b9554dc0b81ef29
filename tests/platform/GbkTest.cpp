// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "Gbk.h"

TEST(Gbk, EveryAssignedPairRoundTripsByteForByte) {
    int assigned = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            int replaced = 0;
            const std::string utf8 = gbk::toUtf8(pair, &replaced);
            if (replaced) continue;
            ++assigned;
            ASSERT_EQ(gbk::fromUtf8(utf8), pair) << std::hex << lead << trail;
        }
    }
    EXPECT_EQ(assigned, 21791);
    EXPECT_EQ(gbk::fromUtf8("\xE2\x82\xAC"), "\x80");  // the euro sign is the single byte 0x80
}

TEST(Gbk, KnownCharacters) {
    EXPECT_EQ(gbk::toUtf8("\xC9\xEE\xB7\xA2\xD5\xB9" "A"), "深发展A");
    EXPECT_EQ(gbk::fromUtf8("中金黄金"), "\xD6\xD0\xBD\xF0\xBB\xC6\xBD\xF0");
    EXPECT_EQ(gbk::toUtf8("\xA1\xAA"), "\u2014");
}

TEST(Gbk, BadBytesBecomeReplacementsAndKeepTheRest) {
    struct Case {
        std::string gbk, utf8;
        int replaced;
    } cases[] = {
        {"a\xFF" "b", "a\uFFFD" "b", 1},          // 0xFF starts nothing
        {"\xD6" "1", "\uFFFD" "1", 1},             // lead byte before a digit: the digit survives
        {"ab\xD6", "ab\uFFFD", 1},                 // lead byte at the end
        {"\xD6\x7F" "x", "\uFFFD\x7F" "x", 1},            // 0x7F is never a trail byte; it is ASCII
        {"\xAA\xA1" "z", "\uFFFD" "z", 1},         // user-defined area: unassigned pair
    };
    for (const Case& c : cases) {
        int replaced = -1;
        EXPECT_EQ(gbk::toUtf8(c.gbk, &replaced), c.utf8);
        EXPECT_EQ(replaced, c.replaced);
    }
}

TEST(Gbk, UnencodableAndInvalidUtf8BecomeQuestionMarks) {
    int replaced = 0;
    EXPECT_EQ(gbk::fromUtf8("a\U0001F600b\u00E9c", &replaced), "a?b\xA8\xA6" "c");
    EXPECT_EQ(replaced, 1);
    EXPECT_EQ(gbk::fromUtf8("x\xC3" "y\xED\xA0\x80" "z", &replaced), "x?y???z");  // cut sequence, surrogate
    EXPECT_EQ(replaced, 4);
}
