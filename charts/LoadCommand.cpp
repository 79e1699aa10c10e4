// SPDX-License-Identifier: MIT
#include "LoadCommand.h"

#include "ChartFrame.h"
#include "DirectionTimePlot.h"
#include "DrawingSurface.h"
#include "ObservationLog.h"

#include <QFile>

#include <cstring>

LogReadResult ReadLogFile(const QString& path, ObservationGrid& grid) {
    return ReadObservationLog(QFile::encodeName(path).toStdString(), grid);
}

QString UnreadableReason(const LogReadResult& result) {
    return result.errorNumber != 0 ? QString::fromLocal8Bit(std::strerror(result.errorNumber))
                                   : QStringLiteral("通常のファイルではありません");
}

namespace {

QString UnreadableMessage(const QString& path, const QString& reason) {
    return QStringLiteral("観測ログを読み込めませんでした。\n\n%1\n\n%2").arg(path, reason);
}

} // namespace

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

LoadOutcome RunLoadCommand(DrawingSurface& picture, ObservationGrid& grid, LoadDialogs& dialogs,
                           const QString& folder) {
    if (!dialogs.AskYesNo(DialogTitle, LoadPrompt))
        return {LoadOutcome::Declined, {}};

    picture.Cls();
    DrawChartFrame(picture);

    const OpenDialogRequest request{
        NameFiltersFrom(QStringLiteral("観測ログ(*.log)|*.log|すべてのファイル(*.*)|*.*")),
        QStringLiteral("log"), QStringLiteral(".log"), folder};
    const std::optional<QString> path = dialogs.ShowOpen(request);
    if (!path)
        return {LoadOutcome::Cancelled, {}};

    // A log that cannot be read leaves the chart cleared to its frame.
    return LoadLogFile(picture, grid, dialogs, *path);
}

LoadOutcome LoadLogFile(DrawingSurface& picture, ObservationGrid& grid, LoadDialogs& dialogs,
                        const QString& path) {
    const QString reason = LoadChart(picture, grid, path);
    if (!reason.isEmpty()) {
        dialogs.Warn(DialogTitle, UnreadableMessage(path, reason));
        return {LoadOutcome::Unreadable, path};
    }
    return {LoadOutcome::Loaded, path};
}

QString LoadChart(DrawingSurface& picture, ObservationGrid& grid, const QString& path) {
    const LogReadResult read = ReadLogFile(path, grid);
    if (!read.ok())
        return UnreadableReason(read);
    DrawChart(picture, grid, path);
    return {};
}

void DrawChart(DrawingSurface& picture, const ObservationGrid& grid, const QString& path) {
    picture.Cls();
    DrawChartFrame(picture);
    PlotSignalGrid(picture, grid);
    PrintDateLabel(picture, path);
}

bool ReplotLogFile(DrawingSurface& picture, ObservationGrid& grid, const QString& path) {
    ObservationGrid fresh;
    if (!ReadLogFile(path, fresh).ok() || fresh == grid)
        return false;
    grid = std::move(fresh);
    PlotSignalGrid(picture, grid);
    return true;
}
