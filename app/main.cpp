// SPDX-License-Identifier: MIT
#include "CommandLine.h"
#include "DisplayCheck.h"
#include "Form1.h"
#include "Translations.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <string>

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine command = ParseCommandLine(arguments);
    if (command.action == CommandLine::Exit) {
        std::fputs(command.output.toLocal8Bit().constData(),
                   command.exitCode == 0 ? stdout : stderr);
        return command.exitCode;
    }

    // Without a reachable display Qt would abort with a long plugin message;
    // one line says it better.
    if (const std::string problem = DisplayProblem(); !problem.empty()) {
        std::fprintf(stderr, "dirchart: %s\n", problem.c_str());
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dirchart"));
    QApplication::setApplicationVersion(QStringLiteral(DIRCHART_VERSION));

    InstallQtTranslations(QLocale());

    Form1 window;
    window.show();
    // Once the window is shown, so that a warning about the log has a window
    // to stand over.
    if (!command.log.isEmpty())
        QTimer::singleShot(0, &window, [&window, &command] { window.LoadLog(command.log); });
    return QApplication::exec();
}
