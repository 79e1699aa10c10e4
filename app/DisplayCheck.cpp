// SPDX-License-Identifier: MIT
#include "DisplayCheck.h"

#include <xcb/xcb.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The X server's answer decides, so that every form of DISPLAY (local
// socket, host:number, an authority file) is judged as Qt's xcb plugin
// would judge it.
bool XDisplayReachable(const std::string& display) {
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    const bool reachable = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return reachable;
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

std::string DisplayProblem() {
    if (!Environment("QT_QPA_PLATFORM").empty())
        return {};
    const std::string x = Environment("DISPLAY");
    const std::string wayland = Environment("WAYLAND_DISPLAY");
    const std::string advice = "; start it from a desktop session";
    if (x.empty() && wayland.empty())
        return "no display (DISPLAY and WAYLAND_DISPLAY are unset)" + advice;
    if ((!wayland.empty() && WaylandDisplayReachable(wayland)) ||
        (!x.empty() && XDisplayReachable(x)))
        return {};
    std::string named;
    if (!wayland.empty())
        named = "WAYLAND_DISPLAY=" + wayland;
    if (!x.empty())
        named += (named.empty() ? "DISPLAY=" : " or DISPLAY=") + x;
    return "no display (cannot connect to " + named + ")" + advice;
}
