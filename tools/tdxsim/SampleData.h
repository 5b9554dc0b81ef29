// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "Status.h"
#include "SyntheticMarket.h"
#include "TextGrid.h"

// The sample data that go beside the program, consistent with the market tdxsim serves:
// the stock directory table (band.bin), the shipped settings (config.ini) and the quote
// server list (connect.cfg), whose first entries point at 127.0.0.1.

// Upper-case pinyin initials of a name; ASCII letters and digits are kept as they are.
std::string PinyinInitials(std::string_view utf8Name);

// The eight columns of the stock directory table, one row per security of both markets.
TextGrid StockDirectoryTable(const SyntheticMarket& market);

Status WriteSampleData(const SyntheticMarket& market, const std::filesystem::path& folder);
