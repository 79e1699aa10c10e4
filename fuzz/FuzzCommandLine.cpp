// SPDX-License-Identifier: MIT
// Fuzz target: arbitrary bytes as the command line, split into arguments at
// NUL bytes (which no argument can hold) after the program's name. The
// parser must never crash or hang, and whatever it accepts must lie within
// the ranges that `dirchart --help` documents.

#include "CommandLine.h"
#include "PictureNames.h"

#include <QFileInfo>
#include <QSet>

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
        if (!command.log.isEmpty() && QFileInfo(command.log).isRelative())
            return QStringLiteral("relative LOG ") + command.log;
        return {};
    case CommandLine::Render:
        break;
    }
    const RenderRequest& request = command.render;
    const QFileInfo folder(request.folder);
    if (folder.isRelative() || !folder.isDir() || !folder.isWritable())
        return QStringLiteral("DIR not a writable folder: ") + request.folder;
    if (request.logs.isEmpty())
        return QStringLiteral("no LOG");
    if (request.polarSlot != -1 && (request.polarSlot < 0 || request.polarSlot > 719))
        return QStringLiteral("--polar slot %1").arg(request.polarSlot);
    if (request.gain < 1 || request.gain > 50 || (request.polarSlot == -1 && request.gain != 1))
        return QStringLiteral("--gain %1").arg(request.gain);
    if (!std::isfinite(request.scale) || request.scale < 1 || request.scale > 8)
        return QStringLiteral("--scale %1").arg(request.scale);
    QSet<QString> names;
    for (const QString& log : request.logs) {
        for (const QString& name :
             {ChartImageName(log), request.polarSlot == -1
                                       ? QString()
                                       : PolarImageName(log, request.polarSlot, request.gain)}) {
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
