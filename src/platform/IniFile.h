// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "Status.h"

// An INI file such as config.ini, read and written as the Windows profile functions do:
// sections and keys match ignoring ASCII case, blanks around keys and values are dropped,
// lines starting with ';' are comments. The file is GBK on disk; text here is UTF-8.
//
// Every call reads the file afresh, so a value written elsewhere is seen at once. Reading
// never fails: a missing or unreadable file, section or key gives the caller's default.
// Writing keeps every other line byte for byte and replaces the file atomically.
class IniFile {
public:
    // The profile functions fill a 255-byte buffer in the ANSI code page, so the limit counts
    // GBK bytes (a Chinese character takes two); a character it would split is dropped.
    static constexpr std::size_t kMaxValueBytes = 255;

    explicit IniFile(std::filesystem::path path) : m_path(std::move(path)) {}
    const std::filesystem::path& path() const { return m_path; }

    // The value of the first such key in the first such section; a value enclosed in a pair
    // of equal quotes (' or ") loses them.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // Sets the key, adding it after the last line of its section, or the section at the end
    // of the file, or the file. Line breaks in the value are written as blanks so that a value
    // can never add lines of its own. A name that could not be read back (empty or holding a line
    // break, a section with ']', a key with '=' or starting with ';' or '[') is refused.
    Status writeString(std::string_view section, std::string_view key, std::string_view value) const;

private:
    std::filesystem::path m_path;
};

// The same rules on the bytes of a file, for the fuzzer: the value read from fileBytes, and
// fileBytes with the key set (the names must be valid, as writeString checks).
std::string readIniValue(std::string_view fileBytes, std::string_view section, std::string_view key,
                         std::string_view defaultValue);
std::string writeIniValue(std::string_view fileBytes, std::string_view section, std::string_view key,
                          std::string_view value);
