// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// tikvane-cli days [--host H] [--port P] [--folder DIR] [CODE...]: the day lines of the
// codes, or of every stock of the directory that has them, into DIR/data.
int runDaysCommand(int argc, char** argv, const std::vector<std::string>& args);
