// SPDX-License-Identifier: MIT
#include "CommandLine.h"

#include "ArchiveRender.h"
#include "ChartView.h"
#include "DayTime.h"
#include "FileNames.h"
#include "LogFile.h"
#include "PathText.h"
#include "PolarPlot.h"

#include <QCommandLineParser>
#include <QSet>

#include <sys/stat.h>
#include <unistd.h>

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

QString NotASlotStart(const QString& time) {
    return QStringLiteral(
               "%1: not the start of a time slot (0:00 to 23:58 in steps of two minutes)")
        .arg(time);
}

// The animation's options: --animate, and the slots it runs through, from
// --from to --to, both included (the whole day by default). Sets the
// request's animation; returns an empty string, or what is wrong.
QString ParseAnimation(const QCommandLineParser& parser, const QCommandLineOption& animate,
                       const QCommandLineOption& from, const QCommandLineOption& to, bool render,
                       RenderRequest& request) {
    for (const QCommandLineOption& option : {animate, from, to})
        if (parser.isSet(option) && !render)
            return QStringLiteral("--%1 needs --render").arg(option.names()[0]);
    if (!parser.isSet(animate)) {
        for (const QCommandLineOption& option : {from, to})
            if (parser.isSet(option))
                return QStringLiteral("--%1 needs --animate").arg(option.names()[0]);
        return {};
    }
    SlotRange range;
    QString error;
    const auto read = [&](const QCommandLineOption& option, int& slot) {
        if (!parser.isSet(option) || !error.isEmpty())
            return;
        if (const std::optional<int> start = SlotStartingAt(parser.value(option).toStdString()))
            slot = *start;
        else
            error = NotASlotStart(parser.value(option));
    };
    read(from, range.first);
    read(to, range.last);
    if (!error.isEmpty())
        return error;
    if (range.first > range.last)
        return QStringLiteral("--from %1 is after --to %2")
            .arg(parser.value(from), parser.value(to));
    request.animation = range;
    return {};
}
// The chart's colours for --render. The render mode never reads the user's
// settings, so that a picture depends on its command line alone.
struct ColourOptions {
    const QCommandLineOption range{
        QStringLiteral("range"),
        QStringLiteral("With --render, colour the values from MIN to MAX, whole numbers from "
                       "-32768 to 32767 with MIN below MAX (default 0:1023)."),
        QStringLiteral("MIN:MAX")};
    const QCommandLineOption stretch{
        QStringLiteral("stretch"),
        QStringLiteral("With --render, spread the range over the colours linearly, by its "
                       "square root or by its logarithm: linear, sqrt or log (default linear)."),
        QStringLiteral("S")};
    const QCommandLineOption colormap{
        QStringLiteral("colormap"),
        QStringLiteral("With --render, the colours: standard, viridis, cividis, turbo or grey "
                       "(default standard)."),
        QStringLiteral("MAP")};

    QList<QCommandLineOption> all() const { return {range, stretch, colormap}; }

    // Why a value is wrong, or nothing once `colours` holds them all.
    std::optional<QString> read(const QCommandLineParser& parser, ColourSettings& colours) const {
        if (parser.isSet(range)) {
            const QStringList ends = parser.value(range).split(QLatin1Char(':'));
            bool minOk = false, maxOk = false;
            const int minimum = ends.value(0).toInt(&minOk);
            const int maximum = ends.value(1).toInt(&maxOk);
            if (ends.size() != 2 || !minOk || !maxOk || !ValidColourRange(minimum, maximum))
                return QStringLiteral("%1: not a range MIN:MAX of whole numbers from -32768 "
                                      "to 32767 with MIN below MAX")
                    .arg(parser.value(range));
            colours.minimum = minimum;
            colours.maximum = maximum;
        }
        if (parser.isSet(stretch)) {
            const auto named = StretchNamed(parser.value(stretch).toStdString());
            if (!named)
                return QStringLiteral("%1: not a stretch (linear, sqrt or log)")
                    .arg(parser.value(stretch));
            colours.stretch = *named;
        }
        if (parser.isSet(colormap)) {
            const auto named = ColourMapNamed(parser.value(colormap).toStdString());
            if (!named)
                return QStringLiteral(
                           "%1: not a colour map (standard, viridis, cividis, turbo or grey)")
                    .arg(parser.value(colormap));
            colours.map = *named;
        }
        return std::nullopt;
    }
};

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

// Which mode an option belongs to: it is a usage error in another.
// The difference chart for --render: against a fixed log or a relative day.
struct DifferenceOptions {
    const QCommandLineOption diff{
        QStringLiteral("diff"),
        QStringLiteral("With --render, also write each LOG minus its reference day as "
                       "<name>-diff.png; needs --reference or --reference-offset.")};
    const QCommandLineOption reference{
        QStringLiteral("reference"),
        QStringLiteral("With --diff, the reference day: the log FILE."), QStringLiteral("FILE")};
    const QCommandLineOption offset{
        QStringLiteral("reference-offset"),
        QStringLiteral("With --diff, the reference day of each LOG: the nearest earlier log in "
                       "its folder, the date a week before or the same date a year before "
                       "(previous, week or year). A LOG without one is left out."),
        QStringLiteral("WHICH")};
    const QCommandLineOption range{
        QStringLiteral("diff-range"),
        QStringLiteral("With --diff, the difference shown in the strongest colours, a whole "
                       "number from 1 to 65535 (default: each pair's 99th percentile)."),
        QStringLiteral("R")};

    QList<QCommandLineOption> all() const { return {diff, reference, offset, range}; }

    // Why the options are wrong, or nothing once `request` holds them.
    std::optional<QString> read(const QCommandLineParser& parser,
                                std::optional<DifferenceRequest>& request) const {
        if (!parser.isSet(diff)) {
            for (const QCommandLineOption& option : {reference, offset, range})
                if (parser.isSet(option))
                    return QStringLiteral("--%1 needs --diff").arg(option.names()[0]);
            return std::nullopt;
        }
        if (parser.isSet(reference) == parser.isSet(offset))
            return QStringLiteral("--diff needs one of --reference and --reference-offset");
        DifferenceRequest read;
        if (parser.isSet(reference)) {
            ObservationGrid grid;
            const QString path = AbsolutePath(parser.value(reference));
            if (!ReadLogFile(path, grid).ok())
                return QStringLiteral("%1: not a readable log").arg(parser.value(reference));
            read.referenceLog = path;
        } else {
            const QString which = parser.value(offset);
            if (which == QLatin1String("previous"))
                read.relative = RelativeDay::PreviousLog;
            else if (which == QLatin1String("week"))
                read.relative = RelativeDay::WeekBefore;
            else if (which == QLatin1String("year"))
                read.relative = RelativeDay::YearBefore;
            else
                return QStringLiteral("%1: not a reference offset (previous, week or year)")
                    .arg(which);
        }
        if (parser.isSet(range)) {
            bool ok = false;
            read.range = parser.value(range).toInt(&ok);
            if (!ok || read.range < 1 || read.range > 65535 ||
                !parser.value(range).front().isDigit())
                return QStringLiteral("%1: not a range from 1 to 65535").arg(parser.value(range));
        }
        request = read;
        return std::nullopt;
    }
};

enum class OptionMode {
    Any,       // --help, --version
    Render,    // --render and what it writes
    Animation, // --animate, --from, --to: with --render, checked by ParseAnimation
    Events,    // --events and its threshold
    Marks,     // --list-marks
};

// Every option of the command line, in the order --help lists them, with the
// mode it belongs to.
struct OptionTable {
    // Declared by hand: Qt's own help option adds --help-all, which lists the
    // toolkit's options, and these are parsed before any QApplication exists.
    const QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit.")};
    const QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit.")};
    const QCommandLineOption render{
        QStringLiteral("render"),
        QStringLiteral("Write each LOG's chart into the folder DIR, without a window."),
        QStringLiteral("DIR")};
    const QCommandLineOption polar{
        QStringLiteral("polar"),
        QStringLiteral("With --render, also write the polar plot of the slot starting at "
                       "H:MM (0:00 to 23:58, even minutes) as <name>-HHMM-xN.png."),
        QStringLiteral("H:MM")};
    const QCommandLineOption gain{
        QStringLiteral("gain"),
        QStringLiteral("With --polar or --animate, the polar plot's gain, 1 to 50 "
                       "(default 1)."),
        QStringLiteral("N"), QStringLiteral("1")};
    const QCommandLineOption scale{
        QStringLiteral("scale"),
        QStringLiteral(
            "With --render, draw at device pixel ratio R, 1 to 8, as on a screen of that "
            "scale (default 1)."),
        QStringLiteral("R"), QStringLiteral("1")};
    const QCommandLineOption quiet{QStringLiteral("quiet"),
                                   QStringLiteral("With --render, show no progress line.")};
    const QCommandLineOption animate{
        QStringLiteral("animate"),
        QStringLiteral("With --render, also write the polar plot of every slot from --from to "
                       "--to as an animated GIF, <name>-polar.gif, 10 frames a second.")};
    const QCommandLineOption from{
        QStringLiteral("from"),
        QStringLiteral("With --animate, the first slot, H:MM (default 0:00)."),
        QStringLiteral("H:MM")};
    const QCommandLineOption to{QStringLiteral("to"),
                                QStringLiteral("With --animate, the last slot, H:MM (default "
                                               "23:58)."),
                                QStringLiteral("H:MM")};
    const ColourOptions colour{};
    // The archive of the logs.
    const QCommandLineOption overview{
        QStringLiteral("overview"),
        QStringLiteral("With --render, also write the day stacks of all LOGs, a row a day, "
                       "as overview-time.png and overview-direction.png.")};
    const QCommandLineOption html{
        QStringLiteral("html"),
        QStringLiteral("With --render, also write a web page of all LOGs: index.html with "
                       "the day stacks and a calendar of thumbnails (thumbs/<name>.png).")};
    // A part of the day, as the window's zoom shows it.
    const QCommandLineOption window{
        QStringLiteral("window"),
        QStringLiteral("With --render, draw the chart of the times from H:MM to H:MM only, at "
                       "least an hour (a shorter range is widened about its middle)."),
        QStringLiteral("H:MM-H:MM")};
    const QCommandLineOption sector{
        QStringLiteral("sector"),
        QStringLiteral("With --render, draw the chart of the directions from A to B degrees "
                       "only (0 to 359; 340-20 crosses north), at least 30 degrees."),
        QStringLiteral("A-B")};
    // The values out: CSV files beside the images, and the list of events.
    const QCommandLineOption csv{
        QStringLiteral("csv"),
        QStringLiteral("With --render, also write each LOG's values as <name>.csv, and with "
                       "--polar the slot's as <name>-HHMM.csv.")};
    const QCommandLineOption events{
        QStringLiteral("events"),
        QStringLiteral("List the events of each LOG on standard output as CSV, without a "
                       "window: groups of touching cells at or over the threshold.")};
    const QCommandLineOption threshold{
        QStringLiteral("threshold"),
        QStringLiteral("With --events, the lowest value of an event's cells, 1 to 32767 "
                       "(default 512)."),
        QStringLiteral("N"), QString::number(DefaultEventThreshold)};
    // The marks users left on the days.
    const QCommandLineOption listMarks{
        QStringLiteral("list-marks"),
        QStringLiteral("List the marks of each LOG on standard output as CSV, without a "
                       "window.")};
    const QCommandLineOption marks{
        QStringLiteral("marks"),
        QStringLiteral("With --render, draw each LOG's marks into its chart.")};
    const DifferenceOptions difference{};

    struct Row {
        const QCommandLineOption& option;
        OptionMode mode;
    };
    const QList<Row> rows{
        {help, OptionMode::Any},
        {version, OptionMode::Any},
        {render, OptionMode::Render},
        {polar, OptionMode::Render},
        {gain, OptionMode::Render},
        {scale, OptionMode::Render},
        {quiet, OptionMode::Render},
        {animate, OptionMode::Animation},
        {from, OptionMode::Animation},
        {to, OptionMode::Animation},
        {colour.range, OptionMode::Render},
        {colour.stretch, OptionMode::Render},
        {colour.colormap, OptionMode::Render},
        {overview, OptionMode::Render},
        {html, OptionMode::Render},
        {window, OptionMode::Render},
        {sector, OptionMode::Render},
        {csv, OptionMode::Render},
        {difference.diff, OptionMode::Render},
        {difference.reference, OptionMode::Render},
        {difference.offset, OptionMode::Render},
        {difference.range, OptionMode::Render},
        {events, OptionMode::Events},
        {threshold, OptionMode::Events},
        {listMarks, OptionMode::Marks},
        {marks, OptionMode::Render},
    };

    // The first option of `mode` that is set, other than `except`.
    const QCommandLineOption* firstSet(const QCommandLineParser& parser, OptionMode mode,
                                       const QCommandLineOption* except = nullptr) const {
        for (const Row& row : rows)
            if (row.mode == mode && &row.option != except && parser.isSet(row.option))
                return &row.option;
        return nullptr;
    }
};

QString Name(const QCommandLineOption& option) {
    return option.names().constLast();
}

// One line naming the problem and one pointing at the help, as command-line
// tools do; the whole help would bury the problem.
CommandLine UsageError(QString message) {
    // A name may hold a line break or another control character; shown as
    // '?', as ls -q does, it cannot break the line or the terminal.
    for (QChar& c : message)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
            c.category() == QChar::Separator_Paragraph)
            c = QLatin1Char('?');
    CommandLine result;
    result.action = CommandLine::Exit;
    result.exitCode = 2;
    result.output = QStringLiteral("dirchart: %1\nTry 'dirchart --help'.\n").arg(message);
    return result;
}

// dirchart --events [--threshold N] LOG...
CommandLine ParseEvents(const QCommandLineParser& parser, const OptionTable& options,
                        const QStringList& logs) {
    if (const QCommandLineOption* other = options.firstSet(parser, OptionMode::Render))
        return UsageError(QStringLiteral("--%1 does not go with --events").arg(Name(*other)));
    CommandLine result;
    bool ok = false;
    result.events.threshold = parser.value(options.threshold).toInt(&ok);
    if (!ok || result.events.threshold < MinEventThreshold ||
        result.events.threshold > MaxEventThreshold)
        return UsageError(QStringLiteral("%1: not a threshold from 1 to 32767")
                              .arg(parser.value(options.threshold)));
    if (logs.isEmpty())
        return UsageError(QStringLiteral("--events needs at least one LOG"));
    result.action = CommandLine::Events;
    result.events.logs = logs;
    return result;
}

// dirchart --list-marks LOG...
CommandLine ParseListMarks(const QCommandLineParser& parser, const OptionTable& options,
                           const QStringList& logs) {
    for (const OptionMode mode : {OptionMode::Render, OptionMode::Events})
        if (const QCommandLineOption* other = options.firstSet(parser, mode))
            return UsageError(
                QStringLiteral("--%1 does not go with --list-marks").arg(Name(*other)));
    if (logs.isEmpty())
        return UsageError(QStringLiteral("--list-marks needs at least one LOG"));
    CommandLine result;
    result.action = CommandLine::ListMarks;
    result.markLogs = logs;
    return result;
}

// dirchart [LOG]: the window.
CommandLine ParseWindow(const QCommandLineParser& parser, const OptionTable& options,
                        const QStringList& logs) {
    if (const QCommandLineOption* other = options.firstSet(parser, OptionMode::Render))
        return UsageError(QStringLiteral("--%1 needs --render").arg(Name(*other)));
    if (logs.size() > 1)
        return UsageError(QStringLiteral("one LOG at most"));
    CommandLine result;
    if (!logs.isEmpty())
        result.log = AbsolutePath(logs.constFirst());
    return result;
}

// dirchart --render DIR [...] LOG...; `result` holds the animation already.
CommandLine ParseRender(const QCommandLineParser& parser, const OptionTable& options,
                        const QStringList& logs, CommandLine result) {
    result.action = CommandLine::Render;
    RenderRequest& request = result.render;
    // By its bytes: a folder's name need not be UTF-8.
    const QString given = parser.value(options.render);
    const std::string folder = PathBytes(given);
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0)
        return UsageError(QStringLiteral("%1: no such folder").arg(given));
    if (!S_ISDIR(info.st_mode))
        return UsageError(QStringLiteral("%1: not a folder").arg(given));
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return UsageError(QStringLiteral("%1: not writable").arg(given));
    request.folder = AbsolutePath(given);

    if (parser.isSet(options.polar)) {
        const std::optional<int> slot = SlotStartingAt(parser.value(options.polar).toStdString());
        if (!slot)
            return UsageError(NotASlotStart(parser.value(options.polar)));
        request.polarSlot = *slot;
    }
    bool ok = false;
    request.gain = parser.value(options.gain).toInt(&ok);
    if (!ok || request.gain < MinPolarGain || request.gain > MaxPolarGain)
        return UsageError(
            QStringLiteral("%1: not a gain from 1 to 50").arg(parser.value(options.gain)));
    request.scale = parser.value(options.scale).toDouble(&ok);
    if (!ok || !ScaleSupported(request.scale))
        return UsageError(
            QStringLiteral("%1: not a scale from 1 to 8").arg(parser.value(options.scale)));
    request.quiet = parser.isSet(options.quiet);
    if (parser.isSet(options.gain) && !parser.isSet(options.polar) &&
        !parser.isSet(options.animate))
        return UsageError(QStringLiteral("--gain needs --polar or --animate"));
    if (const std::optional<QString> error = options.colour.read(parser, request.colours))
        return UsageError(*error);
    if (parser.isSet(options.window)) {
        const auto zoomed = TimeRangeView(parser.value(options.window).toStdString(), request.view);
        if (!zoomed)
            return UsageError(
                QStringLiteral("--window %1: not a range of times H:MM-H:MM, the first earlier")
                    .arg(parser.value(options.window)));
        request.view = *zoomed;
    }
    if (parser.isSet(options.sector)) {
        const auto zoomed = SectorView(parser.value(options.sector).toStdString(), request.view);
        if (!zoomed)
            return UsageError(
                QStringLiteral("--sector %1: not two different directions A-B from 0 to 359")
                    .arg(parser.value(options.sector)));
        request.view = *zoomed;
    }
    request.overview = parser.isSet(options.overview);
    request.html = parser.isSet(options.html);
    request.csv = parser.isSet(options.csv);
    request.marks = parser.isSet(options.marks);
    if (const std::optional<QString> error = options.difference.read(parser, request.difference))
        return UsageError(*error);

    if (logs.isEmpty())
        return UsageError(QStringLiteral("--render needs at least one LOG"));
    // Two logs must not write the same image, nor one log's polar plot have
    // the name of another's chart.
    QSet<QString> names;
    if (request.overview || request.html)
        names = {OverviewTimeImage, OverviewDirectionImage};
    for (const QString& log : logs) {
        QStringList own{ChartImageName(log, request.view)};
        if (request.polarSlot >= 0)
            own.append(PolarImageName(log, request.polarSlot, request.gain));
        if (request.csv)
            own.append(DayValuesName(log));
        if (request.csv && request.polarSlot >= 0)
            own.append(SlotValuesName(log, request.polarSlot));
        if (request.difference)
            own.append(DifferenceImageName(log));
        for (const QString& name : own) {
            if (names.contains(name))
                return UsageError(
                    QStringLiteral("%1: another LOG or the overview already writes %2")
                        .arg(log, name));
            names.insert(name);
        }
    }
    request.logs = logs;
    return result;
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    const OptionTable options;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows a day's observation log as a direction-time-signal chart\n"
                       "and a polar plot. With --render it writes each LOG's chart as\n"
                       "DIR/<name>.png instead, without a window; with --events it lists\n"
                       "each LOG's events, and with --list-marks its marks."));
    for (const OptionTable::Row& row : options.rows)
        parser.addOption(row.option);
    parser.addPositionalArgument(
        QStringLiteral("LOG"),
        QStringLiteral("An observation log to show at start-up; with --render, the logs "
                       "to write images of; with --events or --list-marks, the logs to "
                       "list."),
        QStringLiteral("[LOG...]"));

    // "-261204.log" is one unknown option, not seven unknown letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QStringList ownArguments = WithoutToolkitOptions(arguments);
    if (!parser.parse(ownArguments))
        return UsageError(ParseError(parser, ownArguments));
    CommandLine result;
    if (parser.isSet(options.help) || parser.isSet(options.version)) {
        result.action = CommandLine::Exit;
        // Without an application object the help names no program.
        result.output = parser.isSet(options.help)
                            ? parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                        QStringLiteral("dirchart"))
                            : QStringLiteral("dirchart ") + QStringLiteral(DIRCHART_VERSION) +
                                  QLatin1Char('\n');
        return result;
    }
    const QStringList logs = parser.positionalArguments();
    if (const QString error = ParseAnimation(parser, options.animate, options.from, options.to,
                                             parser.isSet(options.render), result.render);
        !error.isEmpty())
        return UsageError(error);

    if (parser.isSet(options.listMarks))
        return ParseListMarks(parser, options, logs);
    if (parser.isSet(options.events))
        return ParseEvents(parser, options, logs);
    if (parser.isSet(options.threshold))
        return UsageError(QStringLiteral("--threshold needs --events"));
    if (!parser.isSet(options.render))
        return ParseWindow(parser, options, logs);
    return ParseRender(parser, options, logs, std::move(result));
}
