// SPDX-License-Identifier: MIT
#pragma once

#include "ChartView.h"
#include "ColourSettings.h"
#include "ColourTable.h"
#include "DayLogs.h"
#include "ObservationGrid.h"

#include <QObject>
#include <QString>

// The day the shown one is compared with: none, one fixed log, or the day
// relative to the shown one, which moves with it.
struct ReferenceChoice {
    enum class Kind { None, Fixed, Relative };
    Kind kind = Kind::None;
    QString path;                                    // for Fixed
    RelativeDay relative = RelativeDay::PreviousLog; // for Relative
    bool operator==(const ReferenceChoice&) const = default;
};

// What the window shows, in one place: the shown log and its grid, the time
// slot and the gain of the polar plot, and the colours of the cells. Controls and other windows
// change it through the setters; the pictures and texts follow its signals. A setter of the slot,
// the gain or the colours ignores an unchanged value; every load (the same file again included) and
// every replot of a followed log is signalled.
class ViewState : public QObject {
    Q_OBJECT
  public:
    explicit ViewState(QObject* parent = nullptr) : QObject(parent) {}

    // The path of the log whose chart is shown; empty before the first load
    // and after a load that left the chart cleared to its frame.
    const QString& path() const { return m_path; }
    bool hasLog() const { return !m_path.isEmpty(); }
    // The grid the pictures are drawn from. It keeps the last log read while
    // the chart is cleared, since the polar plot still draws from it.
    const ObservationGrid& grid() const { return m_grid; }
    ObservationGrid& grid() { return m_grid; }
    // How many cells, from the first, the log's file reached; the rest of the
    // grid holds 0 for want of data.
    int coveredCells() const { return m_coveredCells; }

    int slot() const { return m_slot; }
    int gain() const { return static_cast<int>(m_polarGain); }
    // The gain as the polar plot takes it, in single precision.
    const float& polarGain() const { return m_polarGain; }
    // Whether the polar plot has been drawn: from the first change of the
    // slot or the gain on.
    bool polarShown() const { return m_polarShown; }

    // How cell values are coloured, and the table built once for them.
    const ColourSettings& colours() const { return m_colourTable.settings(); }
    const ColourTable& colourTable() const { return m_colourTable; }
    // The part of the day the chart shows; the whole day to begin with. It
    // stays across loads, day steps, replots and colour changes.
    const ChartView& chartView() const { return m_chartView; }

    // A log has been read: its chart is to be shown.
    void showLog(const QString& path, ObservationGrid grid, int coveredCells);
    // The shown log has changed on disk: its cells are to be drawn again.
    void replaceGrid(ObservationGrid grid, int coveredCells);
    // The chart is cleared to its frame; the grid stays.
    void clearLog();
    void setSlot(int slot);
    void setGain(int gain);
    void setColours(const ColourSettings& colours);
    // Whether the day's marks are drawn over the chart.
    bool marksShown() const { return m_marksShown; }
    void setMarksShown(bool shown);
    // Held to the data first (see Clamped).
    void setChartView(const ChartView& view);

    // The reference day of the compare window.
    const ReferenceChoice& reference() const { return m_reference; }
    void setReference(const ReferenceChoice& reference);

  signals:
    // A log is shown, or the chart was cleared.
    void logChanged();
    // The shown log's cells changed.
    void gridChanged();
    void slotChanged(int slot);
    void gainChanged(int gain);
    void coloursChanged();
    void marksShownChanged(bool shown);
    void referenceChanged();
    void chartViewChanged();

  private:
    QString m_path;
    ObservationGrid m_grid;
    // Before any log is read, the grid's zeros are what there is.
    int m_coveredCells = ObservationGrid::CellCount;
    int m_slot = 0;
    float m_polarGain = 1;
    bool m_polarShown = false;
    ColourTable m_colourTable;
    bool m_marksShown = true;
    ReferenceChoice m_reference;
    ChartView m_chartView;
};
