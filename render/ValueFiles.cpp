// SPDX-License-Identifier: MIT
#include "ValueFiles.h"

#include "FileErrors.h"
#include "FileNames.h"
#include "ObservationGrid.h"
#include "ValueTables.h"
#include "WholeFile.h"

#include <QDir>

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
