// SPDX-License-Identifier: MIT
#include "DirectionTimePlot.h"

#include "ChartFrame.h"
#include "DrawingSurface.h"
#include "ObservationGrid.h"
#include "SignalColour.h"

#include <QList>

#include <algorithm>

void PlotSignalGrid(DrawingSurface& picture, const ObservationGrid& grid) {
    for (int t = 0; t < ObservationGrid::Slots; ++t) {
        const auto x = static_cast<float>(ChartGeometry::SlotColumn(t));
        for (int d = 0; d < ObservationGrid::Bins; ++d)
            picture.PSet(x, static_cast<float>(ChartGeometry::BinRow(d)), CellArgb(grid(t, d)));
    }
}

QString DateLabelText(const QString& path) {
    // Counted in characters (code points), so that a path ending in Japanese
    // or other non-ASCII characters is never cut inside one.
    const QList<uint> all = path.toUcs4();
    const QList<uint> s = all.mid(std::max<qsizetype>(0, all.size() - 10));
    const auto part = [&s](qsizetype from) {
        const QList<uint> chars = s.mid(from, 2);
        return QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.constData()),
                                 chars.size());
    };
    return QStringLiteral("20") + part(0) + QLatin1Char('/') + part(2) + QLatin1Char('/') + part(4);
}

void PrintDateLabel(DrawingSurface& picture, const QString& path) {
    picture.SetCurrentX(500);
    picture.SetCurrentY(20);
    picture.Print(DateLabelText(path));
}
