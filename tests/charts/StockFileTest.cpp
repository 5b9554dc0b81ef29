// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "StockFile.h"

namespace fs = std::filesystem;

namespace {

class StockFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        m_dir = fs::temp_directory_path() / ("vexlora-stockfile-" + std::to_string(seed()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string path(const char* name) const { return (m_dir / name).string(); }

    static void write(const std::string& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    static std::string read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path m_dir;
};

std::string bytesOf(const DayRecord& record) {
    std::string bytes(sizeof record, '\0');
    std::memcpy(bytes.data(), &record, sizeof record);
    return bytes;
}

// A whole-day record: its key (the first 16 bits of Date) is 0.
DayRecord day(double date, float close, float volume = 0) {
    DayRecord r{};
    r.Date = date;
    r.Close = close;
    r.Volume = volume;
    return r;
}

// Records whose first two bytes are the given keys, and whose Close is the position.
std::string keyedImage(const std::vector<std::uint16_t>& keys) {
    std::string image;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        std::string bytes = bytesOf(day(45000.0, static_cast<float>(i)));
        bytes[0] = static_cast<char>(keys[i] & 0xFF);
        bytes[1] = static_cast<char>(keys[i] >> 8);
        image += bytes;
    }
    return image;
}

std::optional<float> closeOf(const std::optional<DayRecord>& record) {
    if (!record) return std::nullopt;
    return record->Close;
}

}  // namespace

TEST_F(StockFileTest, RecordLayoutMatchesHandBuiltBytes) {
    const unsigned char expected[52] = {
        0x00, 0x00, 0x00, 0x00, 0x00, 0xF9, 0xE5, 0x40,  // Date 45000.0
        0x00, 0x00, 0x80, 0x3F,                          // Open 1
        0x00, 0x00, 0x00, 0x40,                          // High 2
        0x00, 0x00, 0x00, 0x3F,                          // Low 0.5
        0x00, 0x00, 0x40, 0x40,                          // Close 3
        0x00, 0x00, 0xC8, 0x42,                          // Volume 100
        0x00, 0x00, 0x80, 0x40,                          // PrevClose 4
        0x00, 0x00, 0x80, 0xBF,                          // ChangePct -1
        0x00, 0x00, 0x20, 0x41,                          // Amplitude 10
        0x00, 0x00, 0x00, 0x41,                          // Amount 8
        0x04, 0x03, 0x02, 0x01,                          // Reserved
        0x00, 0x00, 0x80, 0x41,                          // FloatShares 16
    };
    const DayRecord record{45000.0, 1.0f, 2.0f, 0.5f, 3.0f, 100.0f, 4.0f, -1.0f, 10.0f, 8.0f, 0x01020304u, 16.0f};
    const std::string hand(reinterpret_cast<const char*>(expected), sizeof expected);
    EXPECT_EQ(bytesOf(record), hand);

    // Read back from a file at an odd record position, where Date is not 8-byte aligned.
    write(path("600000.dat"), bytesOf(day(1.0, 0)) + hand);
    const TDataFile file(path("600000.dat"));
    const std::optional<DayRecord> newest = file.Lookup(0);
    ASSERT_TRUE(newest);
    EXPECT_EQ(bytesOf(*newest), hand);
}

TEST_F(StockFileTest, LookupCountsBackFromNewestAndTreatsOtherValuesAsKeys) {
    write(path("a.dat"), bytesOf(day(45000, 10)) + bytesOf(day(45001, 11)) + bytesOf(day(45002, 12)));
    write(path("k.dat"), keyedImage({100, 30000, 65535}));
    const TDataFile days(path("a.dat"));
    const TDataFile keyed(path("k.dat"));
    const struct Case {
        const TDataFile& file;
        int value;
        std::optional<float> close;
    } cases[] = {
        {days, 0, 12},                 // newest
        {days, 2, 10},                 // count - 1: oldest
        {days, 3, std::nullopt},       // count
        {days, 20000, std::nullopt},   // a position, past the oldest
        {days, -1, std::nullopt},      // 65535: a key, and whole-day keys are 0
        {keyed, -1, 2},                // 65535 found by key
        {keyed, 30000, 1},             // above 20000: a key
        {keyed, 20001, std::nullopt},  // a key that is absent
        {keyed, 65536, std::nullopt},  // does not fit 16 bits: not wrapped to position 0
        {keyed, -65536, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(closeOf(c.file.Lookup(c.value)), c.close) << "value " << c.value;
}

TEST_F(StockFileTest, KeySearchFindsInAscendingUnsignedOrder) {
    write(path("k.dat"), keyedImage({3, 10, 200, 40000, 65535}));
    const TDataFile file(path("k.dat"));
    const struct Case {
        std::uint16_t key;
        int lo, hi;
        int index;
    } cases[] = {
        {3, 0, 4, 0},      {10, 0, 4, 1},    {200, 0, 4, 2},  {40000, 0, 4, 3}, {65535, 0, 4, 4},
        {0, 0, 4, -1},     {4, 0, 4, -1},    {39999, 0, 4, -1}, {65534, 0, 4, -1},
        {3, 1, 4, -1},     {200, 2, 2, 2},   {10, 3, 2, -1},
        {65535, -5, 100, 4},  // a range wider than the file is clamped to its records
        {3, -5, 100, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(file.SearchIndex(c.key, c.lo, c.hi), c.index) << "key " << c.key << " in " << c.lo << ".." << c.hi;
        EXPECT_EQ(file.FindByKey(c.key, c.lo, c.hi), c.index < 0 ? nullptr : file.GetRecord(c.index));
        if (c.lo <= 0 && c.hi >= 4) {
            EXPECT_EQ(file.IndexOfKey(c.key), c.index);
        }
    }
}

TEST_F(StockFileTest, MissingFileHasNoRecordsAndSavesNothing) {
    const std::string name = path("000001.dat");
    const TDataFile file(name);
    EXPECT_TRUE(file.loadStatus().isOk());
    EXPECT_EQ(file.GetCount(), 0);
    EXPECT_EQ(file.GetMemory(), nullptr);
    EXPECT_EQ(file.GetRecord(0), nullptr);
    EXPECT_EQ(file.RecordAddress(0), nullptr);
    EXPECT_FALSE(file.Lookup(0));
    EXPECT_EQ(file.IndexOfKey(0), -1);
    TArrayOfSingle values{1.0f};
    file.GetCloseArray(values);
    EXPECT_TRUE(values.empty());
    file.GetCloseDiffArray(values);
    EXPECT_TRUE(values.empty());
    file.GetVolumeArray(values);
    EXPECT_TRUE(values.empty());
    EXPECT_TRUE(file.Save().isOk());
    EXPECT_FALSE(fs::exists(name));
}

TEST_F(StockFileTest, UnreadableFileIsReportedAndHasNoRecords) {
    fs::create_directory(path("dir.dat"));
    const TDataFile file(path("dir.dat"));
    EXPECT_FALSE(file.loadStatus().isOk());
    EXPECT_EQ(file.GetCount(), 0);
    EXPECT_EQ(file.GetMemory(), nullptr);
}

TEST_F(StockFileTest, BytesAfterTheLastWholeRecordAreIgnored) {
    const struct Case {
        std::size_t extra;
        int count;
    } cases[] = {{0, 2}, {1, 2}, {51, 2}, {52, 3}};
    for (const Case& c : cases) {
        write(path("t.dat"), bytesOf(day(45000, 1)) + bytesOf(day(45001, 2)) + std::string(c.extra, '\x7F'));
        const TDataFile file(path("t.dat"));
        EXPECT_EQ(file.GetCount(), c.count) << c.extra << " extra bytes";
        EXPECT_EQ(file.GetRecord(c.count), nullptr);
        EXPECT_EQ(file.GetRecord(-1), nullptr);
        ASSERT_TRUE(file.Lookup(c.count - 2));
        EXPECT_EQ(file.Lookup(c.count - 2)->Close, 2.0f);
    }
}

TEST_F(StockFileTest, RecordAddressWrapsAroundTheRecords) {
    write(path("r.dat"), bytesOf(day(45000, 1)) + bytesOf(day(45001, 2)) + bytesOf(day(45002, 3)));
    const TDataFile file(path("r.dat"));
    const std::uint8_t* first = file.GetMemory();
    const struct Case {
        int index;
        int position;
    } cases[] = {{0, 0}, {2, 2}, {3, 0}, {7, 1}, {-1, 2}, {-4, 2}};
    for (const Case& c : cases) EXPECT_EQ(file.RecordAddress(c.index), first + c.position * 52) << c.index;
}

TEST_F(StockFileTest, ColumnArraysRunOldestFirst) {
    write(path("c.dat"), bytesOf(day(45000, 1.0f, 500)) + bytesOf(day(45001, 3.0f, 700)) + bytesOf(day(45002, 2.5f, 0)));
    write(path("one.dat"), bytesOf(day(45000, 9.0f, 5)));
    const TDataFile file(path("c.dat"));
    const TDataFile one(path("one.dat"));
    TArrayOfSingle values;
    file.GetCloseArray(values);
    EXPECT_EQ(values, (TArrayOfSingle{1.0f, 3.0f, 2.5f}));
    file.GetVolumeArray(values);
    EXPECT_EQ(values, (TArrayOfSingle{500, 700, 0}));
    file.GetCloseDiffArray(values);
    EXPECT_EQ(values, (TArrayOfSingle{0.0f, 2.0f, -0.5f}));
    one.GetCloseDiffArray(values);
    EXPECT_EQ(values, (TArrayOfSingle{0.0f}));
}

TEST_F(StockFileTest, SaveWritesTheImageBackUnchanged) {
    const std::string image = bytesOf(day(45000, 1)) + bytesOf(day(45001, 2)) + "xyz";
    write(path("s.dat"), image);
    const std::shared_ptr<IDataFile> file = std::make_shared<TDataFile>("  " + path("s.dat") + " \t");
    EXPECT_EQ(file->GetName(), path("s.dat"));
    EXPECT_EQ(file->GetCount(), 2);

    ASSERT_TRUE(file->SaveToFile(path("copy.dat")).isOk());
    EXPECT_EQ(read(path("copy.dat")), image);
    fs::remove(path("s.dat"));
    ASSERT_TRUE(file->Save().isOk());
    EXPECT_EQ(read(path("s.dat")), image);

    const Status failed = file->SaveToFile(path("no-such-folder/s.dat"));
    EXPECT_FALSE(failed.isOk());
    EXPECT_FALSE(failed.message().empty());
}
