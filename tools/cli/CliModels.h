// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

#include "MainModel.h"
#include "StockModel.h"

// What the network commands start from, as the desktop program does: the main model with
// its quote table, and the stock directory and watch list loaded from the folder (a
// damaged band.bin is reported on standard error and leaves the directory empty).
struct CliModels {
    explicit CliModels(const std::filesystem::path& folder);
    MainModel model;
    TfrmStockModel directory;
};

// The --folder option, or the folder of the program. Needs the QCoreApplication.
std::filesystem::path FolderOrProgramFolder(const std::string& folder);

// Columns as a terminal shows them: Chinese characters take two cells.
int displayWidth(const std::string& utf8);
