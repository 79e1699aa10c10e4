// SPDX-License-Identifier: MIT
#include "PictureNames.h"

#include "DayTime.h"

#include <QFileInfo>

namespace {
const QString Suffix = QStringLiteral(".png");

QString LogName(const QString& logPath) {
    return logPath.isEmpty() ? QString() : QFileInfo(logPath).completeBaseName();
}
} // namespace

QString ChartImageName(const QString& logPath) {
    const QString name = LogName(logPath);
    return (name.isEmpty() ? QStringLiteral("dirchart") : name) + Suffix;
}

QString PolarImageName(const QString& logPath, int slot, int gain) {
    const QString name = LogName(logPath);
    if (name.isEmpty())
        return QStringLiteral("dirchart") + Suffix;
    return QStringLiteral("%1-%2-x%3%4")
        .arg(name, QString::fromStdString(SlotStamp(slot)))
        .arg(gain)
        .arg(Suffix);
}
