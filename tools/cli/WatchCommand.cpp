// SPDX-License-Identifier: GPL-3.0-or-later
#include "WatchCommand.h"

#include <QCoreApplication>
#include <QString>
#include <QTimer>

#include <csignal>
#include <iostream>
#include <optional>

#include "CliModels.h"
#include "Numbers.h"
#include "RealTimeSession.h"
#include "StartModel.h"

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

struct WatchOptions {
    std::string host;
    int port = 7709;
    std::string folder;
    std::optional<int> seconds;  // none: until interrupted
    int every = 5;
    bool tsv = false;
};

std::optional<WatchOptions> parseOptions(const std::vector<std::string>& args) {
    WatchOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--tsv") {
            o.tsv = true;
            continue;
        }
        if (i + 1 >= args.size()) return std::nullopt;
        const std::string& v = args[++i];
        const std::optional<int> n = numbers::parseInt(v);
        if (a == "--host") o.host = v;
        else if (a == "--folder") o.folder = v;
        else if (a == "--port" && n && *n > 0 && *n < 65536) o.port = *n;
        else if (a == "--seconds" && n && *n >= 0) o.seconds = *n;
        else if (a == "--every" && n && *n > 0) o.every = *n;
        else return std::nullopt;
    }
    if (o.host.empty()) return std::nullopt;
    return o;
}

void printAligned(const std::vector<std::vector<std::string>>& lines) {
    std::vector<int> widths;
    for (const auto& line : lines)
        for (std::size_t c = 0; c < line.size(); ++c) {
            if (widths.size() <= c) widths.push_back(0);
            widths[c] = std::max(widths[c], displayWidth(line[c]));
        }
    for (const auto& line : lines) {
        std::string out;
        for (std::size_t c = 0; c < line.size(); ++c) {
            const std::string pad(static_cast<std::size_t>(widths[c] - displayWidth(line[c])), ' ');
            // Names left, numbers right.
            out += c < 2 ? line[c] + pad : pad + line[c];
            if (c + 1 < line.size()) out += "  ";
        }
        std::cout << out << '\n';
    }
    std::cout << std::endl;
}

// Code, name, change, price, net flow, DDX, DMD and the four net class columns.
constexpr int kWatchColumns[] = {1, 2, 3, 4, 5, 6, 7, 94, 95, 96, 97};

void printWatchRows(const TextGrid& quote) {
    std::vector<std::vector<std::string>> lines(1);
    for (const int c : kWatchColumns) lines[0].push_back(QuoteColumnTitle(c));
    for (int row = kQuoteFirstDataRow; row < quote.rowCount(); ++row) {
        if (numbers::trim(quote.cell(1, row)).empty()) continue;
        lines.emplace_back();
        for (const int c : kWatchColumns) lines.back().push_back(quote.cell(c, row));
    }
    printAligned(lines);
}

void printTsv(const TextGrid& quote) {
    for (int row = 1; row < quote.rowCount(); ++row) {
        std::string line;
        for (int c = 0; c < quote.columnCount(); ++c) line += (c ? "\t" : "") + quote.cell(c, row);
        std::cout << line << '\n';
    }
    std::cout.flush();
}

}  // namespace

int runWatchCommand(int argc, char** argv, const std::vector<std::string>& args) {
    const std::optional<WatchOptions> options = parseOptions(args);
    if (!options) {
        std::cerr << "usage: tikvane-cli watch --host H [--port P] [--folder DIR] [--seconds N] [--every S] [--tsv]\n";
        return 2;
    }
    QCoreApplication app(argc, argv);
    CliModels models(FolderOrProgramFolder(options->folder));
    MainModel& model = models.model;

    RealTimeSession session(model);
    session.client().Host = options->host;
    session.client().Port = options->port;
    session.start();
    model.LoginFlag = true;
    if (!LoginStep03(model, session.client())) {
        std::cerr << model.start.pnl_1 << '\n';
        return 1;
    }
    // As selecting the current row does: minute lines and a tick refresh on the next tick.
    model.MinuteRequestCounter = model.TickRefreshCounter = 100;

    std::signal(SIGINT, [](int) { g_interrupted = 1; });
    std::signal(SIGTERM, [](int) { g_interrupted = 1; });
    QTimer interrupt;
    QObject::connect(&interrupt, &QTimer::timeout, [] {
        if (g_interrupted) QCoreApplication::quit();
    });
    interrupt.start(100);
    QTimer every;
    QObject::connect(&every, &QTimer::timeout, [&] { printWatchRows(model.quote.SGStock); });
    every.start(options->every * 1000);
    if (options->seconds) QTimer::singleShot(*options->seconds * 1000, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();

    session.stop();
    printWatchRows(model.quote.SGStock);
    if (options->tsv) printTsv(model.quote.SGStock);
    return 0;
}
