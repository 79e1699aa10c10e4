// SPDX-License-Identifier: MIT
#include "PictureNames.h"

#include "ChartView.h"
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

QString ChartImageName(const QString& logPath, const ChartView& view) {
    if (view.whole())
        return ChartImageName(logPath);
    QString name = LogNameStem(logPath) + QLatin1Char('-') +
                   QString::fromStdString(SlotStamp(view.firstSlot)) + QLatin1Char('-') +
                   QString::fromStdString(SlotStamp(view.lastSlot));
    if (!view.wholeCircle())
        name += QLatin1Char('-') +
                QStringLiteral("%1").arg(BinDegrees(view.firstBin), 3, 10, QLatin1Char('0')) +
                QLatin1Char('-') +
                QStringLiteral("%1").arg(BinDegrees(view.lastBin), 3, 10, QLatin1Char('0'));
    return name + Suffix;
}

// Joined, not arg()-ed: a name may hold "%1".
QString PolarImageName(const QString& logPath, int slot, int gain) {
    if (logPath.isEmpty())
        return ChartImageName(logPath);
    return LogNameStem(logPath) + QLatin1Char('-') + QString::fromStdString(SlotStamp(slot)) +
           QStringLiteral("-x") + QString::number(gain) + Suffix;
}
