// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// tikvane-cli table dump FILE [--csv] | table build TEXTFILE OUT.bin [--csv]
int runTableCommand(const std::vector<std::string>& args);
