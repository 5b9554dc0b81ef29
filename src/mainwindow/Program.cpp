// SPDX-License-Identifier: GPL-3.0-or-later
#include "Program.h"

#include <QApplication>
#include <QFontMetrics>

#include "MessageBox.h"
#include "SingleInstance.h"
#include "pasDataDL.h"
#include "pasMain.h"
#include "pasStart.h"

std::unique_ptr<SingleInstanceGuard> ClaimSingleInstance(const std::string& name) {
    auto guard = std::make_unique<SingleInstanceGuard>(name);
    if (guard->acquired()) return guard;
    showMessageBox({"提示信息", "Vexlora股票资金分析系统正在运行中...", MessageButtons::Ok, MessageIcon::Information});
    return nullptr;
}

TikvaneProgram::TikvaneProgram(const std::filesystem::path& folder)
    : programFolder(folder), startModel(folder), stockModel(folder) {
    // The quote table's cells are drawn bold in the window's font.
    QFont cellFont = TfrmMain::windowFont();
    cellFont.setBold(true);
    const QFontMetrics metrics(cellFont);
    const TextWidthFn textWidth = [metrics](std::string_view text) {
        return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    };
    model.InitTables(140, textWidth);
    frmMain = std::make_unique<TfrmMain>(model, session, startModel, stockModel);
    frmMain->programFolder = QString::fromStdString(folder.string());
    startModel.FormCreate();
    frmStart = std::make_unique<TfrmStart>(startModel, model, session.client(), frmMain.get());
    frmMain->showStartDialog = [this] { frmStart->exec(); };
    frmDataDL = std::make_unique<TfrmDataDL>(dataDLModel, session.client(), frmMain.get());
    frmMain->showDataDownload = [this] { frmDataDL->exec(); };
    // The main window's day-line handler: the reply becomes the stock's day file.
    session.client().OnDecodePacket_DAYS = [this](TCallBackStockInfo& info, std::span<const TTDX_DAYInfo> days, int,
                                                  int) { dataDLModel.TDXDecodePacket_DAYS(info, days); };

    if (const Status loaded = stockModel.btnLoadClick(model.quote); !loaded.isOk())
        showMessageBox({"提示信息", loaded.message(), MessageButtons::Ok, MessageIcon::Information});
    AutoFitColumns(model.quote.SGStock, textWidth);
}

TikvaneProgram::~TikvaneProgram() {
    session.stop();
    session.client().OnDecodePacket_DAYS = nullptr;
    frmDataDL.reset();
    frmStart.reset();
    frmMain.reset();
}

void TikvaneProgram::start() {
    session.start();
    frmMain->show();
}
