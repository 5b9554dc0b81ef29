// SPDX-License-Identifier: GPL-3.0-or-later
#include "pasMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QProcess>
#include <QUrl>
#include <QVBoxLayout>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "ChartWidget.h"
#include "GridView.h"
#include "GuiThread.h"
#include "MainModel.h"
#include "MessageBox.h"
#include "PanelWidget.h"
#include "RealTimeSession.h"
#include "Renderers.h"
#include "RichLines.h"
#include "Splitter.h"
#include "StockModel.h"

namespace {

const QColor kMaroon(128, 0, 0);
const QColor kStatusBarColor(236, 233, 216);

QWidget* blackPanel(QWidget* parent) {
    auto* w = new QWidget(parent);
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, Qt::black);
    w->setPalette(p);
    return w;
}

PanelWidget* panel(QWidget* parent, const char* caption, const QColor& font, int width = 0, bool bold = false,
                   HAlign align = HAlign::Left, const QColor& background = Qt::black) {
    auto* p = new PanelWidget(parent);
    p->setCaption(caption);
    p->setFontColor(font);
    p->setBold(bold);
    p->setAlignment(align);
    p->setBackgroundColor(background);
    if (width) p->setFixedWidth(width);
    return p;
}

GridView* gridView(QWidget* parent, TextGrid& grid, DrawCellFn draw) {
    auto* v = new GridView(parent);
    v->setGrid(&grid);
    v->setDrawCell(std::move(draw));
    v->setScrollBars(false, false);
    v->setFrameShape(QFrame::NoFrame);
    return v;
}

RichLines* richLines(QWidget* parent, HAlign align, int width) {
    auto* r = new RichLines(parent);
    r->setAlignment(align);
    if (width) r->setFixedWidth(width);
    return r;
}

// A vertical label and a grid of one of the flow tables. The buy and sell tables carry
// the pie's colour swatches over the blank start of their row titles.
QWidget* flowRow(QWidget* parent, const char* label, GridView* grid, int height, const Rgb* swatches = nullptr) {
    QWidget* row = blackPanel(parent);
    row->setFixedHeight(height);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QString vertical;
    for (const QChar c : QString::fromUtf8(label)) vertical += QString(c) + QLatin1Char('\n');
    layout->addWidget(panel(row, vertical.trimmed().toUtf8().constData(), QColor(192, 192, 192), 14));
    layout->addStretch();
    grid->setFixedWidth(169);
    QFont narrow = grid->font();  // "26.56%" in bold fits the 45-pixel column
    narrow.setPixelSize(11);
    grid->setFont(narrow);
    layout->addWidget(grid);
    const int rowHeight = height / 4;
    for (int k = 0; swatches && k < 4; ++k) {
        auto* s = panel(grid->viewport(), "", Qt::black, 12, false, HAlign::Left, toQColor(swatches[k]));
        s->setGeometry(4, k * rowHeight + (rowHeight - 12) / 2, 12, 12);
    }
    return row;
}

}  // namespace

TfrmMain::TfrmMain(MainModel& model, RealTimeSession& session, TfrmStartModel& start, TfrmStockModel& stock)
    : programFolder(QCoreApplication::applicationDirPath()),
      openUrl(&QDesktopServices::openUrl),
      startProgram([](const QString& program) { return QProcess::startDetached(program, {}); }),
      terminateProcess([](int code) { std::_Exit(code); }),
      m_model(model),
      m_session(session),
      m_start(start),
      m_stock(stock) {
    setWindowTitle(QStringLiteral("Vexlora股票资金分析系统 V2.0.0"));
    resize(1024, 641);
    setFont(windowFont());
    buildLayout();
    buildMenu();

    connect(&m_refresh, &QTimer::timeout, this, &TfrmMain::refreshFromModel);
    m_refresh.start(200);
    loginTimer.setInterval(500);
    loginTimer.setSingleShot(true);
    connect(&loginTimer, &QTimer::timeout, this, &TfrmMain::loginTimerTimer);
    loginTimer.start();
    refreshFromModel();
}

void TfrmMain::buildLayout() {
    QWidget* root = blackPanel(this);
    setCentralWidget(root);
    auto* rootLayout = new QVBoxLayout(root);
    rootLayout->setContentsMargins(0, 0, 0, 0);
    rootLayout->setSpacing(0);

    auto* vertical = new Splitter(Qt::Vertical, root);
    auto* center = new Splitter(Qt::Horizontal, vertical);

    // The stock panel: code and name, order book, latest trades, the index chart's place.
    pnl_1 = blackPanel(center);
    pnl_1->setMinimumWidth(190);
    auto* left = new QVBoxLayout(pnl_1);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(0);
    auto* caption = new QHBoxLayout;
    pnl_1_0_0 = panel(pnl_1, "", toQColor(m_model.pnl_1_0_0.color), 89, true, HAlign::Right);
    pnl_1_0_1 = panel(pnl_1, "", toQColor(m_model.pnl_1_0_1.color), 0, true);
    caption->addWidget(pnl_1_0_0);
    caption->addWidget(pnl_1_0_1, 1);
    auto* captionHolder = blackPanel(pnl_1);
    captionHolder->setFixedHeight(24);
    captionHolder->setLayout(caption);
    caption->setContentsMargins(0, 0, 0, 0);
    left->addWidget(captionHolder);
    sg_44 = gridView(pnl_1, m_model.sg_44, sg_44DrawCell);
    sg_44->setFixedHeight(288);
    left->addWidget(sg_44);
    auto* trades = new QHBoxLayout;
    trades->setSpacing(0);
    redit1 = richLines(pnl_1, HAlign::Center, 50);
    redit2 = richLines(pnl_1, HAlign::Right, 0);
    redit3 = richLines(pnl_1, HAlign::Right, 54);
    redit4 = richLines(pnl_1, HAlign::Right, 30);
    for (RichLines* r : {redit1, redit2, redit3, redit4}) trades->addWidget(r, r == redit2 ? 1 : 0);
    left->addLayout(trades, 1);
    pnl_1_1 = blackPanel(pnl_1);
    pnl_1_1->setFixedHeight(136);
    pnl_1_1->setToolTip(QStringLiteral("大盘走势图"));
    pnl_1_1->setCursor(Qt::PointingHandCursor);
    left->addWidget(pnl_1_1);

    // The chart area over the half-hourly net flow.
    auto* pnl_2 = new Splitter(Qt::Vertical, center);
    TBC = blackPanel(pnl_2);
    pnl_2_1 = blackPanel(pnl_2);
    pnl_2_1->setFixedHeight(136);
    auto* bars = new QVBoxLayout(pnl_2_1);
    bars->setContentsMargins(0, 0, 0, 0);
    Chart_1 = new BarChart(pnl_2_1);
    Chart_1->setTitle("个股分时资金流向(万元)");
    Chart_1->setToolTip(QStringLiteral("个股分时资金流向(万元)"));
    Chart_1->setBarWidthPercent(75);
    Chart_1->setMarks(true, Qt::red, Qt::black);
    bars->addWidget(Chart_1);

    // The fund-flow panel.
    pnl_3 = blackPanel(center);
    pnl_3->setFixedWidth(192);
    auto* right = new QVBoxLayout(pnl_3);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    Chart_0 = new PieChart(pnl_3);
    Chart_0->setFixedHeight(108);
    Chart_0->setTitle("个股当日成交分析");
    Chart_0->setTitleVisible(false);
    Chart_0->setDepthPercent(35);
    Chart_0->setMarksVisible(false);
    right->addWidget(Chart_0);
    right->addWidget(panel(pnl_3, "成交统计分析明细(万元. 成交比)", QColor(192, 192, 192)));
    sg_11 = gridView(pnl_3, m_model.sg_11, sg_11DrawCell);
    sg_22 = gridView(pnl_3, m_model.sg_22, sg_22DrawCell);
    sg_33 = gridView(pnl_3, m_model.sg_33, sg_33DrawCell);
    const Rgb buys[4] = {{255, 10, 10}, {190, 10, 10}, {130, 10, 10}, {70, 10, 10}};
    const Rgb sells[4] = {{10, 255, 10}, {10, 190, 10}, {10, 130, 10}, {10, 70, 10}};
    right->addWidget(flowRow(pnl_3, "主动买入", sg_11, 76, buys));
    right->addWidget(flowRow(pnl_3, "主动卖出", sg_22, 76, sells));
    right->addWidget(flowRow(pnl_3, "买卖合计", sg_33, 95));
    right->addStretch();
    SGBS = gridView(pnl_3, m_model.SGBS, SGBSDrawCell);
    SGBS->setToolTip(QStringLiteral("买卖信号量"));
    SGBS->setFixedHeight(41);
    for (int c = 0; c < 10; ++c) m_model.SGBS.setColumnWidth(c, 18);
    m_model.SGBS.setRowHeight(1, 40);
    right->addWidget(SGBS);
    center->setStretchFactor(1, 1);

    // The quote table, with the line that marks the current row.
    pnlBottom = blackPanel(vertical);
    pnlBottom->setMinimumHeight(140);
    auto* bottom = new QVBoxLayout(pnlBottom);
    bottom->setContentsMargins(0, 0, 0, 0);
    SGStock = gridView(pnlBottom, m_model.quote.SGStock, SGStockDrawCell);
    SGStock->setScrollBars(true, false);
    bottom->addWidget(SGStock);
    pnlLine = new QWidget(pnlBottom);
    pnlLine->setAutoFillBackground(true);
    QPalette olive = pnlLine->palette();
    olive.setColor(QPalette::Window, QColor(128, 128, 0));
    pnlLine->setPalette(olive);
    pnlLine->setFixedHeight(1);
    pnlLine->hide();
    vertical->setStretchFactor(0, 1);
    rootLayout->addWidget(vertical, 1);

    // The status bar.
    auto* bar = new QWidget(root);
    bar->setFixedHeight(20);
    bar->setAutoFillBackground(true);
    QPalette barPalette = bar->palette();
    barPalette.setColor(QPalette::Window, kStatusBarColor);
    bar->setPalette(barPalette);
    auto* status = new QHBoxLayout(bar);
    status->setContentsMargins(1, 1, 1, 1);
    status->setSpacing(0);
    const auto field = [&](const char* text, int width, bool bold, HAlign align) {
        PanelWidget* p = panel(bar, text, Qt::black, width, bold, align, kStatusBarColor);
        status->addWidget(p);
        return p;
    };
    imgAns = field("◆", 18, false, HAlign::Center);
    imgAns->setCursor(Qt::PointingHandCursor);
    pnlSTBar_10 = field("", 30, false, HAlign::Right);
    pnlSTBar_11 = field("", 145, true, HAlign::Left);
    pnlSTBar_12 = field("", 45, false, HAlign::Left);
    field("", 3, false, HAlign::Left);
    pnlSTBar_20 = field("", 30, false, HAlign::Right);
    pnlSTBar_21 = field("", 145, true, HAlign::Left);
    pnlSTBar_22 = field("", 45, false, HAlign::Right);
    field("", 3, false, HAlign::Left);
    pnlSTBar_30 = field("", 30, false, HAlign::Right);
    pnlSTBar_31 = field("", 145, true, HAlign::Left);
    pnlSTBar_32 = field("", 45, false, HAlign::Left);
    field("", 3, false, HAlign::Left);
    m_model.SGNET.setColor(static_cast<std::uint32_t>(kStatusBarColor.blue() << 16 | kStatusBarColor.green() << 8 |
                                                      kStatusBarColor.red()));
    for (int c = 0; c < m_model.SGNET.columnCount(); ++c) m_model.SGNET.setColumnWidth(c, 10);
    m_model.SGNET.setDefaultRowHeight(3);
    SGNET = gridView(bar, m_model.SGNET, SGNETDrawCell);
    SGNET->setFixedSize(135, 18);
    SGNET->setEnabled(false);
    status->addWidget(SGNET);
    field("", 3, false, HAlign::Left);
    pnlSTBar_40 = field("", 303, true, HAlign::Left);
    pnlSTBar_40->setCursor(Qt::PointingHandCursor);
    status->addStretch();
    rootLayout->addWidget(bar);

    connect(SGStock, &GridView::cellSelected, this, &TfrmMain::SGStockSelectCell);
    const auto click = [this] {
        m_model.SGStockClick();
        placeLine();
    };
    connect(SGStock, &GridView::clicked, this, click);
    connect(SGStock, &GridView::doubleClicked, this, click);
    connect(imgAns, &PanelWidget::clicked, this, [this] {
        pnl_1->setVisible(!pnl_1->isVisible());
        pnl_2_1->setVisible(pnl_1->isVisible());
    });
    connect(pnlSTBar_40, &PanelWidget::clicked, this, [this] {
        if (m_model.pnlSTBar_40OffersReconnect() && showStartDialog) showStartDialog();
    });
}

void TfrmMain::buildMenu() {
    QMenuBar* bar = menuBar();
    struct Item {
        int tag;
        const char* caption;
        bool checkable;
    };
    const auto add = [&](QMenu* menu, const Item& item) {
        QAction* a = menu->addAction(QString::fromUtf8(item.caption));
        a->setData(item.tag);
        a->setCheckable(item.checkable);
        a->setChecked(item.checkable);
        if (item.checkable) m_panelActions.push_back(a);
        connect(a, &QAction::triggered, this, [this, tag = item.tag] { mmClickAll(tag); });
    };
    QMenu* system = bar->addMenu(QStringLiteral("系统"));
    add(system, {11, "重新登陆", false});
    add(system, {12, "数据补充", false});
    add(system, {13, "官方网站", false});
    add(system, {14, "退出系统", false});
    QMenu* tools = bar->addMenu(QStringLiteral("工具"));
    for (const Item& item : {Item{53, "资金栏", true}, Item{54, "统计栏", true}, Item{55, "盘口数据", true},
                             Item{56, "成交信息", true}})
        add(tools, item);
    tools->addSeparator();
    add(tools, {59, "窗口精灵", false});
    QMenu* help = bar->addMenu(QStringLiteral("帮助"));
    add(help, {61, "帮助", false});
    help->addSeparator();
    add(help, {63, "股市资讯", false});
}

void TfrmMain::mmClickAll(int tag) {
    // The check mark follows the panel, whoever asked (the menu, a key, a test).
    const auto toggle = [this](int t, QWidget* shown) {
        shown->setVisible(!shown->isVisible());
        for (QAction* a : m_panelActions)
            if (a->data().toInt() == t) a->setChecked(shown->isVisible());
    };
    switch (tag) {
        case 11:
            if (showStartDialog) showStartDialog();
            break;
        case 12:
            if (showDataDownload) showDataDownload();
            break;
        case 13:
        case 63:
            openUrl(QUrl(QStringLiteral("https://") + QString::fromLatin1(kWebAddress)));
            break;
        case 14:
            close();
            break;
        case 53:
            toggle(53, pnl_3);
            break;
        case 54:
            toggle(54, pnl_2_1);
            break;
        case 55:
            toggle(55, pnl_1);
            break;
        case 56:
            toggle(56, pnlBottom);
            break;
        case 59:
            startCompanion();
            break;
        case 61:
            openHelp();
            break;
        default:
            break;
    }
}

QFont TfrmMain::windowFont() {
    QFont f = QApplication::font();
    f.setPixelSize(12);
    return f;
}

void TfrmMain::startCompanion() {
    const QString program = programFolder + QStringLiteral("/borvix");
    if (!startProgram(program))
        showMessageBox({"提示信息", "无法启动窗口精灵: " + program.toStdString(), MessageButtons::Ok,
                        MessageIcon::Information});
}

void TfrmMain::openHelp() {
    // A compiled help file beside the program wins; the shipped page is its stand-in.
    for (const char* name : {"help.chm", "help.html"}) {
        const QString file = programFolder + QLatin1Char('/') + QString::fromLatin1(name);
        if (QFileInfo::exists(file) && openUrl(QUrl::fromLocalFile(file))) return;
    }
    showMessageBox({"提示信息", "找不到帮助文件: " + (programFolder + QStringLiteral("/help.chm")).toStdString(),
                    MessageButtons::Ok, MessageIcon::Information});
}

void TfrmMain::SGStockSelectCell(int column, int row) {
    m_model.SGStockSelectCell(column, row);
    placeLine();
    refreshFromModel();
}

void TfrmMain::placeLine() {
    const QRect cell = SGStock->cellRect(0, m_model.quote.CurrentRow);
    if (cell.isEmpty()) return;
    pnlLine->setGeometry(10, SGStock->geometry().top() + cell.bottom(), SGStock->width() - 20, 1);
    pnlLine->show();
    pnlLine->raise();
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (pnlLine->isVisible()) placeLine();
}

void TfrmMain::loginTimerTimer() {
    loginTimer.stop();
    showMaximized();
    ProcessMessages();
    if (showStartDialog) showStartDialog();
}

void TfrmMain::refreshFromModel() {
    for (GridView* v : {SGStock, sg_11, sg_22, sg_33, sg_44, SGNET, SGBS}) v->refresh();
    const std::pair<PanelWidget*, const Panel*> panels[] = {
        {pnlSTBar_10, &m_model.pnlSTBar_10}, {pnlSTBar_11, &m_model.pnlSTBar_11}, {pnlSTBar_12, &m_model.pnlSTBar_12},
        {pnlSTBar_20, &m_model.pnlSTBar_20}, {pnlSTBar_21, &m_model.pnlSTBar_21}, {pnlSTBar_22, &m_model.pnlSTBar_22},
        {pnlSTBar_30, &m_model.pnlSTBar_30}, {pnlSTBar_31, &m_model.pnlSTBar_31}, {pnlSTBar_32, &m_model.pnlSTBar_32},
        {pnlSTBar_40, &m_model.pnlSTBar_40}, {pnl_1_0_0, &m_model.pnl_1_0_0},   {pnl_1_0_1, &m_model.pnl_1_0_1},
    };
    for (const auto& [view, p] : panels) {
        view->setCaption(p->caption);
        // The status bar's own texts stay black on its colour; the index quotes carry theirs.
        if (p->color != palette::kSilver) view->setFontColor(toQColor(p->color));
    }
    redit1->setLines(m_model.redit1);
    redit2->setLines(m_model.redit2);
    redit3->setLines(m_model.redit3);
    redit4->setLines(m_model.redit4);
    Chart_0->setItems(m_model.Chart_0);
    Chart_1->setItems(m_model.Chart_1);
}

void TfrmMain::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        try {
            mmClickAll(11);
        } catch (...) {
        }
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        event->accept();
        return;
    }
    const MessageAnswer answer =
        showMessageBox({"提示信息", kExitQuestion, MessageButtons::OkCancel, MessageIcon::Information});
    if (answer == MessageAnswer::Ok) {
        // The window stays; the day lines are downloaded first.
        event->ignore();
        if (showDataDownload) showDataDownload();
        return;
    }
    m_closing = true;
    event->accept();
    m_session.stop();
    QCoreApplication::exit(18);
    // A second later the process ends at once with -1, before the quit above is seen and
    // without further clean-up, as the program always has.
    hide();
    ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    terminateProcess(-1);
}
