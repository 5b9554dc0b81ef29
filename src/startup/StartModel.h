// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class MainModel;
class TTDXManager;

// The start dialog without its widgets: the quote server list of connect.cfg, the choice
// remembered in config.ini, and the login with its connect sequence.

struct ServerEntry {
    std::string label;    // shown in the pick-list
    std::string address;  // what the quote client connects to
    bool operator==(const ServerEntry&) const = default;
};

// connect.cfg holds one server a line, each line's bytes reversed, GBK; after reversal a
// line is "label:address" (the address may hold further colons). A line without a colon
// has an empty label and is all address.
std::vector<ServerEntry> ParseServerList(std::string_view fileBytes);

class TfrmStartModel {
public:
    explicit TfrmStartModel(std::filesystem::path programFolder) : m_folder(std::move(programFolder)) {}

    std::vector<ServerEntry> servers;
    int cmbHostIndex = -1;  // the selected entry, -1 for none

    // Reads the server list and preselects the entry config.ini remembers.
    void FormCreate();
    void cmbHostKeyPress(MainModel& model);
    // Remembers the choice, points the client at it, sets the login flag, refreshes the
    // analysis data (download, then unpack) and runs the connect sequence.
    bool btnLoginClick(MainModel& model, TTDXManager& client);

    // The analysis data refresh; its failures are the caller's to swallow.
    std::function<void(MainModel&)> LoginStep02 = [](MainModel&) {};

private:
    std::filesystem::path m_folder;
};

// The connect sequence: reconnects the client, asks for both markets' directories and
// waits, letting events run, until both are processed (true) or timeoutMs pass
// ("连接超时!!!...", false). The client's requests must be sent by a running timer.
bool LoginStep03(MainModel& model, TTDXManager& client, int timeoutMs = 10000);
