// SPDX-License-Identifier: MIT
#pragma once

#include <string>

struct xcb_connection_t;

// Why the viewer cannot open a window, as one line for the terminal, or an
// empty string when it can: DISPLAY and WAYLAND_DISPLAY both unset, or none
// of the displays they name accepts a connection. Qt itself would abort in
// those cases with a long message about its platform plugins. A platform
// chosen through QT_QPA_PLATFORM (offscreen, for instance) is left to Qt.
//
// An X server whose last client leaves resets itself and turns away whoever
// connects meanwhile (Xvfb and servers started for a single program do), so
// the check's own connection to X stays open until release(), to be called
// once QApplication holds its connection.
class DisplayCheck {
  public:
    DisplayCheck();
    ~DisplayCheck();
    DisplayCheck(const DisplayCheck&) = delete;
    DisplayCheck& operator=(const DisplayCheck&) = delete;

    const std::string& problem() const { return m_problem; }
    void release();

  private:
    bool connectX(const std::string& display);

    std::string m_problem;
    xcb_connection_t* m_connection = nullptr;
};
