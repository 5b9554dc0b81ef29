// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QTimer>

class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class TfrmDataDLModel;
class TTDXManager;

// The day-data download dialog ("盘后数据下载"): a view over TfrmDataDLModel. The replies
// are written by the reply handler whether the dialog is open or not; the dialog follows
// the model's log and progress while it is shown.
class TfrmDataDL : public QDialog {
    Q_OBJECT
public:
    TfrmDataDL(TfrmDataDLModel& model, TTDXManager& client, QWidget* parent = nullptr);

    QPlainTextEdit* memLog;
    QProgressBar* DLProgress;
    QPushButton* btnDownLD;
    QPushButton* btnClose;

    void syncFromModel();

    // Closing by any means ends the download state.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TfrmDataDLModel& m_model;
    TTDXManager& m_client;
    QTimer m_sync;
    QString m_shownLog;
};
