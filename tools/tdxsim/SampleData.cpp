// SPDX-License-Identifier: GPL-3.0-or-later
#include "SampleData.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <system_error>

#include "FileIo.h"
#include "Gbk.h"
#include "TableFile.h"

namespace {

// The initial of every Chinese character the synthetic names use.
const std::map<std::string, char>& initialsTable() {
    static const std::map<std::string, char> table = [] {
        const char* const groups[][2] = {
            {"A", "安"},
            {"B", "北包板邦保"},
            {"C", "长创成辰产车传材"},
            {"D", "东大达电地"},
            {"F", "发丰峰份"},
            {"G", "国光钢股工"},
            {"H", "华海宏恒汇和黄沪化环行"},
            {"J", "金基技机件"},
            {"K", "科矿"},
            {"L", "隆联陵力流料"},
            {"M", "明媒"},
            {"N", "南能"},
            {"P", "品"},
            {"Q", "券汽"},
            {"R", "瑞软"},
            {"S", "深上盛色食数"},
            {"T", "天泰通铜土铁"},
            {"W", "物"},
            {"X", "西新信兴鑫稀小械"},
            {"Y", "源远宇阳业有药银"},
            {"Z", "中证州展指子"},
        };
        std::map<std::string, char> t;
        for (const auto& g : groups) {
            const std::string chars = g[1];
            for (std::size_t i = 0; i < chars.size();) {
                const std::size_t len = (chars[i] & 0xF0) == 0xE0 ? 3 : 1;
                t.emplace(chars.substr(i, len), g[0][0]);
                i += len;
            }
        }
        return t;
    }();
    return table;
}

std::string number(const char* pattern, double v) {
    char text[32];
    std::snprintf(text, sizeof text, pattern, v);
    return text;
}

// The server list is stored with every line's bytes reversed.
std::string reversedLines(std::initializer_list<std::string_view> lines) {
    std::string out;
    for (const std::string_view line : lines) {
        std::string gbk = gbk::fromUtf8(line);
        std::reverse(gbk.begin(), gbk.end());
        out += gbk + "\r\n";
    }
    return out;
}

}  // namespace

std::string PinyinInitials(std::string_view name) {
    std::string out;
    for (std::size_t i = 0; i < name.size();) {
        const auto lead = static_cast<unsigned char>(name[i]);
        const std::size_t len = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const std::string ch(name.substr(i, len));
        i += len;
        if (len == 1) {
            if (std::isalnum(lead)) out += static_cast<char>(std::toupper(lead));
            continue;
        }
        const auto it = initialsTable().find(ch);
        if (it != initialsTable().end()) out += it->second;
    }
    return out;
}

TextGrid StockDirectoryTable(const SyntheticMarket& market) {
    TextGrid grid;
    const std::size_t rows = market.securities(0).size() + market.securities(1).size();
    grid.setColumnCount(8);
    grid.setRowCount(static_cast<int>(rows));
    int row = 0;
    for (int m = 0; m < 2; ++m) {
        for (const Security& s : market.securities(m)) {
            const bool stock = s.kind == SecurityKind::Stock;
            const std::string cells[8] = {s.code, s.name, PinyinInitials(s.name), stock ? number("%.1f", s.band) : "",
                                          s.region, s.industry, s.concepts,
                                          stock ? number("%.0f", s.floatShares) : ""};
            for (int c = 0; c < 8; ++c) grid.setCell(c, row, cells[c]);
            ++row;
        }
    }
    return grid;
}

Status WriteSampleData(const SyntheticMarket& market, const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return Status::error("cannot create " + folder.string() + ": " + ec.message());
    if (Status s = writeTableFile(StockDirectoryTable(market), folder / "band.bin"); !s.isOk()) return s;

    // The shipped watch list and the server the start dialog offers first.
    const char* const watch[][2] = {{"002155", "辰州矿业"}, {"600489", "中金黄金"}, {"600030", "中信证券"},
                                    {"600111", "包钢稀土"}, {"000630", "铜陵有色"}};
    std::string ini = "[Tikvane]\r\n";
    for (int k = 0; k < 5; ++k) {
        const std::string n = std::to_string(k + 1);
        ini += "Code_" + n + "=" + watch[k][0] + "\r\nName_" + n + "=" + watch[k][1] + "\r\n";
    }
    ini += "[SeverID]\r\nID=26\r\n";
    if (Status s = fileio::writeFileAtomically(folder / "config.ini", gbk::fromUtf8(ini)); !s.isOk()) return s;

    // Shorter than 27 lines, so ID 26 falls back to the first entry: this machine.
    return fileio::writeFileAtomically(folder / "connect.cfg",
                                       reversedLines({"本机模拟行情:127.0.0.1", "本机备用行情:127.0.0.1",
                                                      "本机名称:localhost"}));
}
