// SPDX-License-Identifier: MIT
#pragma once

#include "ChartView.h"

#include <QObject>
#include <QPoint>

#include <optional>

class WindowActions;
class PictureBox;
class Playback;
class QAction;
class QMouseEvent;
class QRubberBand;
class QWheelEvent;
class QWidget;
class ViewHistory;
class ViewState;

// Zooming and panning the chart, and Back and Forward through its views:
// the wheel with Ctrl (time) or Ctrl+Shift (direction) zooms about the cell
// under the pointer, the plain wheel pans the direction and Shift+wheel or a
// sideways swipe the time, a box drawn with Shift+drag zooms into it, the
// middle button drags the view along, and the mouse's Back and Forward
// buttons step through the views. Each command is also an action with its
// key, in the chart's menu (see WindowActions). Every change
// goes to the view state's chart view; the chart follows its signal.
class ChartZoom : public QObject {
    Q_OBJECT
  public:
    // Carries out the window's zoom actions, and keeps them enabled where
    // they can act.
    ChartZoom(ViewState& view, WindowActions& actions, PictureBox& chart, QWidget* window);
    ~ChartZoom() override;

    // Shows `view` as one step of the history.
    void go(const ChartView& view);
    // While playing, the window pages on when the slot leaves it.
    void setPlayback(Playback& playback);
    // Another chart of the same view (the compare window's) takes the same
    // gestures and shares the history.
    void addChart(PictureBox& chart);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // A point of the chart widget as the device pixel of the plot under it:
    // x from the plot's left, y up from its bottom, held inside the plot.
    struct PlotPixel {
        int x = 0;
        int y = 0;
        int width = 1;
        int height = 1;
        bool inside = false;
    };
    PlotPixel plotPixel(const PictureBox& chart, QPointF widgetPoint) const;
    // The view shown, or the one a wheel burst is about to show.
    ChartView current() const;
    // Steps of keys and menus: about the view's centre.
    void zoomTime(bool in);
    void wheel(const PictureBox& chart, QWheelEvent* event);
    bool mouse(PictureBox& chart, QMouseEvent* event);
    // Shows `view` once the events queued now are handled, so that a burst
    // of wheel notches draws the chart once.
    void showSoon(const ChartView& view);
    void updateActions();

    ViewState& m_view;
    ViewHistory* m_history;
    Playback* m_playback = nullptr;
    QAction* m_zoomIn;
    QAction* m_zoomOut;
    QAction* m_whole;
    QAction* m_back;
    QAction* m_forward;
    std::optional<ChartView> m_pending;
    // What the wheel has turned short of a whole notch, across and up.
    QPoint m_wheelRest;
    // A Shift+drag's box, and a middle-button drag: on which chart and
    // where each started.
    PictureBox* m_dragChart = nullptr;
    QRubberBand* m_band = nullptr;
    QPointF m_bandStart;
    std::optional<QPointF> m_panStart;
    ChartView m_panFrom;
    bool m_panMoved = false;
};
