// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <string>

#include "FileIo.h"
#include "Gbk.h"
#include "IniFile.h"

namespace {

// "乚" is the GBK pair 0x81 0x5D: its trail byte is ']'.
const std::string kTrailBracket = "\x81\x5D";

class IniFileOnDisk : public ::testing::Test {
protected:
    std::filesystem::path path(const char* name = "config.ini") const {
        return m_dir.filePath(QString::fromUtf8(name)).toStdString();
    }
    void store(const std::string& bytes) const {
        ASSERT_TRUE(fileio::writeFileAtomically(path(), bytes).isOk());
    }
    std::string stored() const {
        std::string bytes;
        EXPECT_TRUE(fileio::readFile(path(), bytes).isOk());
        return bytes;
    }
    QTemporaryDir m_dir;
};

}  // namespace

TEST_F(IniFileOnDisk, MissingFileSectionOrKeyGivesTheDefault) {
    const IniFile ini(path());
    EXPECT_EQ(ini.readString("Tikvane", "Code_1", "none"), "none");
    store("[SeverID]\r\nID=26\r\nCode_1=in another section\r\n");
    EXPECT_EQ(ini.readString("Tikvane", "Code_1", "none"), "none");
    EXPECT_EQ(ini.readString("SeverID", "Name_1", ""), "");
    EXPECT_EQ(ini.readString("SeverID", "ID", "0"), "26");
}

TEST_F(IniFileOnDisk, ReadsAsTheProfileFunctionsDo) {
    store(
        "Code_1=before any section\r\n"
        "[SeverID]\r\n"
        "  ID = 26  \r\n"
        " [tikvane] ; the watch list\n"
        "code_1=600489\n"
        "CODE_1=a second Code_1\n"
        "Name_1=\xD6\xD0\xBD\xF0\xBB\xC6\xBD\xF0\r"
        "a line without an equals sign\r\n"
        "Name_2=\"  quoted  \"\r\n"
        "Name_3='\r\n"
        "Code_2=\r\n"
        ";Code_3=commented out\r\n"
        "[Tikvane]\r\n"
        "Code_4=in the second section of the name\r\n"
        "[" +
        kTrailBracket +
        "]\r\n"
        "Key=last line without a break");
    const IniFile ini(path());
    const struct Case {
        const char* section;
        const char* key;
        std::string expected;
    } cases[] = {
        {"SeverID", "ID", "26"},
        {"TIKVANE", "Code_1", "600489"},  // case-insensitive; the first of two keys counts
        {" Tikvane ", " Code_1 ", "600489"},
        {"Tikvane", "Name_1", "中金黄金"},  // GBK on disk, and a line ended by CR alone
        {"Tikvane", "Name_2", "  quoted  "},
        {"Tikvane", "Name_3", "'"},  // a lone quote is no pair
        {"Tikvane", "Code_2", ""},   // present but empty: not the default
        {"Tikvane", "Code_3", "default"},
        {"Tikvane", "Code_4", "default"},
        {"Tikvane", "a line without an equals sign", "default"},
        {"", "Code_1", "default"},
        {"乚", "Key", "last line without a break"},
    };
    for (const Case& c : cases) EXPECT_EQ(ini.readString(c.section, c.key, "default"), c.expected) << c.key;
}

TEST_F(IniFileOnDisk, ValueIsCutToTheBufferInGbkBytes) {
    const IniFile ini(path());
    std::string chinese;
    for (int i = 0; i < 200; ++i) chinese += "中";
    const struct Case {
        std::string value, expected;
    } cases[] = {
        {std::string(300, 'a'), std::string(255, 'a')},
        {"x" + chinese, "x" + chinese.substr(0, 127 * 3)},    // 255 bytes
        {"xx" + chinese, "xx" + chinese.substr(0, 126 * 3)},  // the 127th character would be split
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(ini.writeString("Tikvane", "Name_1", c.value).isOk());
        const std::string read = ini.readString("Tikvane", "Name_1", "");
        EXPECT_EQ(read, c.expected);
        EXPECT_LE(gbk::fromUtf8(read).size(), IniFile::kMaxValueBytes);
    }
}

TEST_F(IniFileOnDisk, DamagedFileNeverStopsTheReaderAndSurvivesAWrite) {
    std::string junk;
    for (int i = 0; i < 8192; ++i) junk += static_cast<char>((i * 7919 + i / 256) % 256);
    const std::string damaged = junk + "\n[Tikvane]\nCode_1=600489";
    store(damaged);
    const IniFile ini(path());
    EXPECT_EQ(ini.readString("Tikvane", "Code_1", ""), "600489");
    EXPECT_EQ(ini.readString("SeverID", "ID", "0"), "0");

    ASSERT_TRUE(ini.writeString("Tikvane", "Code_2", "000001").isOk());
    EXPECT_EQ(stored().substr(0, damaged.size()), damaged);
    EXPECT_EQ(ini.readString("Tikvane", "Code_2", ""), "000001");
    EXPECT_EQ(ini.readString("Tikvane", "Code_1", ""), "600489");
}

TEST_F(IniFileOnDisk, WriteKeepsEveryOtherLine) {
    const std::string watchList =
        "; watch list\r\n[Tikvane]\r\ncode_1 = 1 \r\nName_1=a\r\n\r\n[SeverID]\r\nID=3\r\n";
    const struct Case {
        const char* what;
        std::string before;  // empty: no file yet
        const char* section;
        const char* key;
        const char* value;
        std::string after;
    } cases[] = {
        {"replaces a value, keeping the key's spelling", watchList, "Tikvane", "Code_1", "600489",
         "; watch list\r\n[Tikvane]\r\ncode_1=600489\r\nName_1=a\r\n\r\n[SeverID]\r\nID=3\r\n"},
        {"adds a key after the last line of its section", watchList, "Tikvane", "Code_2", "000001",
         "; watch list\r\n[Tikvane]\r\ncode_1 = 1 "
         "\r\nName_1=a\r\nCode_2=000001\r\n\r\n[SeverID]\r\nID=3\r\n"},
        {"adds a section, with the file's own line breaks", "[SeverID]\nID=3", "Tikvane", "Code_1", "1",
         "[SeverID]\nID=3\n[Tikvane]\nCode_1=1\n"},
        {"creates the file, GBK on disk", "", "Tikvane", "Name_1", "中金黄金",
         "[Tikvane]\r\nName_1=\xD6\xD0\xBD\xF0\xBB\xC6\xBD\xF0\r\n"},
        {"line breaks in a value add no lines", "", "SeverID", "ID", "1\r\n[Evil]\nx=2",
         "[SeverID]\r\nID=1  [Evil] x=2\r\n"},
        {"bytes that are no GBK stay as they are", "[X]\r\nk=\xFF\xD6\r\n[Tikvane]\r\n", "Tikvane", "Code_1",
         "1", "[X]\r\nk=\xFF\xD6\r\n[Tikvane]\r\nCode_1=1\r\n"},
        {"a section name whose GBK bytes hold ']'", "[" + kTrailBracket + "]\r\nKey=1\r\n", "乚", "Key", "2",
         "[" + kTrailBracket + "]\r\nKey=2\r\n"},
    };
    const IniFile ini(path());
    for (const Case& c : cases) {
        std::filesystem::remove(path());
        if (!c.before.empty()) store(c.before);
        ASSERT_TRUE(ini.writeString(c.section, c.key, c.value).isOk()) << c.what;
        EXPECT_EQ(stored(), c.after) << c.what;
    }
}

TEST_F(IniFileOnDisk, RefusesWhatItCouldNotStore) {
    const IniFile ini(path());
    const struct Case {
        const char* section;
        const char* key;
    } cases[] = {
        {"", "ID"},         {"SeverID", " "},   {"Sever]ID", "ID"}, {"Sever\nID", "ID"},
        {"SeverID", "I=D"}, {"SeverID", ";ID"}, {"SeverID", "[ID"}, {"SeverID", "I\rD"},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(ini.writeString(c.section, c.key, "1").isOk()) << c.section << c.key;
    EXPECT_FALSE(std::filesystem::exists(path()));

    const IniFile nowhere(path("no such folder/config.ini"));
    EXPECT_FALSE(nowhere.writeString("SeverID", "ID", "1").isOk());
}
