// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "Hashes.h"
#include "Numbers.h"

TEST(THash, HashOfKnownKeys) {
    const struct Case {
        const char* key;
        std::uint32_t hash;
    } cases[] = {{"", 0x12345670u}, {"0", 0x23456730u}, {"000001", 0x73377771u}, {"600489", 0x73B777F9u}};
    for (const Case& c : cases) EXPECT_EQ(THash::hashOf(c.key), c.hash) << c.key;
}

TEST(TIntegerHash, SetFindAndReplace) {
    TIntegerHash index;
    EXPECT_EQ(index.find("600489"), 999999);
    index.set("600489", 3);
    index.set("SH", 7);
    index.set("600489", 5);
    EXPECT_EQ(index.count(), 2);
    EXPECT_EQ(index.find("600489"), 5);
    EXPECT_EQ(index.find("SH"), 7);
    EXPECT_EQ(index.find("sh"), TIntegerHash::kNotFound);  // keys keep their case
    EXPECT_EQ(index.find("60048"), TIntegerHash::kNotFound);
}

TEST(TIntegerHash, EmptyKeyIsRefusedAndNeverFound) {
    TIntegerHash index;
    try {
        index.set("", 1);
        FAIL() << "an empty key was stored";
    } catch (const EHashInvalidKeyError& e) {
        EXPECT_STREQ(e.what(), "Key cannot be an empty string");
    }
    EXPECT_EQ(index.count(), 0);
    EXPECT_EQ(index.find(""), TIntegerHash::kNotFound);
}

// Codes of a whole market share a few buckets under this hash, so entries of one bucket must
// still be told apart.
TEST(TIntegerHash, WholeMarketFindsEveryCodeAndClearForgetsThem) {
    TIntegerHash index;
    const auto code = [](int i) { return numbers::formatInt("%.06d", i < 3000 ? i : 600000 + i); };
    for (int i = 0; i < 5000; ++i) index.set(code(i), i);
    EXPECT_EQ(index.count(), 5000);
    for (int i = 0; i < 5000; ++i) ASSERT_EQ(index.find(code(i)), i) << code(i);

    index.clear();
    EXPECT_EQ(index.count(), 0);
    EXPECT_EQ(index.find(code(1)), TIntegerHash::kNotFound);
    index.set(code(2), 9);
    EXPECT_EQ(index.find(code(2)), 9);
    EXPECT_EQ(index.find(code(1)), TIntegerHash::kNotFound);
}
