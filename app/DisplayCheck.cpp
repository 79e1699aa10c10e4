// SPDX-License-Identifier: MIT
#include "DisplayCheck.h"

#include <xcb/xcb.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// A Wayland compositor listens on a socket named by WAYLAND_DISPLAY, a path
// of its own or a name in XDG_RUNTIME_DIR.
bool WaylandDisplayReachable(const std::string& display) {
    std::string path = display;
    if (path.front() != '/') {
        const std::string runtimeDir = Environment("XDG_RUNTIME_DIR");
        if (runtimeDir.empty())
            return false;
        path = runtimeDir + '/' + display;
    }
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool reachable =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return reachable;
}

} // namespace

DisplayCheck::DisplayCheck() {
    if (!Environment("QT_QPA_PLATFORM").empty())
        return;
    const std::string x = Environment("DISPLAY");
    const std::string wayland = Environment("WAYLAND_DISPLAY");
    const std::string advice = "; start it from a desktop session";
    if (x.empty() && wayland.empty()) {
        m_problem = "no display (DISPLAY and WAYLAND_DISPLAY are unset)" + advice;
        return;
    }
    if ((!wayland.empty() && WaylandDisplayReachable(wayland)) || (!x.empty() && connectX(x)))
        return;
    std::string named;
    if (!wayland.empty())
        named = "WAYLAND_DISPLAY=" + wayland;
    if (!x.empty())
        named += (named.empty() ? "DISPLAY=" : " or DISPLAY=") + x;
    m_problem = "no display (cannot connect to " + named + ")" + advice;
}

DisplayCheck::~DisplayCheck() {
    release();
}

void DisplayCheck::release() {
    if (m_connection)
        xcb_disconnect(m_connection);
    m_connection = nullptr;
}

// The X server's answer decides, so that every form of DISPLAY (local
// socket, host:number, an authority file) is judged as Qt's xcb plugin
// would judge it. A server in the middle of a reset (another program was
// its last client and just left) drops the connection: asked again.
bool DisplayCheck::connectX(const std::string& display) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (attempt > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        errno = 0;
        xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
        const bool dropped = errno == ECONNRESET || errno == EPIPE;
        if (xcb_connection_has_error(connection) == 0) {
            m_connection = connection;
            return true;
        }
        xcb_disconnect(connection);
        if (!dropped)
            break;
    }
    return false;
}
