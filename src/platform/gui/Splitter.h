// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSplitter>

// The windows' splitter: a 1-pixel maroon bar between the panes it holds, which the user
// drags to resize them.
class Splitter : public QSplitter {
    Q_OBJECT
public:
    explicit Splitter(Qt::Orientation orientation, QWidget* parent = nullptr);

protected:
    QSplitterHandle* createHandle() override;
};
