// SPDX-License-Identifier: MIT
#include "DirectionTimePlot.h"

#include "ChartFrame.h"
#include "DayLogs.h"
#include "DrawingSurface.h"
#include "ObservationGrid.h"
#include "SignalColour.h"

void PlotSignalGrid(DrawingSurface& picture, const ObservationGrid& grid) {
    for (int t = 0; t < ObservationGrid::Slots; ++t) {
        const auto x = static_cast<float>(ChartGeometry::SlotColumn(t));
        for (int d = 0; d < ObservationGrid::Bins; ++d)
            picture.PSet(x, static_cast<float>(ChartGeometry::BinRow(d)), CellArgb(grid(t, d)));
    }
}

QString DateLabelText(const QString& path) {
    // A name of another shape has no date to show; cutting it would print
    // a wrong one ("badname.log" as 20ad/na/me).
    const QString fileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    if (!LogDateKey(fileName.toStdString()))
        return {};
    // The last ten characters are now "yymmdd.log".
    const QString s = path.right(10);
    return QStringLiteral("20") + s.mid(0, 2) + QLatin1Char('/') + s.mid(2, 2) + QLatin1Char('/') +
           s.mid(4, 2);
}

void PrintDateLabel(DrawingSurface& picture, const QString& path) {
    const QString label = DateLabelText(path);
    if (label.isEmpty())
        return;
    picture.SetCurrentX(500);
    picture.SetCurrentY(20);
    picture.Print(label);
}
