// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// File names of the images made from a log, without a folder.

// The chart: the log's file name with its extension replaced by .png
// (".../261208.log" gives "261208.png"; a name without an extension gains one).
QString ChartImageName(const QString& logPath);

// The polar plot of slot `slot` at gain `gain`: the chart's name with the
// slot's start as four digits, hours then minutes, and the gain
// (10:38 at gain 2 gives "261208-1038-x2.png", 9:06 gives "-0906-").
QString PolarImageName(const QString& logPath, int slot, int gain);
