// SPDX-License-Identifier: MIT
#include "DirectionTimePlot.h"

#include "ChartFrame.h"
#include "ChartView.h"
#include "ColourTable.h"
#include "DayLogs.h"
#include "DrawingSurface.h"
#include "ObservationGrid.h"

#include <array>
#include <vector>

void PlotSignalGrid(DrawingSurface& picture, const ObservationGrid& grid) {
    PlotSignalGrid(picture, grid, StandardColourTable());
}

void PlotSignalGrid(DrawingSurface& picture, const ObservationGrid& grid,
                    const ColourTable& colours) {
    // A slot's bins run up one column of the chart: their colours are looked
    // up first, then set in one go.
    std::array<QRgb, ObservationGrid::Bins> column;
    for (int t = 0; t < ObservationGrid::Slots; ++t) {
        for (int d = 0; d < ObservationGrid::Bins; ++d)
            column[static_cast<std::size_t>(d)] = colours.CellArgb(grid(t, d));
        picture.PSetColumnUp(static_cast<float>(ChartGeometry::SlotColumn(t)),
                             static_cast<float>(ChartGeometry::BinRow(0)), column.data(),
                             column.size());
    }
}

void PlotSignalGrid(DrawingSurface& picture, const ObservationGrid& grid,
                    const ColourTable& colours, const ChartView& view) {
    if (view.whole()) {
        PlotSignalGrid(picture, grid, colours);
        return;
    }
    const int n = view.slotCount(), m = view.binCount();
    std::vector<QRgb> cells(static_cast<std::size_t>(n * m));
    for (int k = 0; k < m; ++k) {
        const int bin = (view.firstBin + k) % ObservationGrid::Bins;
        QRgb* row = cells.data() + std::size_t(k) * std::size_t(n);
        for (int j = 0; j < n; ++j)
            row[j] = colours.CellArgb(grid(view.firstSlot + j, bin));
    }
    using namespace ChartGeometry;
    picture.FillCells(PlotLeft, PlotTop, PlotRight, PlotBottom, n, m, cells.data());
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
