// SPDX-License-Identifier: MIT
#pragma once

#include "Events.h"
#include "Marks.h"

#include <QObject>
#include <QPoint>
#include <QPointF>

#include <functional>
#include <memory>

class DayMarks;
class DrawingSurface;
class LoadDialogs;
class LogLoader;
class MarksWindow;
class PictureActions;
class PictureBox;
class QAction;
class QRubberBand;
class QWidget;
class ViewState;
class WindowActions;

// Marking moments and regions of a day, and finding them again: M marks the
// shown slot, Ctrl+drag on the chart marks a box of slots and directions,
// 印を付ける on the chart's menu marks the cell under the pointer (and on the
// events window, an event's time), each through the mark dialog; a mark's
// own menu edits or deletes it; its tooltip describes it. 印を表示 shows or
// hides the marks, 印一覧 (Ctrl+Shift+M) lists the folder's marks, and N and
// Shift+N go to the next and previous mark across the folder's days. The
// day's marks are held by a DayMarks that follows the shown log.
class MarkCommands : public QObject {
    Q_OBJECT
  public:
    MarkCommands(ViewState& view, WindowActions& actions, LogLoader& loader, LoadDialogs& dialogs,
                 PictureActions& pictures, PictureBox& chart, QWidget* window);
    ~MarkCommands() override;

    DayMarks& marks() { return *m_marks; }
    QAction* showMarksAction() const;
    MarksWindow* listWindow() const { return m_window; }

    // Draws the day's marks over the chart, in its view, when they are shown.
    void draw(DrawingSurface& chart) const;

    // Asks for a label and saves a mark of these cells; false when it was
    // dropped or could not be saved (which has been said).
    bool markCells(int firstSlot, int lastSlot, int firstBin, int lastBin);
    bool markSlot();
    bool markEvent(const SignalEvent& event, const DirectionSector& sector);
    bool editMark(const std::string& id);
    bool deleteMark(const std::string& id);
    // The same for a mark of any log of the folder, as the list asks.
    bool editMarkOf(const QString& log, const std::string& id);
    bool deleteMarkOf(const QString& log, const std::string& id);
    // The next (+1) or previous (-1) mark across the days of the shown
    // log's folder; the bell where there is none.
    void stepMark(int step);
    void showList();
    // Shows a day at a mark's slot, and the chart zoomed to its box (see
    // MarkedView) through showMarkBox.
    void showMark(const QString& log, const Mark& mark);

    // Shows a view of the chart as one step of its history; set by the window
    // to its zoom, nothing is zoomed without it.
    std::function<void(const ChartView&)> showMarkBox;

  signals:
    // The chart is to be drawn again: the marks changed or were shown or hidden.
    void chartChanged();
    // A day's marks may have changed: made, edited or deleted here, or the
    // shown day's file changed on disk.
    void dayMarksChanged(const QString& log);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QString tipLines(int slot, int bin) const;
    void wireActions();
    bool boxDrag(QEvent* event);
    void refuse(const QString& why);
    bool edit(DayMarks& marks, const std::string& id);
    bool remove(DayMarks& marks, const std::string& id);
    bool changeMarkOf(const QString& log, const std::string& id,
                      bool (MarkCommands::*change)(DayMarks&, const std::string&));
    // After a change to another day's marks, the list shows it.
    void relist();

    ViewState& m_view;
    LogLoader& m_loader;
    LoadDialogs& m_dialogs;
    PictureBox& m_chart;
    QWidget* m_parent;
    std::unique_ptr<DayMarks> m_marks;
    WindowActions& m_actions;
    MarksWindow* m_window = nullptr;
    QRubberBand* m_band = nullptr;
    std::optional<QPointF> m_dragStart; // on the chart, while a box is drawn
    QPoint m_dragPoint;                 // the same in the widget
};
