// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <memory>

#include "DataDLModel.h"
#include "MainModel.h"
#include "RealTimeSession.h"
#include "StartModel.h"
#include "StockModel.h"

class SingleInstanceGuard;
class TfrmDataDL;
class TfrmMain;
class TfrmStart;

// Takes the program's single-instance guard; while another copy holds it, says so
// ("Vexlora股票资金分析系统正在运行中...") and gives nothing.
std::unique_ptr<SingleInstanceGuard> ClaimSingleInstance(const std::string& name = "vexloratikvane");

// The desktop program once the single-instance check has passed: the models, the
// session and the windows, created in the order the program has always used, the watch
// list loaded and the quote table's columns fitted. The program entry and the window
// tests build it the same way.
class TikvaneProgram {
public:
    explicit TikvaneProgram(const std::filesystem::path& programFolder);
    ~TikvaneProgram();

    // Starts the timers and shows the main window; its start timer opens the start dialog.
    void start();

    const std::filesystem::path programFolder;
    MainModel model;
    RealTimeSession session{model};
    TfrmStartModel startModel;
    TfrmStockModel stockModel;
    TfrmDataDLModel dataDLModel{programFolder, stockModel.SGStock, stockModel.index, model.DayDownloadRunning};
    std::unique_ptr<TfrmMain> frmMain;
    std::unique_ptr<TfrmStart> frmStart;
    std::unique_ptr<TfrmDataDL> frmDataDL;
};
