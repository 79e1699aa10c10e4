// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

#include <utility>

class ObservationGrid;
class QDir;

// What `dirchart --render --csv` writes for a log into `folder`: the day's
// values, and for a slot other than -1 that slot's, the same bytes as the
// window's export. `grid` was read from `log`, whose file reached its first
// `coveredCells` cells. Returns the path and the reason of each file that
// could not be written.
QList<std::pair<QString, QString>> WriteLogValues(const ObservationGrid& grid, int coveredCells,
                                                  const QString& log, const QDir& folder, int slot);
