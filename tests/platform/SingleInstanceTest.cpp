// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "SingleInstance.h"

TEST(SingleInstance, ASecondHolderIsRefusedUntilTheFirstGoes) {
    const std::string name = "vexlora-test-" + std::to_string(::getpid());
    {
        SingleInstanceGuard first(name);
        ASSERT_TRUE(first.acquired());
        EXPECT_FALSE(SingleInstanceGuard(name).acquired());
    }
    EXPECT_TRUE(SingleInstanceGuard(name).acquired());

    // A holder that ends without letting go (as a killed process does) blocks nobody.
    const pid_t child = ::fork();
    if (child == 0) {
        SingleInstanceGuard held(name);
        ::_exit(held.acquired() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(SingleInstanceGuard(name).acquired());
}
