// SPDX-License-Identifier: MIT
#pragma once

// What the window's tests share: a grid of one value, a log under a name
// given as bytes, and the real Form1 with dialogs the test answers.

#include "ChartFrame.h"
#include "DirectionTimePlot.h"
#include "Form1.h"
#include "HScrollBar.h"
#include "ImageSurface.h"
#include "ObservationGrid.h"
#include "PathText.h"
#include "PictureBox.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"

#include <QImage>
#include <QScreen>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <string_view>

inline ObservationGrid Filled(std::int16_t value) {
    ObservationGrid grid;
    std::fill(grid.cells.begin(), grid.cells.end(), value);
    return grid;
}

// A log written into `folder` under a name given as bytes.
inline QString WriteLog(const QString& folder, std::string_view name, const QByteArray& bytes) {
    const QString path = folder + QLatin1Char('/') + PathFromBytes(name);
    // QFile cannot name such a file; the system can.
    FILE* out = std::fopen(PathBytes(path).c_str(), "wb");
    if (!out ||
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out) != size_t(bytes.size()))
        qFatal("cannot write %s", PathBytes(path).c_str());
    std::fclose(out);
    return path;
}

// A widget as the screen shows it: what its window's backing store holds
// from the repaints so far, where grab() would paint the widget anew.
inline QImage OnScreen(QWidget& widget) {
    const QPoint at = widget.mapTo(widget.window(), QPoint(0, 0));
    return widget.screen()
        ->grabWindow(widget.window()->winId(), at.x(), at.y(), widget.width(), widget.height())
        .toImage();
}

struct WindowFixture {
    ScriptedDialogs* dialogs = new ScriptedDialogs;
    Form1 form{std::unique_ptr<LoadDialogs>(dialogs)};
};

// A day whose cells all differ from their neighbours, one of many by `seed`.
inline ObservationGrid Pattern(int seed) {
    ObservationGrid grid;
    for (int t = 0; t < ObservationGrid::Slots; ++t)
        for (int d = 0; d < ObservationGrid::Bins; ++d)
            grid(t, d) = static_cast<std::int16_t>((t * 7 + d * 13 + seed) % 1100 - 20);
    return grid;
}

// The picture a load of `grid` from `path` must leave.
inline QImage ExpectedChart(const ObservationGrid& grid, const QString& path) {
    ImageSurface s(QSize(813, 277));
    DrawChartFrame(s);
    PlotSignalGrid(s, grid);
    PrintDateLabel(s, path);
    return s.image();
}
