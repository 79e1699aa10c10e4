// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

struct ChartView;

// The name of every file dirchart writes, in one place, so that the window's
// suggestions and the render mode's files agree and no two kinds of file can
// take the same name.
//
// Each begins with the log's file name without its extension ("261208" for
// 261208.log), or "dirchart" without a log (an empty path). The time of a
// slot is four digits, hour zero-padded: 9:06 is "0906".

// What every suggested name begins with.
QString LogNameStem(const QString& logPath);

// Pictures: "261208.png" for the chart, "261208-1038-x2.png" for the polar
// plot of 10:38 at gain 2; without a log both are "dirchart.png".
QString ChartImageName(const QString& logPath);
QString PolarImageName(const QString& logPath, int slot, int gain);
// The chart of a part of the day carries its window, and its sector where
// that is not the whole circle: "261208-0600-0900.png",
// "261208-0600-0900-340-020.png" (each direction as three digits).
QString ChartImageName(const QString& logPath, const ChartView& view);
// The day's animated polar plot: "261208-polar.gif".
QString AnimationImageName(const QString& logPath);

// Values: "261208.csv" for the day, "261208-1038.csv" for the slot of 10:38,
// "261208-240deg.csv" for the direction of 240 degrees and
// "261208-events.csv" for the list of events.
QString DayValuesName(const QString& logPath);
QString SlotValuesName(const QString& logPath, int slot);
QString DirectionValuesName(const QString& logPath, int bin);
QString EventListName(const QString& logPath);

// The archive's files in the render folder: its two stacks, its page and the
// folder of the page's thumbnails; no log's chart may take one of them.
inline const QString OverviewTimeImage = QStringLiteral("overview-time.png");
inline const QString OverviewDirectionImage = QStringLiteral("overview-direction.png");
inline const QString ArchivePageName = QStringLiteral("index.html");
inline const QString ThumbnailFolder = QStringLiteral("thumbs");
// The difference chart of a log against its reference day: "261208-diff.png".
QString DifferenceImageName(const QString& logPath);
