// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MessageBox.h"

// Makes showMessageBox open a modal Qt message box over the active window. Needs a
// QApplication; returns the hook it replaced.
MessageBoxHook installQtMessageBox();
