// SPDX-License-Identifier: GPL-3.0-or-later
#include "TableCommand.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "FileIo.h"
#include "TableFile.h"
#include "TableText.h"

namespace {

constexpr const char* kUsage =
    "usage: tikvane-cli table dump FILE [--csv]\n"
    "       tikvane-cli table build TEXTFILE OUT.bin [--csv]\n";

int fail(const std::string& message) {
    std::cerr << "tikvane-cli: " << message << '\n';
    return 1;
}

}  // namespace

int runTableCommand(const std::vector<std::string>& args) {
    std::vector<std::string> operands;
    bool csv = false;
    for (const std::string& a : args) {
        if (a == "--csv")
            csv = true;
        else if (a.rfind("--", 0) == 0)
            return fail("unknown option " + a + "\n" + kUsage);
        else
            operands.push_back(a);
    }
    const TextTableFormat format = csv ? TextTableFormat::Csv : TextTableFormat::Tsv;

    if (operands.size() == 2 && operands[0] == "dump") {
        TextGrid grid(0, 0);
        if (Status s = readTableFile(operands[1], grid); !s.isOk()) return fail(s.message());
        std::cout << tableToText(grid, format);
        return std::cout.flush() ? 0 : fail("cannot write the output");
    }
    if (operands.size() == 3 && operands[0] == "build") {
        std::string text;
        if (Status s = fileio::readFile(operands[1], text); !s.isOk()) return fail(s.message());
        if (Status s = writeTableFile(tableFromText(text, format), operands[2]); !s.isOk()) return fail(s.message());
        return 0;
    }
    std::cerr << kUsage;
    return 2;
}
