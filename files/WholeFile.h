// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// How writing a file went: the system's error number of the step that
// failed, 0 when the file was written.
struct FileWriteResult {
    int errorNumber = 0;
    bool ok() const { return errorNumber == 0; }
};

// Writes `bytes` as the whole of the file at `path` (see PathText.h), through
// a temporary file in the same folder that is synced and renamed into place,
// replacing an older file of that name and keeping its permissions (through a
// symbolic link, the file it names): a reader
// never sees half a file, and a failure (a full disk) leaves neither a
// temporary file nor a partial one. Every file dirchart writes goes through
// here.
FileWriteResult WriteWholeFile(const QString& path, const QByteArray& bytes);
