// SPDX-License-Identifier: MIT
#include "FileNames.h"

#include "ChartView.h"
#include "DayTime.h"

#include <QFileInfo>

namespace {
const QString ImageSuffix = QStringLiteral(".png");
const QString ValuesSuffix = QStringLiteral(".csv");

QString SlotPart(int slot) {
    return QLatin1Char('-') + QString::fromStdString(SlotStamp(slot));
}
} // namespace

QString LogNameStem(const QString& logPath) {
    const QString name = logPath.isEmpty() ? QString() : QFileInfo(logPath).completeBaseName();
    return name.isEmpty() ? QStringLiteral("dirchart") : name;
}

QString ChartImageName(const QString& logPath) {
    return LogNameStem(logPath) + ImageSuffix;
}

QString ChartImageName(const QString& logPath, const ChartView& view) {
    if (view.whole())
        return ChartImageName(logPath);
    QString name = LogNameStem(logPath) + SlotPart(view.firstSlot) + SlotPart(view.lastSlot);
    if (!view.wholeCircle()) {
        for (const int bin : {view.firstBin, view.lastBin})
            name += QLatin1Char('-') +
                    QString::number(BinDegrees(bin)).rightJustified(3, QLatin1Char('0'));
    }
    return name + ImageSuffix;
}

// Joined, not arg()-ed: a name may hold "%1".
QString PolarImageName(const QString& logPath, int slot, int gain) {
    if (logPath.isEmpty())
        return ChartImageName(logPath);
    return LogNameStem(logPath) + SlotPart(slot) + QStringLiteral("-x") + QString::number(gain) +
           ImageSuffix;
}

QString AnimationImageName(const QString& logPath) {
    return LogNameStem(logPath) + QStringLiteral("-polar.gif");
}

QString DayValuesName(const QString& logPath) {
    return LogNameStem(logPath) + ValuesSuffix;
}

QString SlotValuesName(const QString& logPath, int slot) {
    return LogNameStem(logPath) + SlotPart(slot) + ValuesSuffix;
}

QString DirectionValuesName(const QString& logPath, int bin) {
    return LogNameStem(logPath) + QLatin1Char('-') + QString::number(BinDegrees(bin)) +
           QStringLiteral("deg") + ValuesSuffix;
}

QString EventListName(const QString& logPath) {
    return LogNameStem(logPath) + QStringLiteral("-events") + ValuesSuffix;
}

QString DifferenceImageName(const QString& logPath) {
    return LogNameStem(logPath) + QStringLiteral("-diff.png");
}
