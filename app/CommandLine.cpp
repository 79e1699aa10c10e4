// SPDX-License-Identifier: MIT
#include "CommandLine.h"

#include "DayTime.h"
#include "PictureNames.h"
#include "PolarPlot.h"

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

// What the parser could not make sense of: the first unknown option as it
// was typed, or the parser's own words for a missing or unexpected value.
QString ParseError(const QCommandLineParser& parser, const QStringList& arguments) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        for (const QString& argument : arguments.mid(1)) {
            if (argument == QStringLiteral("--"))
                break;
            const QString name = argument.section(QLatin1Char('='), 0, 0);
            const qsizetype dashes = name.startsWith(QStringLiteral("--")) ? 2 : 1;
            if (name.startsWith(QLatin1Char('-')) && unknown.contains(name.mid(dashes)))
                return QStringLiteral("unknown option '%1'").arg(name);
        }
        return QStringLiteral("unknown option '%1'").arg(unknown.constFirst());
    }
    // "Missing value after '--render'." as "missing value after '--render'".
    QString text = parser.errorText();
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows a day's observation log as a direction-time-signal chart\n"
                       "and a polar plot. With --render it writes each LOG's chart as\n"
                       "DIR/<name>.png instead, without a window."));
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
    parser.addOptions({help, version, render, polar, gain, scale, quiet});
    parser.addPositionalArgument(
        QStringLiteral("LOG"),
        QStringLiteral("An observation log to show at start-up; with --render, the logs "
                       "to write images of."),
        QStringLiteral("[LOG...]"));

    // Without an application object the help names no program.
    const QString helpText =
        parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("dirchart"));
    CommandLine result;
    // One line naming the problem and one pointing at the help, as
    // command-line tools do; the whole help would bury the problem.
    const auto usageError = [&](QString message) {
        // A name may hold a line break or another control character; shown
        // as '?', as ls -q does, it cannot break the line or the terminal.
        for (QChar& c : message)
            if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
                c.category() == QChar::Separator_Paragraph)
                c = QLatin1Char('?');
        result.action = CommandLine::Exit;
        result.exitCode = 2;
        result.output = QStringLiteral("dirchart: %1\nTry 'dirchart --help'.\n").arg(message);
        return result;
    };
    // "-261204.log" is one unknown option, not seven unknown letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QStringList ownArguments = WithoutToolkitOptions(arguments);
    if (!parser.parse(ownArguments))
        return usageError(ParseError(parser, ownArguments));
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

    if (!parser.isSet(render)) {
        for (const QCommandLineOption& option : {polar, gain, scale, quiet})
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
    if (!folder.exists())
        return usageError(QStringLiteral("%1: no such folder").arg(parser.value(render)));
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
