// SPDX-License-Identifier: GPL-3.0-or-later
// borvix, the window companion ("窗口精灵") started from the main window's tool menu: a
// small window that stays on top and tells where the trading day stands on Beijing time.
// Drag it anywhere; a double click closes it.
#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include "SessionClock.h"

namespace {

class CompanionWindow : public QLabel {
public:
    CompanionWindow() : QLabel(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
        setWindowTitle(QStringLiteral("窗口精灵"));
        setStyleSheet(QStringLiteral("background:#000; color:#ff0; border:1px solid #808080; padding:4px 8px;"));
        setToolTip(QStringLiteral("双击关闭"));
        connect(&m_tick, &QTimer::timeout, this, &CompanionWindow::tick);
        m_tick.start(1000);
        tick();
    }

protected:
    void mousePressEvent(QMouseEvent* e) override { m_grab = e->globalPosition().toPoint() - pos(); }
    void mouseMoveEvent(QMouseEvent* e) override { move(e->globalPosition().toPoint() - m_grab); }
    void mouseDoubleClickEvent(QMouseEvent*) override { close(); }

private:
    void tick() {
        const QDateTime beijing = QDateTime::currentDateTimeUtc().addSecs(8 * 3600);
        const SessionPhase p = sessionPhaseAt(beijing.date().dayOfWeek() - 1, beijing.time().msecsSinceStartOfDay() / 1000);
        QString text = beijing.time().toString(QStringLiteral("HH:mm:ss  ")) + QString::fromStdString(p.name);
        if (!p.next.empty())
            text += QStringLiteral("  距") + QString::fromStdString(p.next) + QLatin1Char(' ') +
                    QString::fromStdString(countdownText(p.secondsToNext));
        setText(text);
        adjustSize();
    }

    QTimer m_tick;
    QPoint m_grab;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    CompanionWindow window;
    window.show();
    return QApplication::exec();
}
