// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartModel.h"

#include <QElapsedTimer>

#include "FileIo.h"
#include "Gbk.h"
#include "GuiThread.h"
#include "IniFile.h"
#include "Numbers.h"
#include "pasCommon.h"
#include "MainModel.h"
#include "usockTDXManager.h"

std::vector<ServerEntry> ParseServerList(std::string_view bytes) {
    std::vector<ServerEntry> servers;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n", at), bytes.size());
        const std::string line = gbk::toUtf8(ReverseText(bytes.substr(at, end - at)));
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) servers.push_back({"", line});
        else servers.push_back({line.substr(0, colon), line.substr(colon + 1)});
        at = end + (bytes.substr(end, 2) == "\r\n" ? 2 : 1);
    }
    return servers;
}

void TfrmStartModel::FormCreate() {
    const IniFile ini(m_folder / "config.ini");
    // An ID that is no whole number counts as 0, the default.
    const int id = numbers::parseInt(ini.readString("SeverID", "ID", "0")).value_or(0);
    std::string bytes;
    servers.clear();
    if (fileio::readFile(m_folder / "connect.cfg", bytes).isOk()) servers = ParseServerList(bytes);
    const int count = static_cast<int>(servers.size());
    cmbHostIndex = count == 0 ? -1 : id < count ? std::max(id, -1) : 0;
}

void TfrmStartModel::cmbHostKeyPress(MainModel& model) { model.start.pnl_1 = "请选择最近的服务器!"; }

bool TfrmStartModel::btnLoginClick(MainModel& model, TTDXManager& client) {
    const IniFile ini(m_folder / "config.ini");
    ini.writeString("SeverID", "ID", std::to_string(cmbHostIndex));
    // With nothing selected the client keeps the server it has.
    if (cmbHostIndex >= 0 && cmbHostIndex < static_cast<int>(servers.size()))
        client.Host = servers[static_cast<std::size_t>(cmbHostIndex)].address;
    model.LoginFlag = true;
    try {
        LoginStep02(model);
    } catch (...) {
        // The analysis files already in the folder stay in use.
    }
    try {
        return LoginStep03(model, client);
    } catch (...) {
        return false;
    }
}

bool LoginStep03(MainModel& model, TTDXManager& client, int timeoutMs) {
    model.start.pnl_1 = "正在连接服务器...";
    model.MarketInitCounter = 0;
    client.Disconnect();
    model.processMessages();
    client.Connect();  // a refused connection shows as the time-out below
    model.processMessages();
    client.Request_INITMARKET(0);
    client.Request_INITMARKET(1);
    QElapsedTimer timer;
    timer.start();
    while (model.MarketInitCounter != 2) {
        if (timer.elapsed() >= timeoutMs) {
            model.start.pnl_1 = "连接超时!!!...";
            return false;
        }
        model.waitProcessingMessages(10);
    }
    model.start.InitProgress = 0;
    model.start.pnl_1.clear();
    return true;
}
