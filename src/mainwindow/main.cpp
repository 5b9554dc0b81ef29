// SPDX-License-Identifier: GPL-3.0-or-later
// tikvane: the desktop program.
#include <QApplication>

#include "Program.h"
#include "QtMessageBox.h"
#include "SingleInstance.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    installQtMessageBox();
    const auto guard = ClaimSingleInstance();
    if (!guard) return 0;
    QApplication::setApplicationName(QStringLiteral("Vexlora股票资金分析系统"));
    TikvaneProgram program(QCoreApplication::applicationDirPath().toStdString());
    program.start();
    return QApplication::exec();
}
