// SPDX-License-Identifier: MIT
#include "ValueExport.h"

#include "DayTime.h"
#include "Messages.h"
#include "ObservationGrid.h"
#include "PictureNames.h"
#include "ValueTables.h"
#include "WholeFile.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>

namespace {

const QString Suffix = QStringLiteral(".csv");

} // namespace

QString DayValuesName(const QString& logPath) {
    return LogNameStem(logPath) + Suffix;
}

QString SlotValuesName(const QString& logPath, int slot) {
    return LogNameStem(logPath) + QLatin1Char('-') + QString::fromStdString(SlotStamp(slot)) + Suffix;
}

QString DirectionValuesName(const QString& logPath, int bin) {
    return LogNameStem(logPath) + QLatin1Char('-') + QString::number(BinDegrees(bin)) +
           QStringLiteral("deg") + Suffix;
}

QString EventListName(const QString& logPath) {
    return LogNameStem(logPath) + QStringLiteral("-events") + Suffix;
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
