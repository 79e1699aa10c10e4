// SPDX-License-Identifier: MIT
#include "ValueExport.h"

#include "DayTime.h"
#include "Messages.h"
#include "ObservationGrid.h"
#include "ValueTables.h"
#include "WholeFile.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace {

QString Stem(const QString& logPath) {
    return logPath.isEmpty() ? QStringLiteral("dirchart") : QFileInfo(logPath).completeBaseName();
}

const QString Suffix = QStringLiteral(".csv");

} // namespace

QString DayValuesName(const QString& logPath) {
    return Stem(logPath) + Suffix;
}

QString SlotValuesName(const QString& logPath, int slot) {
    return Stem(logPath) + QLatin1Char('-') + QString::fromStdString(SlotStamp(slot)) + Suffix;
}

QString DirectionValuesName(const QString& logPath, int bin) {
    return QStringLiteral("%1-%2deg%3").arg(Stem(logPath)).arg(BinDegrees(bin)).arg(Suffix);
}

QString EventListName(const QString& logPath) {
    return Stem(logPath) + QStringLiteral("-events") + Suffix;
}

void CopyValues(const std::string& tabSeparated) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(tabSeparated));
}

QList<std::pair<QString, QString>> WriteLogValues(const ObservationGrid& grid, int coveredCells,
                                                  const QString& log, const QDir& folder,
                                                  int slot) {
    QList<std::pair<QString, QString>> failures;
    const auto write = [&](const std::string& text, const QString& name) {
        const QString path = folder.filePath(name);
        const FileWriteResult written = WriteWholeFile(path, QByteArray::fromStdString(text));
        if (!written.ok())
            failures.append({path, ReasonInWords(written.errorNumber)});
    };
    write(DayTable(grid, coveredCells), DayValuesName(log));
    if (slot >= 0)
        write(SlotTable(grid, slot, coveredCells), SlotValuesName(log, slot));
    return failures;
}
