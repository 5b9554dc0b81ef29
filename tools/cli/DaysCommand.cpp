// SPDX-License-Identifier: GPL-3.0-or-later
#include "DaysCommand.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <iostream>
#include <optional>

#include "CliModels.h"
#include "DataDLModel.h"
#include "Numbers.h"
#include "RealTimeSession.h"
#include "StartModel.h"

namespace {

struct DaysOptions {
    std::string host;  // empty: the server connect.cfg and config.ini choose
    int port = 7709;
    std::string folder;
    std::vector<std::string> codes;
};

std::optional<DaysOptions> parseOptions(const std::vector<std::string>& args) {
    DaysOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!a.starts_with("--")) {
            o.codes.push_back(a);
            continue;
        }
        if (i + 1 >= args.size()) return std::nullopt;
        const std::string& v = args[++i];
        const std::optional<int> n = numbers::parseInt(v);
        if (a == "--host") o.host = v;
        else if (a == "--folder") o.folder = v;
        else if (a == "--port" && n && *n > 0 && *n < 65536) o.port = *n;
        else return std::nullopt;
    }
    return o;
}

// Replies come one per request; a server silent this long while one is outstanding is
// taken as gone.
constexpr int kSilenceMs = 10000;

}  // namespace

int runDaysCommand(int argc, char** argv, const std::vector<std::string>& args) {
    const std::optional<DaysOptions> options = parseOptions(args);
    if (!options) {
        std::cerr << "usage: tikvane-cli days [--host H] [--port P] [--folder DIR] [CODE...]\n";
        return 2;
    }
    QCoreApplication app(argc, argv);
    const std::filesystem::path folder = FolderOrProgramFolder(options->folder);
    CliModels models(folder);
    MainModel& model = models.model;
    const TfrmStockModel& directory = models.directory;

    RealTimeSession session(model);  // its timers stay off: no polling here
    TTDXManager& client = session.client();
    client.Host = options->host;
    if (client.Host.empty()) {
        TfrmStartModel servers(folder);
        servers.FormCreate();
        const int pick = servers.cmbHostIndex;
        client.Host = pick >= 0 ? servers.servers[static_cast<std::size_t>(pick)].address : "127.0.0.1";
    }
    client.Port = options->port;
    // Requests go out as soon as the previous reply is in, not on the window's 100 ms beat.
    QTimer send;
    QObject::connect(&send, &QTimer::timeout, [&] { client.Run(); });
    send.start(1);
    if (!LoginStep03(model, client)) {
        std::cerr << "tikvane-cli: " << model.start.pnl_1 << '\n';
        return 1;
    }

    TfrmDataDLModel download(folder, directory.SGStock, directory.index, model.DayDownloadRunning);
    int replies = 0, written = 0, removed = 0, kept = 0;
    QElapsedTimer sinceReply;
    download.replyWritten = [&](const std::string& code, const DayFileOutcome& outcome) {
        ++replies;
        switch (outcome.kind) {
            case DayFileOutcome::Written:
                ++written;
                std::cout << download.memLog.back() << "  " << outcome.records << " records  " << download.DLProgress
                          << "%\n";
                break;
            case DayFileOutcome::Removed:
                ++removed;
                std::cout << download.memLog.back() << "  no file (not in the directory, or fewer than two days)\n";
                break;
            case DayFileOutcome::KeptOld:
                ++kept;
                std::cout << code << "  not written, the previous file is kept: " << outcome.error << '\n';
                break;
        }
    };
    client.OnDecodePacket_DAYS = [&](TCallBackStockInfo& info, std::span<const TTDX_DAYInfo> days, int, int) {
        download.TDXDecodePacket_DAYS(info, days);
    };
    client.OnAfterReadData = [&](int) { sinceReply.restart(); };

    QElapsedTimer took;
    took.start();
    sinceReply.start();
    int requests = 0;
    if (options->codes.empty()) {
        requests = download.btnDownLDClick(client);
    } else {
        model.DayDownloadRunning = true;
        for (const std::string& code : options->codes) {
            const std::optional<DayRequest> request = DayRequestOfCode(code);
            if (code.size() != 6 || !request) {
                std::cerr << "tikvane-cli: " << code << " is no Shenzhen or Shanghai stock code\n";
                continue;
            }
            client.Request_DAYS(request->key, request->market, 0, TfrmDataDLModel::kDaysRequested);
            ++requests;
        }
    }
    // Done when every request has been answered; a server that knows no day lines of a
    // code answers with a bare count, which raises no reply event.
    bool answered = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        answered = !client.Busy() && client.PendingMsgs().empty();
        if (answered || !client.Connected() || sinceReply.elapsed() > kSilenceMs) QCoreApplication::quit();
    });
    watch.start(20);
    QCoreApplication::exec();
    download.FormClose();

    const double seconds = static_cast<double>(took.elapsed()) / 1000.0;
    std::cout << "tikvane-cli: " << requests << " requests, " << replies << " replies with day lines: " << written
              << " files written, " << removed << " without a file, " << kept << " kept as they were, in "
              << numbers::formatFixed(seconds, 1) << " s";
    if (seconds > 0) std::cout << " (" << numbers::formatFixed(written / seconds, 0) << " files/s)";
    std::cout << std::endl;
    if (!answered) {
        std::cerr << "tikvane-cli: the server stopped answering; " << client.PendingMsgs().size() + client.Busy()
                  << " requests are left\n";
        return 1;
    }
    return 0;
}
