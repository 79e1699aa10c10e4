// SPDX-License-Identifier: MIT
#include "Messages.h"

#include "PathText.h"

QStringList NameFiltersFrom(const QString& barSeparated) {
    const QStringList parts = barSeparated.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts[i];
        const QString pattern =
            parts[i + 1] == QStringLiteral("*.*") ? QStringLiteral("*") : parts[i + 1];
        const qsizetype open = label.lastIndexOf(QLatin1Char('('));
        if (open >= 0 && label.endsWith(QLatin1Char(')')))
            label.truncate(open);
        filters.append(label + QLatin1Char('(') + pattern + QLatin1Char(')'));
    }
    return filters;
}

OpenDialogRequest OpenLogRequest(const QString& folder) {
    return {NameFiltersFrom(QStringLiteral("観測ログ(*.log)|*.log|すべてのファイル(*.*)|*.*")),
            QStringLiteral("log"), QStringLiteral(".log"), folder};
}

namespace {

// A warning about one file: what failed, the file as it is displayed, and why.
QString FileMessage(const QString& headline, const QString& path, const QString& reason) {
    return headline + QStringLiteral("\n\n") + PathForDisplay(path) + QStringLiteral("\n\n") +
           reason;
}

} // namespace

QString UnreadableMessage(const QString& path, const QString& reason) {
    return FileMessage(QStringLiteral("観測ログを読み込めませんでした。"), path, reason);
}

QString UnreadableReferenceMessage(const QString& path, const QString& reason) {
    return FileMessage(QStringLiteral("基準日の観測ログを読み込めませんでした。"), path, reason);
}

QString UnsavedMessage(const QString& path, const QString& reason) {
    return FileMessage(QStringLiteral("画像を保存できませんでした。"), path, reason);
}

QString UnwrittenValuesMessage(const QString& path, const QString& reason) {
    return FileMessage(QStringLiteral("値を書き出せませんでした。"), path, reason);
}
