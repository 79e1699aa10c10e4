// SPDX-License-Identifier: MIT
// Opens the overview window on a folder as Ctrl+L does, over a main window
// that is already up (so fonts and the display are warm, as they are for a
// user), lets the overview report how long the first thumbnail and the last
// one took to arrive, and quits:
//   xvfb-run -a build/bench/dirchart-overview-timing FOLDER [SHOWN-LOG]
// Under /usr/bin/time -v it gives the peak memory of the overview. With
// DIRCHART_OVERVIEW_STAY set it stays open, for screenshots.
#include "Form1.h"
#include "OverviewWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fputs("usage: dirchart-overview-timing FOLDER [SHOWN-LOG]\n", stderr);
        return 2;
    }
    qputenv("DIRCHART_OVERVIEW_TIMING", "1");
    QApplication app(argc, argv);
    Form1 main;
    main.show();
    if (argc > 2)
        main.loadLog(QString::fromLocal8Bit(argv[2]));

    // The longest the event loop went without a turn while the logs were
    // read: how long input would have waited.
    std::unique_ptr<OverviewWindow> window;
    QElapsedTimer sinceTurn;
    qint64 longestPause = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
        longestPause = std::max(longestPause, sinceTurn.restart());
        if (!window->allRead())
            return;
        poll.stop();
        std::fprintf(stderr, "dirchart: overview: longest pause of the event loop %lld ms\n",
                     static_cast<long long>(longestPause));
        if (qEnvironmentVariableIsEmpty("DIRCHART_OVERVIEW_STAY"))
            QTimer::singleShot(200, &app, &QApplication::quit); // painted, then gone
    });
    QTimer::singleShot(500, &app, [&] {
        QElapsedTimer clock;
        clock.start();
        window = std::make_unique<OverviewWindow>(argv[1], argc > 2 ? argv[2] : "");
        const qint64 built = clock.elapsed();
        window->show();
        std::fprintf(stderr, "dirchart: overview: built after %lld ms, shown after %lld ms\n",
                     static_cast<long long>(built), static_cast<long long>(clock.elapsed()));
        sinceTurn.start();
        poll.start(5);
    });
    return QApplication::exec();
}
