// SPDX-License-Identifier: GPL-3.0-or-later
// tikvane-cli: the program's core without windows, for scripts and terminals.
#include <iostream>
#include <string>
#include <vector>

#include "DaysCommand.h"
#include "TableCommand.h"
#include "WatchCommand.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "table") return runTableCommand({args.begin() + 1, args.end()});
    if (!args.empty() && args[0] == "watch") return runWatchCommand(argc, argv, {args.begin() + 1, args.end()});
    if (!args.empty() && args[0] == "days") return runDaysCommand(argc, argv, {args.begin() + 1, args.end()});
    std::cerr << "usage: tikvane-cli table dump FILE [--csv]\n"
                 "       tikvane-cli table build TEXTFILE OUT.bin [--csv]\n"
                 "       tikvane-cli watch --host H [--port P] [--folder DIR] [--seconds N] [--every S] [--tsv]\n"
                 "       tikvane-cli days [--host H] [--port P] [--folder DIR] [CODE...]\n";
    return 2;
}
