// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "Status.h"

// File access for user data: whole-file reads, and writes that replace the file
// atomically (a temporary file in the same folder, then a rename), so a crash or a
// full disk mid-write leaves the previous file as it was.
namespace fileio {

Status readFile(const std::filesystem::path& path, std::string& bytes);
Status writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace fileio
