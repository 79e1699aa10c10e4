// SPDX-License-Identifier: MIT
#pragma once

#include "ChartView.h"

#include <QObject>

#include <chrono>
#include <deque>
#include <functional>
#include <optional>

// The views the chart has shown, for Back and Forward as in a browser. Each
// gesture, key press or typed range that changes the view is one step; the
// notches of a wheel burst (each within BurstGap of the one before) are one
// step together. Up to Depth views are kept behind the shown one; the
// oldest goes first.
class ViewHistory : public QObject {
    Q_OBJECT
  public:
    using Clock = std::function<std::chrono::nanoseconds()>;
    static constexpr int Depth = 50;
    static constexpr std::chrono::milliseconds BurstGap{400};

    // By default time comes from the system's steady clock.
    explicit ViewHistory(QObject* parent = nullptr);
    ViewHistory(Clock clock, QObject* parent = nullptr);

    // The shown view, `from`, is about to be left by a gesture: it becomes
    // the step Back returns to, and the views ahead are forgotten.
    void leave(const ChartView& from);
    // The same for one notch of a wheel burst: only the burst's first notch
    // leaves a step behind.
    void leaveByNotch(const ChartView& from);

    bool canGoBack() const { return !m_back.empty(); }
    bool canGoForward() const { return !m_forward.empty(); }
    // The view to show instead of `shown`; nothing at the end of the list.
    std::optional<ChartView> back(const ChartView& shown);
    std::optional<ChartView> forward(const ChartView& shown);

  signals:
    // Whether Back or Forward can act may have changed.
    void changed();

  private:
    void push(std::deque<ChartView>& list, const ChartView& view);

    Clock m_clock;
    std::deque<ChartView> m_back;
    std::deque<ChartView> m_forward;
    std::optional<std::chrono::nanoseconds> m_lastNotch;
};
