// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary reply frames to the reply decoder as the answer to each of the five
// commands: the first input byte picks the command, the rest is the frame.
#include <cstdint>
#include <vector>

#include "TDXEDCode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    static const TTDX_MSG kCommands[] = {
        {CMD_INITMARKET, "", 1, 1000, 0},       {CMD_MINS, "399001SZ", 0, 0, 0},
        {CMD_DAYS, "999999SH", 1, 0, 100},      {CMD_PKDAT, "999999SH,000001SZ", 0, 0, 0},
        {CMD_DEALS, "000001", 0, 0, 2000},
    };
    static MarketDirectories directories;
    static std::vector<std::uint8_t> area(kBodyCapacity);
    std::uint32_t stockCount[2] = {0, 1000};
    TDXDecodeEvents events;
    std::size_t records = 0;
    events.OnDecodePacket_PKDAT = [&](std::span<const TTDX_PKDAT> d, int) { records += d.size(); };
    events.OnDecodePacket_DEALS = [&](TCallBackStockInfo&, std::span<const TTDX_DEALInfo> d, int, int) { records += d.size(); };
    ReplyContext ctx{directories, stockCount, events, [](const TTDX_MSG&) {}, area};
    DecodeReply({data + 1, size - 1}, kCommands[data[0] % 5], ctx);
    return 0;
}
