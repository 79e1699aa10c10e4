// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

#include <string>
#include <utility>

class ObservationGrid;
class QDir;

// Suggested names for values written out, from the shown log's file name
// without its extension, as the pictures' names are: "261208.csv" for the
// day, "261208-1038.csv" for the slot of 10:38, "261208-240deg.csv" for the
// direction of 240 degrees and "261208-events.csv" for the list of events;
// "dirchart" stands for the log's name while none is shown.
QString DayValuesName(const QString& logPath);
QString SlotValuesName(const QString& logPath, int slot);
QString DirectionValuesName(const QString& logPath, int bin);
QString EventListName(const QString& logPath);

// The window's 「値をコピー」: puts tab-separated values on the clipboard,
// for a spreadsheet to paste as a table.
void CopyValues(const std::string& tabSeparated);

// What `dirchart --render --csv` writes for a log into `folder`: the day's
// values, and for a slot other than -1 that slot's, the same bytes as the
// window's export. `grid` was read from `log`, whose file reached its first
// `coveredCells` cells. Returns the path and the reason of each file that
// could not be written.
QList<std::pair<QString, QString>> WriteLogValues(const ObservationGrid& grid, int coveredCells,
                                                  const QString& log, const QDir& folder,
                                                  int slot);
