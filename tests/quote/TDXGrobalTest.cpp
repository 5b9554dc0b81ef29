// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "TDXGrobal.h"

namespace {
TTDX_STOCKINFO stock(const char* code, const char* gbkName, int decimals = 2, std::int16_t dayExtraFlag = 1) {
    TTDX_STOCKINFO r{};
    std::memcpy(r.Code, code, std::min<std::size_t>(std::strlen(code), 6));
    std::memcpy(r.Name, gbkName, std::min(std::strlen(gbkName), sizeof r.Name));
    r.Decimals = static_cast<std::uint8_t>(decimals);
    r.DayExtraFlag = dayExtraFlag;
    return r;
}

class Directories : public ::testing::Test {
protected:
    void SetUp() override {
        // 000001 is both 深发展A in Shenzhen and an index in Shanghai; 510050 has 3 decimals.
        const std::vector<TTDX_STOCKINFO> sz{stock("000001", "\xC9\xEE\xB7\xA2\xD5\xB9" "A", 2, 0),
                                             stock("000001", "second"), stock("002155", "cz")};
        const std::vector<TTDX_STOCKINFO> sh{stock("000001", "\xC9\xCF\xD6\xA4\xD6\xB8\xCA\xFD"),
                                             stock("510050", "50ETF", 3)};
        dirs.assign(0, 0, sz);
        dirs.assign(1, 0, sh);
    }
    MarketDirectories dirs;
};
}  // namespace

TEST_F(Directories, FindMarket) {
    EXPECT_EQ(dirs.FindMarket("00000", ""), kNoMarket);
    EXPECT_EQ(dirs.FindMarket("000001", ""), 1);  // both hold it: the last market wins
    EXPECT_EQ(dirs.FindMarket("002155", ""), 0);
    EXPECT_EQ(dirs.FindMarket("000001", "深发展A"), 0);
    EXPECT_EQ(dirs.FindMarket("000001", "second"), 0);  // not the first record, still a match
    EXPECT_EQ(dirs.FindMarket("002155", "other"), kNoMarket);
    EXPECT_EQ(dirs.FindMarket("600000", ""), kNoMarket);
}

TEST_F(Directories, NamesDecimalsAndDayExtra) {
    EXPECT_EQ(dirs.StockName("000001", 0), "深发展A");
    EXPECT_EQ(dirs.StockName("000001", 1), "上证指数");
    EXPECT_EQ(dirs.StockName("000001", 2), "上证指数");
    EXPECT_EQ(dirs.StockName("002155", 2), "cz");
    EXPECT_EQ(dirs.StockName("999999", 0), "");
    EXPECT_EQ(dirs.StockDecimals("510050", 1), 3);
    EXPECT_EQ(dirs.StockDecimals("510050", 0), 2);
    EXPECT_EQ(dirs.StockDecimals("510050", 5), 2);

    dirs.CurDayMarket = 0;
    dirs.CurDayCode = "000001";
    EXPECT_TRUE(dirs.HasDayExtra());
    dirs.CurDayCode = "002155";
    EXPECT_FALSE(dirs.HasDayExtra());
    dirs.CurDayCode = "300001";
    EXPECT_FALSE(dirs.HasDayExtra());
}

TEST_F(Directories, ReinitialisationRebuildsFromTheStart) {
    const std::vector<TTDX_STOCKINFO> batch{stock("300750", "ndsd")};
    dirs.assign(0, 0, batch);
    EXPECT_EQ(dirs.market(0).size(), 1u);
    EXPECT_EQ(dirs.FindMarket("002155", ""), kNoMarket);
    dirs.assign(0, 1, batch);
    EXPECT_EQ(dirs.market(0).size(), 2u);
    dirs.clear();
    EXPECT_EQ(dirs.FindMarket("510050", ""), kNoMarket);
    EXPECT_EQ(dirs.StockDecimals("510050", 1), 2);
}
