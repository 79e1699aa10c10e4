// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// Writes `bytes` as the whole of the file at `path`, through a temporary
// file in the same folder that is renamed into place, replacing an older
// file of that name: a reader never sees half a file, and a failure (a full
// disk) leaves neither a temporary file nor a partial one. Every file
// dirchart writes goes through here. Returns an empty string, or why the
// file could not be written.
QString WriteWholeFile(const QString& path, const QByteArray& bytes);
