// SPDX-License-Identifier: GPL-3.0-or-later
// The watch list: slots in config.ini shown as quote-table rows, filled from the directory.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "FileIo.h"
#include "IniFile.h"
#include "TableFile.h"
#include "pasCommon.h"
#include "MagicStockModel.h"
#include "StockModel.h"

namespace {

struct WatchListFixture : ::testing::Test {
    QTemporaryDir folder;
    QuoteTable quote;
    std::filesystem::path path(const char* name) const { return std::filesystem::path(folder.path().toStdString()) / name; }

    WatchListFixture() {
        TextGrid band(8, 4);
        const char* rows[][8] = {
            {"002155", "辰州矿业", "CZKY", "6.5", "湖南", "有色金属", "黄金概念", "52000"},
            {"600489", "中金黄金", "zjhj", "5.0", "北京", "有色金属", "黄金概念", "98000"},
            {"600030", "中信证券", "ZXZQ", "4.2", "北京", "证券", "融资融券", "880000"},
            {"999999", "上证指数", "SZZS", "", "", "", "", ""},
        };
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 8; ++c) band.setCell(c, r, rows[r][c]);
        EXPECT_TRUE(writeTableFile(band, path("band.bin")).isOk());
    }
    void slot(int k, const char* code, const char* name) {
        const IniFile ini(path("config.ini"));
        ASSERT_TRUE(ini.writeString("Tikvane", "Code_" + std::to_string(k), code).isOk());
        ASSERT_TRUE(ini.writeString("Tikvane", "Name_" + std::to_string(k), name).isOk());
    }
    TfrmStockModel loaded() {
        TfrmStockModel m(folder.path().toStdString());
        EXPECT_TRUE(m.btnLoadClick(quote).isOk());
        return m;
    }
};

}  // namespace

TEST_F(WatchListFixture, SlotsBecomeQuoteRowsWithTheirDirectoryColumns) {
    slot(1, "002155", "辰州矿业");
    slot(3, "600489", "中金黄金");
    slot(4, "300999", "不在目录");
    quote.SGStock.setCell(40, 3, "stale");
    TfrmStockModel m = loaded();
    EXPECT_EQ(quote.SGStock.cell(1, 2), "002155");
    EXPECT_EQ(quote.SGStock.cell(15, 2), "52000");
    EXPECT_EQ(quote.SGStock.cell(35, 2), "6.5");
    EXPECT_EQ(quote.SGStock.cell(36, 2), "CZKY");
    EXPECT_EQ(quote.SGStock.cell(39, 2), "黄金概念");
    EXPECT_EQ(quote.SGStock.cell(0, 3), "2") << "an empty slot keeps only its number";
    EXPECT_EQ(quote.SGStock.cell(1, 3), "");
    EXPECT_EQ(quote.SGStock.cell(40, 3), "");
    EXPECT_EQ(quote.SGStock.cell(2, 4), "中金黄金");
    EXPECT_EQ(quote.SGStock.cell(37, 4), "北京");
    EXPECT_EQ(quote.SGStock.cell(2, 5), "不在目录") << "unknown to the directory: code and name only";
    EXPECT_EQ(quote.SGStock.cell(15, 5), "");
    EXPECT_EQ(quote.CurrentCode, "002155");
    EXPECT_EQ(quote.CurrentName, "辰州矿业");
    EXPECT_EQ(m.codes[2], "600489");
}

TEST_F(WatchListFixture, PickedResultsFillTheFirstFreeSlot) {
    slot(1, "002155", "辰州矿业");
    slot(3, "600489", "中金黄金");
    TfrmStockModel m = loaded();
    m.edt_CNChange("zx");
    ASSERT_EQ(m.VLE_CN, std::vector<std::string>{"600030=中信证券"});
    EXPECT_TRUE(m.VLE_CNDblClick());
    EXPECT_EQ(m.codes[1], "600030");
    EXPECT_EQ(m.names[1], "中信证券");

    for (int k : {4, 5}) m.codes[static_cast<std::size_t>(k - 1)] = "600000";
    m.edt_CNChange("99");
    EXPECT_TRUE(m.VLE_CNDblClick());
    EXPECT_EQ(m.codes[0], "999999") << "all five full: slot 1 gives way";

    m.VLE_CNSelectCell(2);
    EXPECT_FALSE(m.VLE_CNDblClick()) << "the remembered row names no result";
    m.VLE_CN = {"abcd"};
    m.VLE_CNSelectCell(1);
    EXPECT_FALSE(m.VLE_CNDblClick()) << "four characters are no entry";
}

TEST_F(WatchListFixture, OkSavesTheSlotsAndCancelEmptiesThem) {
    slot(2, "600489", "中金黄金");
    TfrmStockModel m = loaded();
    m.codes[4] = "600030";
    m.names[4] = "中信证券";
    ASSERT_TRUE(m.btnOKClick(quote).isOk());
    EXPECT_EQ(IniFile(path("config.ini")).readString("TIKVANE", "code_5", ""), "600030");
    EXPECT_EQ(quote.SGStock.cell(1, 6), "600030");
    EXPECT_EQ(quote.SGStock.cell(15, 6), "880000");

    m.btnCancelClick();
    EXPECT_EQ(IniFile(path("config.ini")).readString("Tikvane", "Code_2", ""), "600489") << "cancel saves nothing";
    ASSERT_TRUE(m.btnOKClick(quote).isOk());
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(IniFile(path("config.ini")).readString("Tikvane", "Code_" + std::to_string(k), "x"), "");
    EXPECT_EQ(quote.SGStock.cell(1, 3), "");
}

TEST_F(WatchListFixture, AMissingOrDamagedDirectory) {
    slot(1, "002155", "辰州矿业");
    quote.SGStock.setCell(1, 2, "untouched");
    std::filesystem::remove(path("band.bin"));
    TfrmStockModel missing(folder.path().toStdString());
    EXPECT_TRUE(missing.btnLoadClick(quote).isOk());
    EXPECT_EQ(quote.SGStock.cell(1, 2), "untouched") << "no band.bin: the watch list is not applied";
    missing.edt_CNChange("00");
    EXPECT_TRUE(missing.VLE_CN.empty());

    ASSERT_TRUE(fileio::writeFileAtomically(path("band.bin"), std::string("\x05\0\0\0\x08\0\0\0\xff", 9)).isOk());
    TfrmStockModel damaged(folder.path().toStdString());
    EXPECT_FALSE(damaged.btnLoadClick(quote).isOk());
    EXPECT_EQ(damaged.SGStock.rowCount(), 0);
    EXPECT_EQ(quote.SGStock.cell(1, 2), "002155") << "the slots still show";
}

TEST_F(WatchListFixture, TheWizardPutsASixCharacterCodeIntoTheCurrentRow) {
    TfrmStockModel m = loaded();
    quote.CurrentRow = 3;
    TfrmMagicStockModel wizard;
    wizard.edt_CNChange(m.SGStock, "60");
    ASSERT_EQ(wizard.VLE_CN, (std::vector<std::string>{"600489=中金黄金", "600030=中信证券"}));
    wizard.VLE_CNSelectCell(2);
    EXPECT_TRUE(wizard.VLE_CNDblClick(quote));
    EXPECT_EQ(quote.SGStock.cell(1, 3), "600030");
    EXPECT_EQ(quote.SGStock.cell(2, 3), "中信证券");
    EXPECT_EQ(IniFile(path("config.ini")).readString("Tikvane", "Code_2", ""), "") << "not saved";

    wizard.VLE_CN = {"60003=中信"};
    wizard.VLE_CNSelectCell(1);
    EXPECT_FALSE(wizard.VLE_CNDblClick(quote)) << "a five-character code stays in the wizard";
    EXPECT_EQ(quote.SGStock.cell(1, 3), "600030");
    wizard.edt_CNChange(m.SGStock, "6004891");
    EXPECT_TRUE(wizard.VLE_CN.empty()) << "no code has seven digits";
    EXPECT_FALSE(wizard.VLE_CNDblClick(quote));
}
