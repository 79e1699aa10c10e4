// SPDX-License-Identifier: MIT
#include "Messages.h"

#include "ObservationLog.h"
#include "PathText.h"

#include <cerrno>
#include <cstring>

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

QString ReasonText(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
        return QStringLiteral("ファイルがありません");
    case EISDIR:
        return QStringLiteral("フォルダです");
    case EACCES:
    case EPERM:
        return QStringLiteral("アクセスする権限がありません");
    case EIO:
        return QStringLiteral("読み書きのエラーが起きました");
    case EFBIG:
    case EOVERFLOW:
        return QStringLiteral("ファイルが大きすぎます");
    case ENOMEM:
        return QStringLiteral("メモリが足りません");
    case ENOSPC:
        return QStringLiteral("ディスクに空きがありません");
    default:
        return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
}

QString ReasonText(const LogReadResult& result) {
    if (result.status == LogReadStatus::NotRegularFile && result.errorNumber == 0)
        return QStringLiteral("通常のファイルではありません");
    return ReasonText(result.errorNumber);
}

QString ReasonInWords(const LogReadResult& result) {
    return result.errorNumber != 0 ? QString::fromLocal8Bit(std::strerror(result.errorNumber))
                                   : QStringLiteral("not a regular file");
}

QString ReasonInWords(int errorNumber) {
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

QString UnreadableMessage(const QString& path, const QString& reason) {
    return QStringLiteral("観測ログを読み込めませんでした。\n\n%1\n\n%2")
        .arg(PathForDisplay(path), reason);
}

QString UnsavedMessage(const QString& path, const QString& reason) {
    return QStringLiteral("画像を保存できませんでした。\n\n%1\n\n%2").arg(PathForDisplay(path), reason);
}

QString UnwrittenValuesMessage(const QString& path, const QString& reason) {
    return QStringLiteral("値を書き出せませんでした。\n\n%1\n\n%2").arg(PathForDisplay(path), reason);
}
