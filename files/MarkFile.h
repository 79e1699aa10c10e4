// SPDX-License-Identifier: MIT
#pragma once

#include "Marks.h"

#include <QString>

// Where a log's marks are kept: beside the log as "yymmdd.marks.json" (the
// log's ".log" ending replaced, or ".marks.json" added to a name without it),
// or, when the log's folder cannot be written (an installed sample folder),
// under the user's data folder, ~/.local/share/dirchart/marks/, at the log's
// absolute path.
QString MarksFileBeside(const QString& logPath);
QString FallbackMarksFile(const QString& logPath);
// The one of the two that holds the log's marks: the file beside the log when
// it exists or the folder can be written, else the fallback.
QString MarksFileOf(const QString& logPath);

struct MarksRead {
    enum class Status { NoFile, Read, Damaged, CannotRead };
    Status status = Status::NoFile;
    MarksDocument document; // empty unless Read
    QString path;           // the file read (or that would be)
    int errorNumber = 0;    // for CannotRead
    QString why;            // for Damaged: what is wrong with the text
    bool ok() const { return status == Status::Read || status == Status::NoFile; }
};

// Reads the marks of a log. No file is no marks.
MarksRead ReadMarks(const QString& logPath);

struct MarksSave {
    enum class Status { Saved, Damaged, CannotWrite };
    Status status = Status::Saved;
    QString path;
    int errorNumber = 0; // for CannotWrite
    QString why;         // for Damaged
    // What the file holds now: after the changes when saved, as it was found
    // otherwise (empty when it could not be read).
    MarksDocument document;
};

// Saves one window's changes to a log's marks without losing another's:
// under an exclusive lock (flock on a hidden lock file beside the marks file)
// the file is read again, the changes are applied to what it holds by id,
// and the result is written whole. A file that cannot be read whole is left
// as it is, and a file that cannot be written is not half-written.
MarksSave SaveMarkChanges(const QString& logPath, const MarkChanges& changes);

// The day logs of a folder (names ending in yymmdd.log), in date order, each
// with its marks as read; days without a marks file are left out.
struct LogMarks {
    QString log;
    MarksRead read;
};
std::vector<LogMarks> FolderMarks(const QString& folder);
