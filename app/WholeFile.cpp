// SPDX-License-Identifier: MIT
#include "WholeFile.h"

#include <QSaveFile>

#include <cerrno>
#include <cstring>

QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    // Unbuffered: the one write goes straight to the file, and its failure
    // keeps the system's reason.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    // An uncommitted QSaveFile removes its temporary file, and so does a
    // commit() that fails.
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        // Qt words a partial write as an unknown error; errno has the reason.
        const int error = errno;
        return error != 0 ? QString::fromLocal8Bit(std::strerror(error)) : file.errorString();
    }
    if (!file.commit())
        return file.errorString();
    return {};
}
