// SPDX-License-Identifier: MIT
// Opens the overview window on a folder, as Ctrl+L does, lets it report how
// long the first thumbnail and the last one took to arrive, and quits:
//   xvfb-run -a build/bench/dirchart-overview-timing FOLDER [SHOWN-LOG]
// Under /usr/bin/time -v it gives the peak memory of the overview. With
// DIRCHART_OVERVIEW_STAY set it stays open, for screenshots.
#include "OverviewWindow.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fputs("usage: dirchart-overview-timing FOLDER [SHOWN-LOG]\n", stderr);
        return 2;
    }
    qputenv("DIRCHART_OVERVIEW_TIMING", "1");
    QApplication app(argc, argv);
    OverviewWindow window(argv[1], argc > 2 ? argv[2] : "");
    window.show();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
        if (window.daysPending() != 0)
            return;
        poll.stop();
        if (qEnvironmentVariableIsEmpty("DIRCHART_OVERVIEW_STAY"))
            QTimer::singleShot(200, &app, &QApplication::quit); // painted, then gone
    });
    poll.start(5);
    return QApplication::exec();
}
