// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QStringList>

#include <optional>
#include <vector>

// The tdxsim program (TDXSIM_PATH) on a free port of 127.0.0.1, stopped when the test ends.
class TdxsimProcess {
public:
    explicit TdxsimProcess(const QStringList& args = {}) {
        m_process.start(QStringLiteral(TDXSIM_PATH), QStringList{QStringLiteral("--port"), QStringLiteral("0")} + args);
        if (!m_process.waitForStarted() || !m_process.waitForReadyRead(30000)) return;
        // "tdxsim: listening on 127.0.0.1:PORT, ..."
        const QString line = QString::fromUtf8(m_process.readLine());
        m_port = line.section(QLatin1Char(':'), 2, 2).section(QLatin1Char(','), 0, 0).toInt();
    }
    ~TdxsimProcess() {
        m_process.kill();
        m_process.waitForFinished();
    }
    int port() const { return m_port; }

    // Runs tdxsim once with these arguments; its standard output, nothing when it fails.
    static std::optional<QByteArray> run(const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral(TDXSIM_PATH), args);
        if (!p.waitForFinished(60000) || p.exitCode() != 0) return std::nullopt;
        return p.readAllStandardOutput();
    }

private:
    QProcess m_process;
    int m_port = 0;
};

// One line of tdxsim --ground-truth.
struct GroundTruthTrade {
    int second;  // of the day
    int price;   // 0.001 yuan, as the client holds it
    int volume, num, side;
};

inline std::vector<GroundTruthTrade> groundTruth(const char* code, const char* at) {
    std::vector<GroundTruthTrade> out;
    const QByteArray text = TdxsimProcess::run({QStringLiteral("--ground-truth"), QString::fromLatin1(code),
                                                QStringLiteral("--at"), QString::fromLatin1(at)})
                                 .value_or(QByteArray());
    for (const QByteArray& line : text.split('\n')) {
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QList<QByteArray> f = line.split('\t');
        if (f.size() != 5) continue;
        const QList<QByteArray> hms = f[0].split(':');
        const QList<QByteArray> yuan = f[1].split('.');
        out.push_back({hms[0].toInt() * 3600 + hms[1].toInt() * 60 + hms[2].toInt(),
                       yuan[0].toInt() * 1000 + yuan[1].toInt() * 10, f[2].toInt(), f[3].toInt(), f[4].toInt()});
    }
    return out;
}
