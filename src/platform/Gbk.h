// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The one converter between the program's UTF-8 text and GBK (code page 936) bytes,
// used at every edge: server names, table files, config.ini, connect.cfg.
//
// Decoding never fails and never drops the rest of the text: a byte that cannot start
// a character (0xFF), a lead byte at the end of the text, or a pair that code page 936
// leaves unassigned becomes U+FFFD. When a lead byte is followed by a byte that cannot
// be a trail byte (below 0x40 or 0x7F), only the lead byte is replaced and the next
// byte is read afresh, so ASCII after a stray lead byte survives.
//
// Encoding writes '?' for a character GBK cannot hold and for each byte of invalid
// UTF-8, as Windows does with its default character. The user-defined areas
// (private-use characters) are not mapped.
namespace gbk {

std::string toUtf8(std::string_view gbkBytes, int* replaced = nullptr);
std::string fromUtf8(std::string_view utf8, int* replaced = nullptr);

}  // namespace gbk
