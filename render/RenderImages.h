// SPDX-License-Identifier: MIT
#pragma once

#include "ChartFrame.h"
#include "ChartView.h"
#include "ColourTable.h"
#include "ImageSurface.h"
#include "ObservationGrid.h"
#include "ObservationLog.h"
#include "PolarPlot.h"

#include <QImage>
#include <QString>

struct LogImageOptions {
    int polarSlot = -1; // the slot of the polar plot; -1 for none
    int gain = 1;       // the polar plot's gain, 1..50
    qreal scale = 1;    // device pixel ratio of the images
    // The chart's colours.
    ColourSettings colours;
    // The part of the day the chart shows.
    ChartView view;
};

// Draws the images of one log after another: the chart as Picture1 holds it
// after the log is loaded, and the polar plot as Picture2 holds it after the
// sliders are moved to the slot and gain. Both go through the functions the
// window draws with. It owns its surfaces and grid and reuses them from log
// to log, so that one renderer per thread keeps memory fixed however many
// logs it draws.
class LogImageRenderer {
  public:
    explicit LogImageRenderer(const LogImageOptions& options);

    // Loads the log and draws its images. When the log could not be read,
    // the result says why and the images are not to be used.
    LogReadResult render(const QString& logPath);

    QImage chart() const { return m_chart.image(); }
    QImage polar() const { return m_polar.image(); }
    const ObservationGrid& grid() const { return m_grid; }
    const LogImageOptions& options() const { return m_options; }

  private:
    LogImageOptions m_options;
    ImageSurface m_chart;
    ImageSurface m_polar;
    ObservationGrid m_grid;
    ColourTable m_colours;
};
