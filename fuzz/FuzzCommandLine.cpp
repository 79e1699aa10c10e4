// SPDX-License-Identifier: MIT
// Fuzz target: arbitrary bytes as the command line, split into arguments at
// NUL bytes (which no argument can hold) after the program's name. The
// parser must never crash or hang, and whatever it accepts must lie within
// the ranges that `dirchart --help` documents.

#include "CommandLine.h"
#include "Events.h"
#include "FileNames.h"
#include "PathText.h"
#include "PolarAnimation.h"

#include <QSet>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// What an accepted command line breaks of the documented ranges; empty when
// nothing. Each option that takes a value has its line here.
QString OutOfRange(const CommandLine& command) {
    switch (command.action) {
    case CommandLine::Exit: {
        if (command.exitCode == 0)
            return command.output.isEmpty() ? QStringLiteral("empty --help or --version")
                                            : QString();
        if (command.exitCode != 2)
            return QStringLiteral("exit status %1").arg(command.exitCode);
        const QStringList lines = command.output.split(QLatin1Char('\n'));
        if (lines.size() != 3 || !lines[0].startsWith(QStringLiteral("dirchart: ")) ||
            lines[1] != QStringLiteral("Try 'dirchart --help'.") || !lines[2].isEmpty())
            return QStringLiteral("usage error not in two lines: ") + command.output;
        for (const QChar c : lines[0])
            if (c.category() == QChar::Other_Control)
                return QStringLiteral("control character in: ") + lines[0];
        return {};
    }
    case CommandLine::ShowWindow:
        if (!command.log.isEmpty() && !command.log.startsWith(QLatin1Char('/')))
            return QStringLiteral("relative LOG ") + command.log;
        return {};
    case CommandLine::Events:
        if (command.events.logs.isEmpty())
            return QStringLiteral("--events without a LOG");
        if (command.events.threshold < MinEventThreshold ||
            command.events.threshold > MaxEventThreshold)
            return QStringLiteral("--threshold %1").arg(command.events.threshold);
        return {};
    case CommandLine::ListMarks:
        return command.markLogs.isEmpty() ? QStringLiteral("--list-marks without a LOG")
                                          : QString();
    case CommandLine::Render:
        break;
    }
    const RenderRequest& request = command.render;
    struct stat folder {};
    const std::string bytes = PathBytes(request.folder);
    if (!request.folder.startsWith(QLatin1Char('/')) || ::stat(bytes.c_str(), &folder) != 0 ||
        !S_ISDIR(folder.st_mode) || ::access(bytes.c_str(), W_OK) != 0)
        return QStringLiteral("DIR not a writable folder: ") + request.folder;
    if (request.logs.isEmpty())
        return QStringLiteral("no LOG");
    if (request.polarSlot != -1 && (request.polarSlot < 0 || request.polarSlot > 719))
        return QStringLiteral("--polar slot %1").arg(request.polarSlot);
    if (request.gain < 1 || request.gain > 50 ||
        (request.polarSlot == -1 && !request.animation && request.gain != 1))
        return QStringLiteral("--gain %1").arg(request.gain);
    if (request.animation &&
        (request.animation->first < 0 || request.animation->first > request.animation->last ||
         request.animation->last > 719))
        return QStringLiteral("--from %1 --to %2")
            .arg(request.animation->first)
            .arg(request.animation->last);
    const ColourSettings& colours = request.colours;
    if (!ValidColourRange(colours.minimum, colours.maximum) ||
        std::find(AllStretches.begin(), AllStretches.end(), colours.stretch) ==
            AllStretches.end() ||
        std::find(AllColourMaps.begin(), AllColourMaps.end(), colours.map) == AllColourMaps.end())
        return QStringLiteral("--range %1:%2").arg(colours.minimum).arg(colours.maximum);
    const ChartView& view = request.view;
    if (view.firstSlot < 0 || view.lastSlot > 719 || view.slotCount() < ChartView::MinSlots ||
        view.firstBin < 0 || view.firstBin > 179 || view.lastBin < 0 || view.lastBin > 179 ||
        view.binCount() < ChartView::MinBins || Clamped(view) != view)
        return QStringLiteral("--window %1-%2 --sector %3-%4")
            .arg(view.firstSlot)
            .arg(view.lastSlot)
            .arg(view.firstBin)
            .arg(view.lastBin);
    if (!std::isfinite(request.scale) || request.scale < 1 || request.scale > 8)
        return QStringLiteral("--scale %1").arg(request.scale);
    if (const auto& difference = request.difference) {
        if (difference->range < 0 || difference->range > 65535)
            return QStringLiteral("--diff-range %1").arg(difference->range);
        if (!difference->referenceLog.isEmpty() &&
            !difference->referenceLog.startsWith(QLatin1Char('/')))
            return QStringLiteral("--reference not absolute: ") + difference->referenceLog;
    }
    QSet<QString> names;
    for (const QString& log : request.logs) {
        for (const QString& name :
             {ChartImageName(log, request.view),
              request.polarSlot == -1 ? QString()
                                      : PolarImageName(log, request.polarSlot, request.gain),
              request.animation ? AnimationImageName(log) : QString(),
              request.difference ? DifferenceImageName(log) : QString()}) {
            if (name.isEmpty())
                continue;
            if (names.contains(name))
                return QStringLiteral("two images named ") + name;
            names.insert(name);
        }
    }
    return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QStringList arguments{QStringLiteral("dirchart")};
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (!bytes.isEmpty())
        for (const QByteArray& argument : bytes.split('\0'))
            arguments.append(QString::fromLocal8Bit(argument)); // as main() takes argv
    const QString problem = OutOfRange(ParseCommandLine(arguments));
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "fuzz check failed: %s\n", qPrintable(problem));
        std::abort();
    }
    return 0;
}
