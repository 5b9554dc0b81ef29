// SPDX-License-Identifier: GPL-3.0-or-later
// GoogleTest main for tests that need a Qt event loop on the main thread.
#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
