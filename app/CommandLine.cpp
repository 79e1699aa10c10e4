// SPDX-License-Identifier: MIT
#include "CommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows a day's observation log as a direction-time-signal chart "
                       "and a polar plot."));
    // Declared by hand: Qt's own help option adds --help-all, which lists the
    // toolkit's options, and these are parsed before any QApplication exists.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("LOG"),
                                 QStringLiteral("An observation log to show at start-up."),
                                 QStringLiteral("[LOG]"));

    // Without an application object the help names no program.
    const QString helpText =
        parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("dirchart"));
    CommandLine result;
    const auto usageError = [&](const QString& message) {
        result.action = CommandLine::Exit;
        result.exitCode = 2;
        result.output = QStringLiteral("dirchart: ") + message + QLatin1Char('\n') + helpText;
        return result;
    };
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        result.action = CommandLine::Exit;
        result.output = helpText;
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLine::Exit;
        result.output =
            QStringLiteral("dirchart ") + QStringLiteral(DIRCHART_VERSION) + QLatin1Char('\n');
        return result;
    }
    const QStringList logs = parser.positionalArguments();
    if (logs.size() > 1)
        return usageError(QStringLiteral("one LOG at most"));
    if (!logs.isEmpty())
        result.log = QFileInfo(logs.constFirst()).absoluteFilePath();
    return result;
}
