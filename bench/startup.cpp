// SPDX-License-Identifier: MIT
// Start-up benchmark: starts each of two programs in turn, many times, and
// measures the time from just before exec to the map of its first window on
// the X server, and the program's peak resident memory once it has settled.
// Prints the medians and their ratio and difference.
//
// Usage: dirchart-startup RUNS PROGRAM BASELINE   (under an X server)

#include <xcb/xcb.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    double milliseconds = 0;
    long peakKiB = 0;
};

long PeakResidentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(1 << 12, '\n');
    }
    return -1;
}

// Waits for a MapNotify of a top-level window; false after ten seconds.
bool WaitForMap(xcb_connection_t* connection) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        xcb_generic_event_t* event = xcb_poll_for_event(connection);
        if (!event) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            continue;
        }
        const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
        std::free(event);
        if (mapped)
            return true;
    }
    return false;
}

Sample RunOnce(xcb_connection_t* connection, const char* program) {
    const auto start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execl(program, program, static_cast<char*>(nullptr));
        std::perror(program);
        std::_Exit(127);
    }
    Sample sample;
    if (!WaitForMap(connection)) {
        std::fprintf(stderr, "%s: no window within ten seconds\n", program);
        std::exit(1);
    }
    sample.milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    // Let it paint and settle before reading its peak memory.
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    sample.peakKiB = PeakResidentKiB(pid);
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    // Drop the unmap and destroy events of this run.
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection))
        std::free(event);
    return sample;
}

template <typename T> T Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s RUNS PROGRAM BASELINE\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "cannot connect to the X server\n");
        return 1;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    std::vector<double> times[2];
    std::vector<long> peaks[2];
    RunOnce(connection, argv[2]); // warm the page cache for both
    RunOnce(connection, argv[3]);
    for (int i = 0; i < runs; ++i)
        for (int p = 0; p < 2; ++p) { // alternate, so that drift hits both alike
            const Sample s = RunOnce(connection, argv[2 + p]);
            times[p].push_back(s.milliseconds);
            peaks[p].push_back(s.peakKiB);
        }

    for (int p = 0; p < 2; ++p)
        std::printf("%-40s median %7.1f ms to the window, peak resident %6ld KiB (%d runs)\n",
                    argv[2 + p], Median(times[p]), Median(peaks[p]), runs);
    std::printf("time ratio %.3f, peak memory difference %+ld KiB\n",
                Median(times[0]) / Median(times[1]), Median(peaks[0]) - Median(peaks[1]));
    xcb_disconnect(connection);
    return 0;
}
