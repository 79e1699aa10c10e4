// SPDX-License-Identifier: MIT
#include "FileErrors.h"

#include "ObservationLog.h"

#include <cerrno>
#include <cstring>

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
