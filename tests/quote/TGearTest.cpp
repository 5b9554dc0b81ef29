// SPDX-License-Identifier: GPL-3.0-or-later
// With the outside library on the search path, every packed number goes through it.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <vector>

#include "TDXAsm.h"

TEST(OutsideDecoder, ServesEveryPackedNumberWhenPresent) {
    ASSERT_TRUE(BindBufToDouble());
    void* library = dlopen("libTGear.so", RTLD_NOW | RTLD_NOLOAD);  // the copy already loaded
    ASSERT_NE(library, nullptr);
    auto* calls = static_cast<int*>(dlsym(library, "TGearCalls"));
    ASSERT_NE(calls, nullptr);
    const std::vector<std::uint8_t> body{0x3A, 0x02, 0x81, 0x10, 0x05, 0x01, 0x00, 0x00};
    BodyCursor cursor{body};
    const auto deals = DecodeDeals(cursor, 1);
    ASSERT_EQ(deals.size(), 1u);
    EXPECT_EQ(+deals[0].Price, 10250);
    EXPECT_EQ(*calls, 3);
    // A number cut by the end of the body never reaches the library.
    const std::uint8_t cut[] = {0x81};
    double v = 0;
    EXPECT_EQ(BufToDouble(v, cut, 1), 0);
    EXPECT_EQ(*calls, 3);
}
