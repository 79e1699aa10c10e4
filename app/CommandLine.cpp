// SPDX-License-Identifier: MIT
#include "CommandLine.h"

#include "DayTime.h"
#include "PictureNames.h"
#include "PolarPlot.h"
#include "ValueExport.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QSet>

#include <optional>

namespace {

// The device pixel ratios images can be drawn at: those of real screens,
// 100 % to 800 %. Below 1 some cells would get no pixel at all.
bool ScaleSupported(qreal scale) {
    return scale >= 1 && scale <= 8;
}

// The toolkit's own options, which QApplication takes from the same command
// line (`-style fusion`, `-platform offscreen`, `-reverse`): left out here,
// since dirchart's options are parsed before any QApplication exists.
QStringList WithoutToolkitOptions(const QStringList& arguments) {
    static const QStringList withValue{
        QStringLiteral("platform"),        QStringLiteral("platformpluginpath"),
        QStringLiteral("platformtheme"),   QStringLiteral("plugin"),
        QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowtitle"),
        QStringLiteral("qwindowicon"),     QStringLiteral("session"),
        QStringLiteral("style"),           QStringLiteral("stylesheet"),
        QStringLiteral("display"),         QStringLiteral("geometry")};
    static const QStringList flags{QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                   QStringLiteral("nograb"), QStringLiteral("dograb")};
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (i == 0 || !argument.startsWith(QLatin1Char('-')) ||
            argument.startsWith(QStringLiteral("--"))) {
            kept.append(argument);
            continue;
        }
        const QString name = argument.mid(1).section(QLatin1Char('='), 0, 0);
        if (flags.contains(name))
            continue;
        if (withValue.contains(name)) {
            if (!argument.contains(QLatin1Char('=')))
                ++i; // its value follows
            continue;
        }
        kept.append(argument);
    }
    return kept;
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows a day's observation log as a direction-time-signal chart\n"
                       "and a polar plot. With --render it writes each LOG's chart as\n"
                       "DIR/<name>.png instead, without a window; with --events it lists\n"
                       "each LOG's events."));
    // Declared by hand: Qt's own help option adds --help-all, which lists the
    // toolkit's options, and these are parsed before any QApplication exists.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption render(
        QStringLiteral("render"),
        QStringLiteral("Write each LOG's chart into the folder DIR, without a window."),
        QStringLiteral("DIR"));
    const QCommandLineOption polar(
        QStringLiteral("polar"),
        QStringLiteral("With --render, also write the polar plot of the slot starting at "
                       "H:MM (0:00 to 23:58, even minutes) as <name>-HHMM-xN.png."),
        QStringLiteral("H:MM"));
    const QCommandLineOption gain(
        QStringLiteral("gain"),
        QStringLiteral("With --render and --polar, the polar plot's gain, 1 to 50 "
                       "(default 1)."),
        QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption scale(
        QStringLiteral("scale"),
        QStringLiteral(
            "With --render, draw at device pixel ratio R, 1 to 8, as on a screen of that "
            "scale (default 1)."),
        QStringLiteral("R"), QStringLiteral("1"));
    const QCommandLineOption quiet(QStringLiteral("quiet"),
                                   QStringLiteral("With --render, show no progress line."));
    // The values out: CSV files beside the images, and the list of events.
    const QCommandLineOption csv(
        QStringLiteral("csv"),
        QStringLiteral("With --render, also write each LOG's values as <name>.csv, and with "
                       "--polar the slot's as <name>-HHMM.csv."));
    const QCommandLineOption events(
        QStringLiteral("events"),
        QStringLiteral("List the events of each LOG on standard output as CSV, without a "
                       "window: groups of touching cells at or over the threshold."));
    const QCommandLineOption threshold(
        QStringLiteral("threshold"),
        QStringLiteral("With --events, the lowest value of an event's cells, 1 to 32767 "
                       "(default 512)."),
        QStringLiteral("N"), QString::number(DefaultEventThreshold));
    parser.addOptions({help, version, render, polar, gain, scale, quiet, csv, events, threshold});
    parser.addPositionalArgument(
        QStringLiteral("LOG"),
        QStringLiteral("An observation log to show at start-up; with --render, the logs "
                       "to write images of; with --events, the logs to list."),
        QStringLiteral("[LOG...]"));

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
    if (!parser.parse(WithoutToolkitOptions(arguments)))
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

    if (parser.isSet(events)) {
        for (const QCommandLineOption& option : {render, polar, gain, scale, quiet, csv})
            if (parser.isSet(option))
                return usageError(
                    QStringLiteral("--%1 does not go with --events").arg(option.names()[0]));
        bool ok = false;
        result.events.threshold = parser.value(threshold).toInt(&ok);
        if (!ok || result.events.threshold < MinEventThreshold ||
            result.events.threshold > MaxEventThreshold)
            return usageError(
                QStringLiteral("%1: not a threshold from 1 to 32767").arg(parser.value(threshold)));
        if (logs.isEmpty())
            return usageError(QStringLiteral("--events needs at least one LOG"));
        result.action = CommandLine::Events;
        result.events.logs = logs;
        return result;
    }
    if (parser.isSet(threshold))
        return usageError(QStringLiteral("--threshold needs --events"));

    if (!parser.isSet(render)) {
        for (const QCommandLineOption& option : {polar, gain, scale, quiet, csv})
            if (parser.isSet(option))
                return usageError(QStringLiteral("--%1 needs --render").arg(option.names()[0]));
        if (logs.size() > 1)
            return usageError(QStringLiteral("one LOG at most"));
        if (!logs.isEmpty())
            result.log = QFileInfo(logs.constFirst()).absoluteFilePath();
        return result;
    }

    result.action = CommandLine::Render;
    RenderRequest& request = result.render;
    const QFileInfo folder(parser.value(render));
    if (!folder.isDir())
        return usageError(QStringLiteral("%1: not a folder").arg(parser.value(render)));
    if (!folder.isWritable())
        return usageError(QStringLiteral("%1: not writable").arg(parser.value(render)));
    request.folder = folder.absoluteFilePath();

    if (parser.isSet(polar)) {
        const std::optional<int> slot = SlotStartingAt(parser.value(polar).toStdString());
        if (!slot)
            return usageError(QStringLiteral("%1: not the start of a time slot "
                                             "(0:00 to 23:58 in steps of two minutes)")
                                  .arg(parser.value(polar)));
        request.polarSlot = *slot;
    }
    bool ok = false;
    request.gain = parser.value(gain).toInt(&ok);
    if (!ok || request.gain < MinPolarGain || request.gain > MaxPolarGain)
        return usageError(QStringLiteral("%1: not a gain from 1 to 50").arg(parser.value(gain)));
    request.scale = parser.value(scale).toDouble(&ok);
    if (!ok || !ScaleSupported(request.scale))
        return usageError(QStringLiteral("%1: not a scale from 1 to 8").arg(parser.value(scale)));
    request.quiet = parser.isSet(quiet);
    request.csv = parser.isSet(csv);
    if (parser.isSet(gain) && !parser.isSet(polar))
        return usageError(QStringLiteral("--gain needs --polar"));

    if (logs.isEmpty())
        return usageError(QStringLiteral("--render needs at least one LOG"));
    // Two logs must not write the same image, nor one log's polar plot have
    // the name of another's chart.
    QSet<QString> names;
    for (const QString& log : logs) {
        QStringList own{ChartImageName(log)};
        if (request.polarSlot >= 0)
            own.append(PolarImageName(log, request.polarSlot, request.gain));
        if (request.csv)
            own.append(DayValuesName(log));
        if (request.csv && request.polarSlot >= 0)
            own.append(SlotValuesName(log, request.polarSlot));
        for (const QString& name : own) {
            if (names.contains(name))
                return usageError(
                    QStringLiteral("%1: another LOG already writes %2").arg(log, name));
            names.insert(name);
        }
    }
    request.logs = logs;
    return result;
}
