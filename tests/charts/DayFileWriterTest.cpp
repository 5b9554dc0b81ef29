// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "DayFileWriter.h"
#include "FileIo.h"
#include "StockFile.h"

namespace {

TTDX_DAYInfo day(std::uint32_t date, float open, float high, float low, float close) {
    TTDX_DAYInfo d{};
    d.Date = date;
    d.Open = open;
    d.High = high;
    d.Low = low;
    d.Close = close;
    d.Volume = 123456;
    d.Amount = 98765432.0f;
    return d;
}

std::vector<TTDX_DAYInfo> days(int n) {
    std::vector<TTDX_DAYInfo> out;
    for (int i = 0; i < n; ++i) out.push_back(day(20260101 + static_cast<std::uint32_t>(i % 28), 10.0f + i, 10.5f + i, 9.5f + i, 10.2f + i));
    return out;
}

struct DayFiles : ::testing::Test {
    QTemporaryDir folder;
    std::vector<std::string> memTxt;
    std::filesystem::path root() const { return folder.path().toStdString(); }
    std::filesystem::path file() const { return root() / "data" / "600489.dat"; }
    DayFileOutcome write(const std::vector<TTDX_DAYInfo>& d, std::optional<std::string> shares = "98000") {
        return WriteDayFile(root(), "600489SH", d, shares, memTxt);
    }
    std::uintmax_t size() const { return std::filesystem::file_size(file()); }
};

}  // namespace

TEST_F(DayFiles, AHundredDaysMakeNinetyNineRecords) {
    int pumps = 0;
    const std::vector<TTDX_DAYInfo> reply = days(100);
    const DayFileOutcome out = WriteDayFile(root(), "600489SH", reply, std::string("98000"), memTxt, [&] { ++pumps; });
    EXPECT_EQ(out.kind, DayFileOutcome::Written);
    EXPECT_EQ(out.records, 99);
    EXPECT_EQ(pumps, 100);
    ASSERT_EQ(memTxt.size(), 100u);
    EXPECT_EQ(memTxt[0], "20260101:600489:10.00:10.50:9.50:10.20:123456:98765432");

    TDataFile f(file().string());
    ASSERT_EQ(f.GetCount(), 99);
    const DayRecord first = readDayRecord(f.GetRecord(0));
    EXPECT_FLOAT_EQ(first.PrevClose, 10.2f) << "the dropped day's close";
    EXPECT_FLOAT_EQ(first.Close, 11.2f);
    EXPECT_FLOAT_EQ(first.ChangePct, 9.8f);       // (11.2 - 10.2) / 10.2 * 100
    EXPECT_FLOAT_EQ(first.Amplitude, 9.52f);      // (11.5 - 10.5) / 10.5 * 100
    EXPECT_FLOAT_EQ(first.FloatShares, 98000.0f);
    EXPECT_DOUBLE_EQ(first.Date, DayNumber(2026, 1, 2));
    EXPECT_EQ(first.Reserved, 0u);
}

TEST_F(DayFiles, TheNormalCasesReplaceOrRemoveTheOldFile) {
    ASSERT_EQ(write(days(5)).records, 4);
    EXPECT_EQ(write(days(2)).kind, DayFileOutcome::Written);
    EXPECT_EQ(size(), 0u) << "two days: an empty file";
    ASSERT_EQ(write(days(5)).records, 4);
    EXPECT_EQ(write(days(1)).kind, DayFileOutcome::Removed);
    EXPECT_FALSE(std::filesystem::exists(file()));
    ASSERT_EQ(write(days(5)).records, 4);
    EXPECT_EQ(write(days(5), std::nullopt).kind, DayFileOutcome::Removed) << "a code the directory does not know";
    EXPECT_FALSE(std::filesystem::exists(file()));
    EXPECT_DOUBLE_EQ(DayNumber(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(DayNumber(2000, 3, 1), 36586.0);
}

TEST_F(DayFiles, AReplyThatCannotBeConvertedKeepsThePreviousFile) {
    ASSERT_EQ(write(days(5)).records, 4);
    std::string before;
    ASSERT_TRUE(fileio::readFile(file(), before).isOk());
    std::vector<TTDX_DAYInfo> zeroLow = days(5);
    zeroLow[3].Low = 0;
    for (const auto& [reply, shares] : {std::pair{days(6), std::string("n/a")}, {zeroLow, std::string("98000")}}) {
        const DayFileOutcome out = write(reply, shares);
        EXPECT_EQ(out.kind, DayFileOutcome::KeptOld);
        EXPECT_FALSE(out.error.empty());
        std::string after;
        ASSERT_TRUE(fileio::readFile(file(), after).isOk());
        EXPECT_EQ(after, before);
    }
}
