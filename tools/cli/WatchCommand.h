// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// tikvane-cli watch --host H [--port P] [--folder DIR] [--seconds N] [--every S] [--tsv]:
// the real-time core against a quote server, without a window.
int runWatchCommand(int argc, char** argv, const std::vector<std::string>& args);
