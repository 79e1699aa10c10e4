// SPDX-License-Identifier: MIT
#include "PictureNames.h"

#include <QFileInfo>

namespace {

QString BaseName(const QString& logPath) {
    return QFileInfo(logPath).completeBaseName();
}

} // namespace

QString ChartImageName(const QString& logPath) {
    return BaseName(logPath) + QStringLiteral(".png");
}

QString PolarImageName(const QString& logPath, int slot, int gain) {
    const int minutes = 2 * slot;
    return QStringLiteral("%1-%2%3-x%4.png")
        .arg(BaseName(logPath))
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'))
        .arg(gain);
}
