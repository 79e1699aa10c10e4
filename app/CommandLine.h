// SPDX-License-Identifier: MIT
#pragma once

#include "EventsCommand.h"
#include "RenderCommand.h"

#include <QString>
#include <QStringList>

// What the command line asks for:
//   dirchart [--help] [--version] [LOG]
//   dirchart --render DIR [--polar H:MM] [--gain N] [--scale R] [--quiet]
//            [--range MIN:MAX] [--stretch S] [--colormap MAP] [--window H:MM-H:MM] [--sector A-B]
//            [--animate [--from H:MM] [--to H:MM]] [--overview] [--html] [--csv] LOG...
//   dirchart --events [--threshold N] LOG...
struct CommandLine {
    enum Action {
        ShowWindow, // start the window, and load `log` once it is shown
        Render,     // write the images `render` asks for, without a window
        Events,     // list the events `events` asks for, without a window
        Exit,       // print `output` (to stdout, or stderr for a usage error) and exit
    } action = ShowWindow;
    QString log;          // absolute; empty for none
    RenderRequest render; // for Render
    EventsRequest events; // for Events
    QString output;       // text to print for Exit
    int exitCode = 0;     // for Exit: 0 after --help or --version, 2 for a usage error
};

// Parses the arguments (the program's name first), without needing a
// QCoreApplication, so that --help and usage errors work without a display.
// Qt's own options (-style, -platform, ...) are left for QApplication.
CommandLine ParseCommandLine(const QStringList& arguments);
