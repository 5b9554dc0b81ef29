// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {
MessageAnswer showQtMessageBox(const MessageBoxRequest& request) {
    const QMessageBox::Icon icon = request.icon == MessageIcon::Information ? QMessageBox::Information
                                   : request.icon == MessageIcon::Question  ? QMessageBox::Question
                                                                            : QMessageBox::NoIcon;
    const QMessageBox::StandardButtons buttons = request.buttons == MessageButtons::OkCancel
                                                     ? QMessageBox::Ok | QMessageBox::Cancel
                                                 : request.buttons == MessageButtons::Yes ? QMessageBox::Yes
                                                                                          : QMessageBox::Ok;
    // Some texts break their lines with LF CR; Qt would show the CR.
    QString text = QString::fromStdString(request.text);
    text.remove(QLatin1Char('\r'));
    QMessageBox box(icon, QString::fromStdString(request.caption), text, buttons,
                    QApplication::activeWindow());
    switch (box.exec()) {
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        default:
            return MessageAnswer::Ok;
    }
}
}  // namespace

MessageBoxHook installQtMessageBox() { return setMessageBoxHook(showQtMessageBox); }
