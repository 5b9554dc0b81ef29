// SPDX-License-Identifier: GPL-3.0-or-later
#include "pasDataDL.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "DataDLModel.h"

TfrmDataDL::TfrmDataDL(TfrmDataDLModel& model, TTDXManager& client, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_model(model), m_client(client) {
    setWindowTitle(QStringLiteral("盘后数据下载"));
    setFixedSize(424, 334);

    memLog = new QPlainTextEdit(this);
    memLog->setReadOnly(true);
    memLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    DLProgress = new QProgressBar(this);
    DLProgress->setRange(0, 100);
    DLProgress->setTextVisible(false);
    btnDownLD = new QPushButton(QStringLiteral("下   载"), this);
    btnClose = new QPushButton(QStringLiteral("取   消"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnDownLD);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memLog, 1);
    layout->addWidget(DLProgress);
    layout->addLayout(buttons);

    connect(btnDownLD, &QPushButton::clicked, this, [this] {
        m_model.btnDownLDClick(m_client);
        syncFromModel();
    });
    connect(btnClose, &QPushButton::clicked, this, [this] {
        close();
        m_model.btnCloseClick();
    });
    connect(&m_sync, &QTimer::timeout, this, &TfrmDataDL::syncFromModel);
    m_sync.setInterval(100);
    m_model.FormCreate();
}

void TfrmDataDL::syncFromModel() {
    DLProgress->setValue(m_model.DLProgress);
    QString text;
    for (const std::string& line : m_model.memLog) {
        if (!text.isEmpty()) text += QLatin1Char('\n');
        text += QString::fromStdString(line);
    }
    // Redrawn only when it changed, so the user can scroll and select in it meanwhile.
    if (text == m_shownLog) return;
    m_shownLog = text;
    memLog->setPlainText(text);
    memLog->moveCursor(QTextCursor::End);
}

void TfrmDataDL::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    syncFromModel();
    m_sync.start();
}

void TfrmDataDL::done(int result) {
    m_sync.stop();
    m_model.FormClose();
    QDialog::done(result);
}
