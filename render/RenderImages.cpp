// SPDX-License-Identifier: MIT
#include "RenderImages.h"

#include "DayChart.h"
#include "LogFile.h"
#include "MarksOverlay.h"
#include "PolarPlot.h"

LogImageRenderer::LogImageRenderer(const LogImageOptions& options)
    : m_options(options), m_chart(ChartPictureSize, options.scale),
      m_polar(PolarPictureSize, options.scale), m_colours(options.colours) {}

LogReadResult LogImageRenderer::render(const QString& logPath) {
    const LogReadResult read = ReadLogFile(logPath, m_grid);
    if (!read.ok())
        return read;
    DrawChart(m_chart, m_grid, logPath, m_colours, m_options.view);
    if (m_options.polarSlot >= 0) {
        // As the slider's change handler draws it.
        m_polar.Cls();
        DrawPolarPlot(m_polar, m_grid, m_options.polarSlot, RadiansPerDegree(),
                      static_cast<float>(m_options.gain));
    }
    return read;
}

void LogImageRenderer::drawMarks(const std::vector<Mark>& marks) {
    // As the window, in the chart's view.
    DrawMarks(m_chart, marks, m_options.view);
}
