// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QTimer>

#include "StartModel.h"

class MainModel;
class PanelWidget;
class QComboBox;
class QProgressBar;
class QPushButton;
class TTDXManager;

// The start dialog: a view over TfrmStartModel and the start part of MainModel. Login
// runs the connect sequence inside the click; the dialog follows the model's status line
// and progress while it waits, and closes afterwards whatever the outcome.
class TfrmStart : public QDialog {
    Q_OBJECT
public:
    TfrmStart(TfrmStartModel& start, MainModel& model, TTDXManager& client, QWidget* parent = nullptr);

    QComboBox* cmbHost;
    QPushButton* btnLogin;
    QPushButton* btnCancel;
    QProgressBar* InitProgress;
    QProgressBar* downPB;
    PanelWidget* pnl_1;

    // Fills the pick-list from the model (after FormCreate).
    void showServers();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void btnLoginClick();
    void btnCancelClick();
    void syncFromModel();

    TfrmStartModel& m_start;
    MainModel& m_model;
    TTDXManager& m_client;
    QTimer m_sync;
};
