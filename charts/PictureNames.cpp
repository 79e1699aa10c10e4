// SPDX-License-Identifier: MIT
#include "PictureNames.h"

#include "DayTime.h"

#include <QFileInfo>

namespace {
const QString Suffix = QStringLiteral(".png");
} // namespace

QString LogNameStem(const QString& logPath) {
    const QString name = logPath.isEmpty() ? QString() : QFileInfo(logPath).completeBaseName();
    return name.isEmpty() ? QStringLiteral("dirchart") : name;
}

QString ChartImageName(const QString& logPath) {
    return LogNameStem(logPath) + Suffix;
}

// Joined, not arg()-ed: a name may hold "%1".
QString PolarImageName(const QString& logPath, int slot, int gain) {
    if (logPath.isEmpty())
        return ChartImageName(logPath);
    return LogNameStem(logPath) + QLatin1Char('-') + QString::fromStdString(SlotStamp(slot)) +
           QStringLiteral("-x") + QString::number(gain) + Suffix;
}

QString DifferenceImageName(const QString& logPath) {
    return LogNameStem(logPath) + QStringLiteral("-diff.png");
}
