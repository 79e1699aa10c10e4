// SPDX-License-Identifier: MIT
#include "DayTexts.h"

#include "DayTime.h"

QString DateText(Day day, bool monthOnly) {
    return QString::fromStdString(DayText(day, monthOnly));
}

QString LeftOutText(const QStringList& names) {
    return QStringLiteral("一覧に入らないログ: ") + names.join(QStringLiteral(", "));
}
