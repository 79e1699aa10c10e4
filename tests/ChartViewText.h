// SPDX-License-Identifier: MIT
#pragma once

#include "ChartView.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

// A chart view as "first-last/first-last" (slots, then bins), and back: the
// tables of views in the zoom tests read and print them so.
inline QString Text(const ChartView& v) {
    return QStringLiteral("%1-%2/%3-%4")
        .arg(v.firstSlot)
        .arg(v.lastSlot)
        .arg(v.firstBin)
        .arg(v.lastBin);
}

inline ChartView View(const QString& text) {
    const QStringList parts = text.split(QRegularExpression(QStringLiteral("[-/]")));
    Q_ASSERT(parts.size() == 4);
    return {parts[0].toInt(), parts[1].toInt(), parts[2].toInt(), parts[3].toInt()};
}
