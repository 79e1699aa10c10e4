// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class ChartZoom;
class CompareWindow;
class LoadDialogs;
class QWidget;
class ReferenceDay;
class ViewState;
class WindowActions;

// The commands of comparing days, carried out: 比較 opens the compare
// window; 基準日にする makes the shown day the reference, 前のログ / 7日前 /
// 1年前 the day relative to the shown one, and 基準日を外す clears it. The
// reference is the view state's; the actions show which one is chosen. A
// reference log that cannot be read is warned about once.
class CompareCommands : public QObject {
    Q_OBJECT
  public:
    CompareCommands(ViewState& view, WindowActions& actions, LoadDialogs& dialogs, QWidget* window);
    ~CompareCommands() override;

    void showCompare();
    CompareWindow* compareWindow() const { return m_compare; }
    ReferenceDay& reference() { return *m_reference; }
    // The main chart's zoom gestures, which the compare window's charts
    // take too.
    void setChartZoom(ChartZoom& zoom) { m_zoom = &zoom; }

  private:
    ViewState& m_view;
    QWidget* m_window;
    ReferenceDay* m_reference = nullptr;
    CompareWindow* m_compare = nullptr;
    ChartZoom* m_zoom = nullptr;
};
