// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

#include "ObservationLog.h"

class DrawingSurface;

// What the Open dialog, or the Save dialog, is asked to show.
struct OpenDialogRequest {
    QStringList nameFilters; // "label(pattern)" entries, the first one selected
    QString defaultSuffix;   // appended to a typed name without one
    QString fileName;        // initial text of the file-name box
    QString folder;          // where the dialog starts
};

// The window's conversation with the user, for loading logs and saving
// pictures. The window supplies the standard dialogs; tests supply scripted
// answers.
class LoadDialogs {
  public:
    virtual ~LoadDialogs() = default;
    // A Yes/No question, Yes being the default button. True for Yes.
    virtual bool AskYesNo(const QString& title, const QString& question) = 0;
    // The chosen path, or nothing when the user cancels.
    virtual std::optional<QString> ShowOpen(const OpenDialogRequest& request) = 0;
    // The path to save to, or nothing when the user cancels.
    virtual std::optional<QString> ShowSave(const OpenDialogRequest& request) = 0;
    virtual void Warn(const QString& title, const QString& message) = 0;
};

inline const QString LoadPrompt = QStringLiteral("新しいデータをロードしますか？");
inline const QString DialogTitle = QStringLiteral("dirchart");

// Reads the log at `path` (a path as the user gave it) into `grid`, and
// why a log could not be read, in the words of the system.
LogReadResult ReadLogFile(const QString& path, ObservationGrid& grid);
QString UnreadableReason(const LogReadResult& result);

// Converts a filter in the "label|pattern|label|pattern" form into Qt's name
// filters. "*.*", which on Windows means every file, becomes "*", since here
// it would hide every file without a dot in its name.
QStringList NameFiltersFrom(const QString& barSeparated);

struct LoadOutcome {
    enum Result { Declined, Cancelled, Unreadable, Loaded } result = Declined;
    QString path; // the chosen path, for Unreadable and Loaded
};

// The load command: asks for confirmation, clears the chart to its frame,
// lets the user choose a log in the Open dialog starting in `folder`, reads
// it into `grid` and plots every cell with the log's date above the chart.
// A log that cannot be read leaves `grid` as it was and the chart cleared to
// its frame, and is reported to the user. The caller shows the path of a
// loaded log.
LoadOutcome RunLoadCommand(DrawingSurface& picture, ObservationGrid& grid, LoadDialogs& dialogs,
                           const QString& folder);

// Loads a log without asking (the Open dialog's choice, command line, drop,
// day keys): the chart is drawn as the load command draws it. The file is
// read before anything is cleared, so a log that cannot be read is reported
// and leaves grid and chart as they were.
LoadOutcome LoadLogFile(DrawingSurface& picture, ObservationGrid& grid, LoadDialogs& dialogs,
                        const QString& path);

// Reads the log at `path` again and replots its cells over the chart, with
// the frame and the date label left as they are: for a log that is still
// being written. Returns whether the grid changed; a file that cannot be
// read changes nothing and is not reported.
bool ReplotLogFile(DrawingSurface& picture, ObservationGrid& grid, const QString& path);

// What every load without the Open dialog does, for the window and for
// images rendered without one: reads the log at `path` into `grid`, then
// clears `picture` and draws the frame, every cell and the date label.
// Returns an empty string, or why the log could not be read (the system's
// error text, or that it is not a regular file); then `grid` and `picture`
// are left as they were.
QString LoadChart(DrawingSurface& picture, ObservationGrid& grid, const QString& path);

// Clears `picture` and draws the chart of `grid`: frame, every cell and the
// date label of `path`.
void DrawChart(DrawingSurface& picture, const ObservationGrid& grid, const QString& path);
