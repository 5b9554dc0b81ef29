// SPDX-License-Identifier: GPL-3.0-or-later
// tikvane: the desktop program.
#include <QApplication>

#include "MessageBox.h"
#include "Program.h"
#include "QtMessageBox.h"
#include "SingleInstance.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    installQtMessageBox();
    const SingleInstanceGuard guard("vexloratikvane");
    if (!guard.acquired()) {
        showMessageBox({"提示信息", "Vexlora股票资金分析系统正在运行中...", MessageButtons::Ok, MessageIcon::Information});
        return 0;
    }
    QApplication::setApplicationName(QStringLiteral("Vexlora股票资金分析系统"));
    TikvaneProgram program(QCoreApplication::applicationDirPath().toStdString());
    program.start();
    return QApplication::exec();
}
