// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

#include "FileIo.h"
#include "TableFile.h"

namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

// The table of one row and two columns holding "1" and "ab".
const std::string kWorkedExample =
    bytes({1, 0, 0, 0, 2, 0, 0, 0, 7, 0, 0, 0, 0x0A, 0x0D, 0x62, 0x61, 0x0A, 0x0D, 0x31});

TextGrid sampleTable() {
    TextGrid grid(3, 3);
    grid.setCell(0, 0, "代 码");
    grid.setCell(1, 0, "名 称");
    grid.setCell(0, 1, "600489");
    grid.setCell(1, 1, "中金黄金");
    grid.setCell(2, 1, "-1.25");
    grid.setCell(0, 2, "000001");
    grid.setCell(1, 2, "深发展A");
    return grid;
}

void expectSameCells(const TextGrid& a, const TextGrid& b) {
    ASSERT_EQ(a.rowCount(), b.rowCount());
    ASSERT_EQ(a.columnCount(), b.columnCount());
    for (int r = 0; r < a.rowCount(); ++r)
        for (int c = 0; c < a.columnCount(); ++c) EXPECT_EQ(a.cell(c, r), b.cell(c, r)) << c << "," << r;
}

class TableFileOnDisk : public ::testing::Test {
protected:
    std::filesystem::path path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)).toStdString(); }
    QTemporaryDir m_dir;
};

}  // namespace

TEST(TableFile, WorkedExampleByteForByte) {
    TextGrid grid(2, 1);
    grid.setCell(0, 0, "1");
    grid.setCell(1, 0, "ab");
    EXPECT_EQ(serializeTableFile(grid), kWorkedExample);

    TextGrid read(0, 0);
    ASSERT_TRUE(parseTableFile(kWorkedExample, read).isOk());
    expectSameCells(read, grid);
}

TEST(TableFile, ChineseTextIsGbkWithBytesSwapped) {
    TextGrid grid(1, 1);
    grid.setCell(0, 0, "中");  // GBK D6 D0
    EXPECT_EQ(serializeTableFile(grid), bytes({1, 0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 0x0A, 0x0D, 0xD0, 0xD6}));
}

TEST(TableFile, EmptyCellsAndEmptyTables) {
    TextGrid blank(3, 1);
    EXPECT_EQ(serializeTableFile(blank).substr(8, 4), bytes({6, 0, 0, 0}));  // n = 2 × C

    TextGrid read(5, 5);
    ASSERT_TRUE(parseTableFile(bytes({0, 0, 0, 0, 136, 0, 0, 0}), read).isOk());
    EXPECT_EQ(read.rowCount(), 0);
    EXPECT_EQ(read.columnCount(), 136);
}

TEST(TableFile, ReaderAcceptsEveryLineBreakAndClearsOldCells) {
    // "a" CR "b" LF "c" CR LF, stored reversed; the old cells of the grid are gone.
    const std::string text = "a\rb\nc\r\n";
    TextGrid grid(4, 2);
    grid.setCell(3, 0, "old");
    ASSERT_TRUE(parseTableFile(bytes({1, 0, 0, 0, 4, 0, 0, 0, 7, 0, 0, 0}) + std::string(text.rbegin(), text.rend()),
                               grid)
                    .isOk());
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.cell(0, 0), "a");
    EXPECT_EQ(grid.cell(1, 0), "b");
    EXPECT_EQ(grid.cell(2, 0), "c");
    EXPECT_EQ(grid.cell(3, 0), "");
}

TEST(TableFile, DamagedFilesAreRejectedAndLeaveTheTable) {
    const std::string good = serializeTableFile(sampleTable());
    std::string longRow = good;
    longRow[8] = 0x7F;  // first row length far past the end
    std::string negativeLength = good;
    negativeLength[11] = static_cast<char>(0x80);
    struct Case {
        const char* what;
        std::string file;
        const char* message;
    } cases[] = {
        {"empty file", "", "too short"},
        {"cut in a row", good.substr(0, good.size() - 3), "runs past the end"},
        {"cut in a length", bytes({2, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 0x0A, 0x0D, 2, 0}), "row 1: length cut off"},
        {"length past the end", longRow, "runs past the end"},
        {"negative length", negativeLength, "negative length"},
        {"negative count", bytes({0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0}), "negative row count"},
        {"negative columns", bytes({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}), "negative column count"},
        {"count beyond the file", bytes({0x10, 0x27, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}), "exceeds"},
        {"columns beyond limit", bytes({0, 0, 0, 0, 0, 0, 0, 0x10}), "exceeds"},
        {"cells beyond the file", bytes({200, 0, 0, 0, 0, 0, 1, 0}) + std::string(800, '\0'), "exceed"},
        {"bytes after the last row", good + "x", "after the last row"},
    };
    for (const Case& c : cases) {
        TextGrid grid = sampleTable();
        const Status s = parseTableFile(c.file, grid);
        EXPECT_FALSE(s.isOk()) << c.what;
        EXPECT_NE(s.message().find(c.message), std::string::npos) << c.what << ": " << s.message();
        expectSameCells(grid, sampleTable());
    }
}

TEST(TableFile, BandReadingStopsAtTheFirstBlankRow) {
    TextGrid source(2, 4);
    source.setCell(0, 0, "000001");
    source.setCell(0, 1, "  ");  // blank after trimming
    source.setCell(0, 2, "600000");
    std::string file = serializeTableFile(source);
    file += "damage after the blank row is never read";
    file.replace(0, 1, 1, '\x04');

    TextGrid grid(0, 0);
    ASSERT_TRUE(parseTableFile(file, grid, TableReadMode::StopAtBlankRow).isOk());
    EXPECT_EQ(grid.rowCount(), 4);
    EXPECT_EQ(grid.cell(0, 0), "000001");
    EXPECT_EQ(grid.cell(0, 1), "");
    EXPECT_EQ(grid.cell(0, 2), "");
    EXPECT_FALSE(parseTableFile(file, grid).isOk());
}

TEST_F(TableFileOnDisk, SaveAndLoadRoundTrip) {
    const auto file = path("hskqt.bin");
    ASSERT_TRUE(writeTableFile(sampleTable(), file).isOk());
    TextGrid read(0, 0);
    ASSERT_TRUE(readTableFile(file, read).isOk());
    expectSameCells(read, sampleTable());

    // A cell with a line break keeps its place in the row.
    TextGrid broken(2, 1);
    broken.setCell(0, 0, "a\r\nb");
    broken.setCell(1, 0, "c");
    ASSERT_TRUE(writeTableFile(broken, file).isOk());
    ASSERT_TRUE(readTableFile(file, read).isOk());
    EXPECT_EQ(read.cell(0, 0), "a  b");
    EXPECT_EQ(read.cell(1, 0), "c");
}

TEST_F(TableFileOnDisk, FailedWriteKeepsThePreviousFile) {
    const auto file = path("zijin.bin");
    ASSERT_TRUE(writeTableFile(sampleTable(), file).isOk());
    const auto into = path("missing/folder/x.bin");
    EXPECT_FALSE(writeTableFile(sampleTable(), into).isOk());
    std::string kept;
    ASSERT_TRUE(fileio::readFile(file, kept).isOk());
    EXPECT_EQ(kept, serializeTableFile(sampleTable()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.path().toStdString()), {}), 1);
}

TEST_F(TableFileOnDisk, MissingFileNamesThePath) {
    TextGrid grid(0, 0);
    const Status s = readTableFile(path("band.bin"), grid);
    ASSERT_FALSE(s.isOk());
    EXPECT_NE(s.message().find("band.bin"), std::string::npos);
}
