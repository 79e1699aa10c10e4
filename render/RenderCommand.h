// SPDX-License-Identifier: MIT
#pragma once

#include "ChartView.h"
#include "ColourSettings.h"
#include "DayLogs.h"
#include "PolarAnimation.h"

#include <QString>
#include <QStringList>

#include <optional>

// Each log's difference chart, <name>-diff.png: the log minus one fixed
// reference log, or minus the day relative to each log.
struct DifferenceRequest {
    QString referenceLog; // a readable log, or empty for `relative`
    RelativeDay relative = RelativeDay::PreviousLog;
    int range = 0; // 1..65535 to fix the colours' range; 0 for each pair's own
};

// What `dirchart --render` is asked to write; the command line has checked it.
struct RenderRequest {
    QString folder;     // an existing, writable folder
    QStringList logs;   // at least one; no two give the same image name
    int polarSlot = -1; // the polar plot's slot, -1 for no polar plot
    int gain = 1;       // 1..50
    qreal scale = 1;    // device pixel ratio
    bool quiet = false; // no progress line
    // The slots of the polar plot's animated GIF; none for no animation.
    std::optional<SlotRange> animation;
    // The chart's colours, from the command line alone: never the user's
    // settings, so that a cron job's pictures are the same on every run.
    ColourSettings colours;
    // The part of the day the charts show, as in the window.
    ChartView view;
    // The archive of the logs: the two day stacks, and the web page with a
    // thumbnail of each day (see ArchiveRender.h).
    bool overview = false;
    bool html = false;
    bool csv = false;   // also the values: the day's, and the polar plot's slot's
    bool marks = false; // the marks drawn into the charts
    // The difference chart of each log against a reference day.
    std::optional<DifferenceRequest> difference;
};

// Writes the images of every log into the folder, on every core, a bounded
// number of logs at a time. A log that cannot be read, or an image that
// cannot be written, gets one line on stderr; the other logs are still
// rendered. Over more than one log a progress line is shown while stderr is a
// terminal, unless quiet. Returns the exit status: 0 when every image was
// written, 1 when some were not. Needs a QGuiApplication, for the fonts.
int RunRenderCommand(const RenderRequest& request);

// How many threads render `logs` logs.
int RenderThreadCount(qsizetype logs);
