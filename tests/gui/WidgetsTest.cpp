// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <string>
#include <vector>

#include "PanelWidget.h"
#include "Pixels.h"
#include "QtMessageBox.h"
#include "RichLines.h"

TEST(RichLines, DrawsEachLineInItsOwnColour) {
    RichLines lines;
    lines.resize(60, 200);
    QFont font = lines.font();
    font.setPixelSize(14);
    font.setBold(true);
    lines.setFont(font);
    lines.setLines({{"12.34", {255, 0, 0}}, {"B", {0, 255, 0}}});
    const QImage image = renderWidget(lines);
    const int h = QFontMetrics(font).lineSpacing();
    EXPECT_GT(countColor(image, QRect(0, 0, 60, h), QColor(255, 0, 0)), 0);
    EXPECT_EQ(countColor(image, QRect(0, 0, 60, h), QColor(0, 255, 0)), 0);
    EXPECT_GT(countColor(image, QRect(0, h, 60, h), QColor(0, 255, 0)), 0);
    EXPECT_EQ(inkBounds(image, QRect(0, 2 * h, 60, 200), Qt::black), QRect());
}

TEST(PanelWidget, AlignsItsCaptionInsideTheBevel) {
    PanelWidget panel;
    panel.resize(200, 20);
    panel.setPanel({"8.88", {255, 255, 255}});
    panel.setBevel(PanelWidget::Bevel::Lowered);
    for (const HAlign h : {HAlign::Left, HAlign::Right}) {
        panel.setAlignment(h);
        const QImage image = renderWidget(panel);
        const QRect ink = inkBounds(image, QRect(1, 1, 198, 18), Qt::black);
        ASSERT_FALSE(ink.isEmpty());
        if (h == HAlign::Left)
            EXPECT_LT(ink.left(), 8);
        else
            EXPECT_GT(ink.right(), 191);
        EXPECT_EQ(image.pixel(0, 0), panel.palette().color(QPalette::Dark).rgb());
    }
}

TEST(QtMessageBox, ShowsTheRequestAndAnswersWithTheButtonPressed) {
    const struct {
        MessageBoxRequest request;
        QMessageBox::StandardButton press;
        QMessageBox::Icon icon;
        MessageAnswer answer;
    } cases[] = {
        {{"提示信息", "退出前?\n\r(下载)", MessageButtons::OkCancel, MessageIcon::Information},
         QMessageBox::Cancel,
         QMessageBox::Information,
         MessageAnswer::Cancel},
        {{"提示信息", "没找到", MessageButtons::Yes, MessageIcon::Question},
         QMessageBox::Yes,
         QMessageBox::Question,
         MessageAnswer::Yes},
        {{"TTDXManager.Run", "1324 ->x"}, QMessageBox::Ok, QMessageBox::NoIcon, MessageAnswer::Ok},
    };
    const MessageBoxHook previous = installQtMessageBox();
    for (const auto& c : cases) {
        QString title, text;
        QMessageBox::Icon icon{};
        bool pressed = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            if (QAbstractButton* button = box->button(c.press)) {
                pressed = true;
                button->click();
            } else {
                box->reject();
            }
        });
        EXPECT_EQ(showMessageBox(c.request), c.answer);
        EXPECT_TRUE(pressed);
        EXPECT_EQ(title.toStdString(), c.request.caption);
        EXPECT_EQ(icon, c.icon);
        EXPECT_FALSE(text.contains(QLatin1Char('\r')));
    }
    setMessageBoxHook(previous);
    EXPECT_EQ(showMessageBox({"c", "without a window", MessageButtons::Yes}), MessageAnswer::Yes);
}
