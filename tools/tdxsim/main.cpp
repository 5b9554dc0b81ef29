// SPDX-License-Identifier: GPL-3.0-or-later
// tdxsim: a quote server over a deterministic synthetic market, on 127.0.0.1.
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>

#include "SampleData.h"
#include "Server.h"

namespace {

int usage() {
    std::cerr << "usage: tdxsim [--port P] [--bind ADDRESS] [--seed N] [--date YYYYMMDD]\n"
                 "              [--clock live | --at HH:MM | --speed N]\n"
                 "              [--close-after N] [--stall] [--wrong-magic] [--cut-frame] [--slow MS]\n"
                 "       tdxsim --ground-truth CODE[SH|SZ] [--seed N] [--date YYYYMMDD] [--at HH:MM]\n"
                 "       tdxsim --write-sample DIR [--seed N] [--date YYYYMMDD]\n";
    return 2;
}

std::string clockText(int second) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", second / 3600, second / 60 % 60, second % 60);
    return text;
}

// The day's trades of one security up to the clock, one line each, for tests that check
// the client's sums independently of it.
int printGroundTruth(const SyntheticMarket& market, const std::string& code, int second) {
    const std::string digits = code.substr(0, 6);
    const std::string suffix = code.size() > 6 ? code.substr(6) : "";
    const Security* s = nullptr;
    for (int m = 0; m < 2 && !s; ++m)
        if (suffix.empty() || suffix == (m ? "SH" : "SZ")) s = market.find(m, digits);
    if (!s) {
        std::cerr << "tdxsim: no security " << code << '\n';
        return 1;
    }
    const auto trades = market.tradesUntil(*s, second);
    std::printf("# %s %s market %d prevclose %.2f trades %zu until %s\n", s->code.c_str(), s->name.c_str(),
                s->market, s->prevClose / 100.0, trades.size(), clockText(second).c_str());
    std::printf("# time\tprice\tvolume\tnum\tside\n");
    for (const Trade& t : trades)
        std::printf("%s\t%d.%02d\t%d\t%d\t%d\n", clockText(t.second).c_str(), t.price / 100, t.price % 100, t.volume,
                    t.num, t.side);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int port = 7709;
    std::string bind = "127.0.0.1";
    std::uint64_t seed = 1;
    int date = 20261211;
    SimClock clock;
    FaultModes faults;
    std::string groundTruth, sampleFolder;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--stall") { faults.stall = true; continue; }
        if (a == "--wrong-magic") { faults.wrongMagic = true; continue; }
        if (a == "--cut-frame") { faults.cutFrame = true; continue; }
        if (i + 1 >= argc) return usage();
        const std::string v = argv[++i];
        try {
            if (a == "--port") port = std::stoi(v);
            else if (a == "--bind") bind = v;
            else if (a == "--seed") seed = std::stoull(v);
            else if (a == "--date") date = std::stoi(v);
            else if (a == "--clock" && v == "live") clock = SimClock::live();
            else if (a == "--at" && SimClock::parseTime(v)) clock = SimClock::at(*SimClock::parseTime(v));
            else if (a == "--speed" && std::stod(v) > 0) clock = SimClock::speed(std::stod(v));
            else if (a == "--close-after") faults.closeAfter = std::stoi(v);
            else if (a == "--slow") faults.slowMs = std::stoi(v);
            else if (a == "--ground-truth") groundTruth = v;
            else if (a == "--write-sample") sampleFolder = v;
            else return usage();
        } catch (const std::exception&) {
            return usage();
        }
    }
    if (date < 19900101 || date > 99991231 || port < 0 || port > 65535) return usage();

    const SyntheticMarket market(seed, date);
    if (!groundTruth.empty()) return printGroundTruth(market, groundTruth, clock.secondOfDay());
    if (!sampleFolder.empty()) {
        const Status written = WriteSampleData(market, sampleFolder);
        if (!written.isOk()) std::cerr << "tdxsim: " << written.message() << '\n';
        return written.isOk() ? 0 : 1;
    }

    std::signal(SIGPIPE, SIG_IGN);
    const Responder responder(market);
    Server server(responder, clock, faults);
    if (const Status s = server.listen(bind, port); !s.isOk()) {
        std::cerr << "tdxsim: " << s.message() << '\n';
        return 1;
    }
    std::cout << "tdxsim: listening on " << bind << ':' << server.port() << ", " << market.directory(0).size()
              << " Shenzhen and " << market.directory(1).size() << " Shanghai securities" << std::endl;
    server.run();
    return 0;
}
