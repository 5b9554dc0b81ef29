// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the INI reader and writer: no value read is longer than the
// buffer, and a key set in any file reads back as written.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Gbk.h"
#include "IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const char* key : {"Code_1", "Name_1", "ID"}) {
        const std::string value = readIniValue(bytes, "Tikvane", key, "");
        if (gbk::fromUtf8(value).size() > IniFile::kMaxValueBytes) std::abort();
    }
    const std::string written = writeIniValue(bytes, "Tikvane", "Code_1", "600489");
    if (readIniValue(written, "tikvane", "CODE_1", "") != "600489") std::abort();
    const std::string added = writeIniValue(bytes, "中文", "名称", "中金黄金");
    if (readIniValue(added, "中文", "名称", "") != "中金黄金") std::abort();
    return 0;
}
