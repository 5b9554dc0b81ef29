// SPDX-License-Identifier: GPL-3.0-or-later
#include "pasStart.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "GuiThread.h"
#include "MainModel.h"
#include "PanelWidget.h"

namespace {

QPushButton* boldButton(const char* caption, const char* hint, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setToolTip(QString::fromUtf8(hint));
    QFont f = b->font();
    f.setBold(true);
    b->setFont(f);
    return b;
}

}  // namespace

TfrmStart::TfrmStart(TfrmStartModel& start, MainModel& model, TTDXManager& client, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_start(start),
      m_model(model),
      m_client(client) {
    setWindowTitle(QStringLiteral("登陆系统"));
    setFixedSize(358, 230);

    auto* box = new QGroupBox(this);
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->addWidget(new QLabel(QStringLiteral("选择服务器"), box));
    cmbHost = new QComboBox(box);
    cmbHost->installEventFilter(this);
    boxLayout->addWidget(cmbHost);

    btnLogin = boldButton(" 登   陆 ", "登陆系统", this);
    btnCancel = boldButton(" 取   消 ", "取消登陆", this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnLogin);
    buttons->addWidget(btnCancel);
    buttons->addStretch();

    InitProgress = new QProgressBar(this);
    InitProgress->setFixedHeight(20);
    InitProgress->setRange(0, 100);
    InitProgress->setTextVisible(false);
    downPB = new QProgressBar(this);
    downPB->setFixedHeight(17);
    downPB->setTextVisible(false);
    auto* web = new PanelWidget(this);
    web->setFixedWidth(130);
    web->setCaption(kWebAddress);
    web->setBackgroundColor(palette().color(QPalette::Window));
    pnl_1 = new PanelWidget(this);
    pnl_1->setBevel(PanelWidget::Bevel::Lowered);
    pnl_1->setFontColor(Qt::red);
    pnl_1->setBackgroundColor(palette().color(QPalette::Window));
    auto* strip = new QHBoxLayout;
    strip->setSpacing(0);
    strip->addWidget(web);
    strip->addWidget(pnl_1, 1);
    auto* stripHolder = new QWidget(this);
    stripHolder->setFixedHeight(20);
    stripHolder->setLayout(strip);
    strip->setContentsMargins(0, 0, 0, 0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(buttons);
    layout->addStretch();
    layout->addWidget(InitProgress);
    layout->addWidget(downPB);
    layout->addWidget(stripHolder);
    layout->setContentsMargins(8, 8, 8, 0);

    connect(btnLogin, &QPushButton::clicked, this, &TfrmStart::btnLoginClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmStart::btnCancelClick);
    // The model changes while the connect sequence lets events run; the view follows it.
    connect(&m_sync, &QTimer::timeout, this, &TfrmStart::syncFromModel);
    m_sync.start(50);
    showServers();
}

void TfrmStart::showServers() {
    cmbHost->clear();
    for (const ServerEntry& s : m_start.servers) cmbHost->addItem(QString::fromStdString(s.label));
    cmbHost->setCurrentIndex(m_start.cmbHostIndex);
}

void TfrmStart::syncFromModel() {
    pnl_1->setCaption(m_model.start.pnl_1);
    InitProgress->setValue(m_model.start.InitProgress);
}

void TfrmStart::btnLoginClick() {
    m_start.cmbHostIndex = cmbHost->currentIndex();
    btnLogin->setEnabled(false);
    m_start.btnLoginClick(m_model, m_client);
    btnLogin->setEnabled(true);
    syncFromModel();
    accept();
}

void TfrmStart::btnCancelClick() {
    reject();
    ProcessMessages();
}

bool TfrmStart::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cmbHost && event->type() == QEvent::KeyPress) {
        m_start.cmbHostKeyPress(m_model);
        syncFromModel();
    }
    return QDialog::eventFilter(watched, event);
}
