// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Status.h"
#include "TDXAsm.h"

// Writes a stock's day file (data/<code>.dat beside the program) from one day-line reply,
// oldest day first. Each reply day becomes a text line "yyyymmdd:code:open:high:low:close:
// volume:amount" in `memTxt`; the first day only gives the second its previous close, so
// n days make n - 1 records.
struct DayFileOutcome {
    enum Kind {
        Written,  // the file now holds `records` records (0 for a reply of two days)
        Removed,  // a code the directory does not know, or fewer than two days: no file
        KeptOld,  // the reply could not be converted: the previous file is left whole
    } kind;
    int records = 0;
    std::string error;  // why, for KeptOld
};

// floatShares is the stock's directory cell (float shares), or nothing when the directory
// does not know the code. processMessages runs after each rendered line.
DayFileOutcome WriteDayFile(const std::filesystem::path& programFolder, std::string_view code,
                            std::span<const TTDX_DAYInfo> days, const std::optional<std::string>& floatShares,
                            std::vector<std::string>& memTxt, const std::function<void()>& processMessages = {});

// Whole days since 1899-12-30 of a yyyymmdd date.
double DayNumber(int year, int month, int day);
