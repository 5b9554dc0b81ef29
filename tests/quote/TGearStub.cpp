// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the outside decoder library: the packed-number contract, counting calls.
#include <cstdint>

extern "C" {
__attribute__((visibility("default"))) int TGearCalls = 0;

__attribute__((visibility("default"))) int BufToDouble(double* value, const std::uint8_t* bytes) {
    ++TGearCalls;
    double v = bytes[0] & 0x3F, m = 64;
    int i = 0;
    while (bytes[i] & 0x80) {
        ++i;
        v += (bytes[i] & 0x7F) * m;
        m *= 128;
    }
    *value = (bytes[0] & 0x40) ? -v : v;
    return i + 1;
}
}
