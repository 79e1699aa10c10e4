// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for: `dirchart [--help] [--version] [LOG]`.
struct CommandLine {
    enum Action {
        ShowWindow, // start the window, and load `log` once it is shown
        Exit,       // print `output` (to stdout, or stderr for a usage error) and exit
    } action = ShowWindow;
    QString log;      // absolute; empty for none
    QString output;   // text to print for Exit
    int exitCode = 0; // for Exit: 0 after --help or --version, 2 for a usage error
};

// Parses the arguments (the program's name first), without needing a
// QCoreApplication, so that --help and usage errors work without a display.
CommandLine ParseCommandLine(const QStringList& arguments);
