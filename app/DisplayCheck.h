// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// Why the viewer cannot open a window, as one line for the terminal, or an
// empty string when it can: DISPLAY and WAYLAND_DISPLAY both unset, or none
// of the displays they name accepts a connection. Qt itself would abort in
// those cases with a long message about its platform plugins. A platform
// chosen through QT_QPA_PLATFORM (offscreen, for instance) is left to Qt.
std::string DisplayProblem();
