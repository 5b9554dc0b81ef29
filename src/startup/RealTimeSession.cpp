// SPDX-License-Identifier: GPL-3.0-or-later
#include "RealTimeSession.h"

#include <QMetaObject>

RealTimeSession::RealTimeSession(MainModel& model) : m_model(model) {
    m_client.OnDecodePacket_INITMARKET = [this](std::span<const TTDX_STOCKINFO> data, std::uint8_t market,
                                                int count) { m_model.TDXDecodePacket_INITMARKET(data, market, count); };
    m_client.OnDecodePacket_PKDAT = [this](std::span<const TTDX_PKDAT> data, int count) {
        m_model.TDXDecodePacket_PKDAT(data, count);
    };
    m_client.OnDecodePacket_DEALS = [this](TCallBackStockInfo& info, std::span<const TTDX_DEALInfo> data, int start,
                                           int count) { m_model.TDXDecodePacket_DEALS(info, data, start, count); };

    m_client.OnConnected = [this] { m_model.TDXConnected(); };
    m_client.OnDisConnected = [this] { m_model.TDXDisConnected(m_client); };

    tdxTimer.setInterval(100);
    QObject::connect(&tdxTimer, &QTimer::timeout, &m_context, [this] { m_client.Run(); });
    DPTimer.setInterval(1000);
    // The tick runs as a posted call, not inside the timer's own signal: a timer does not
    // fire again while its signal runs, and the refresh cycle's waits let further ticks run.
    QObject::connect(&DPTimer, &QTimer::timeout, &m_context, [this] {
        QMetaObject::invokeMethod(&m_context, [this] { m_model.DPTimerTimer(m_client); }, Qt::QueuedConnection);
    });
}

RealTimeSession::~RealTimeSession() { stop(); }

void RealTimeSession::start() {
    tdxTimer.start();
    DPTimer.start();
}

void RealTimeSession::stop() {
    tdxTimer.stop();
    DPTimer.stop();
}
