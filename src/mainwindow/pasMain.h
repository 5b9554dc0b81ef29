// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QTimer>

#include <functional>

class BarChart;
class GridView;
class MainModel;
class PanelWidget;
class PieChart;
class QAction;
class QMenu;
class QUrl;
class RealTimeSession;
class RichLines;
class Splitter;
class TfrmStartModel;
class TfrmStockModel;

// The main window: the layout of the quote table, the stock panel, the chart area and the
// fund-flow panel over MainModel, which it draws every fifth of a second; its clicks and
// keys go to the model. The timers and the quote client belong to the session.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    TfrmMain(MainModel& model, RealTimeSession& session, TfrmStartModel& start, TfrmStockModel& stock);

    // What opening the start dialog does; the program sets it (tests replace it).
    std::function<void()> showStartDialog;
    // And the day-data download dialog.
    std::function<void()> showDataDownload;
    // The folder of the companion program and the help file: the program's own.
    QString programFolder;
    // Opening a web address or document and starting a program; tests replace them.
    std::function<bool(const QUrl&)> openUrl;
    std::function<bool(const QString& program)> startProgram;
    // Ends the process at once; the window's close does it.
    std::function<void(int code)> terminateProcess;

    GridView* SGStock;
    GridView *sg_11, *sg_22, *sg_33, *sg_44, *SGNET, *SGBS;
    PanelWidget *pnlSTBar_10, *pnlSTBar_11, *pnlSTBar_12, *pnlSTBar_20, *pnlSTBar_21, *pnlSTBar_22;
    PanelWidget *pnlSTBar_30, *pnlSTBar_31, *pnlSTBar_32, *pnlSTBar_40;
    PanelWidget *pnl_1_0_0, *pnl_1_0_1, *imgAns;
    RichLines *redit1, *redit2, *redit3, *redit4;
    PieChart* Chart_0;
    BarChart* Chart_1;
    QWidget *pnl_1, *pnl_2_1, *pnl_3, *pnlBottom, *pnlLine, *pnl_1_1, *TBC;

    // The window's 12-pixel text, the size of a 9-point desktop font its cells are made for.
    static QFont windowFont();

    // Draws the model into the controls.
    void refreshFromModel();
    // The menu command of a tag.
    void mmClickAll(int tag);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildLayout();
    void buildMenu();
    void loginTimerTimer();
    void placeLine();
    void SGStockSelectCell(int column, int row);
    void startCompanion();
    void openHelp();

    MainModel& m_model;
    RealTimeSession& m_session;
    TfrmStartModel& m_start;
    TfrmStockModel& m_stock;
    QTimer loginTimer;
    QTimer m_refresh;
    std::vector<QAction*> m_panelActions;
    bool m_closing = false;
};
