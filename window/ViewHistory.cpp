// SPDX-License-Identifier: MIT
#include "ViewHistory.h"

ViewHistory::ViewHistory(QObject* parent)
    : ViewHistory([] { return std::chrono::steady_clock::now().time_since_epoch(); }, parent) {}

ViewHistory::ViewHistory(Clock clock, QObject* parent)
    : QObject(parent), m_clock(std::move(clock)) {}

void ViewHistory::push(std::deque<ChartView>& list, const ChartView& view) {
    list.push_back(view);
    if (list.size() > static_cast<std::size_t>(Depth))
        list.pop_front();
}

void ViewHistory::leave(const ChartView& from) {
    m_lastNotch.reset();
    push(m_back, from);
    m_forward.clear();
    emit changed();
}

void ViewHistory::leaveByNotch(const ChartView& from) {
    const auto now = m_clock();
    const bool inBurst = m_lastNotch && now - *m_lastNotch <= BurstGap;
    if (!inBurst)
        leave(from);
    m_lastNotch = now;
}

std::optional<ChartView> ViewHistory::back(const ChartView& shown) {
    if (m_back.empty())
        return std::nullopt;
    m_lastNotch.reset();
    const ChartView view = m_back.back();
    m_back.pop_back();
    push(m_forward, shown);
    emit changed();
    return view;
}

std::optional<ChartView> ViewHistory::forward(const ChartView& shown) {
    if (m_forward.empty())
        return std::nullopt;
    m_lastNotch.reset();
    const ChartView view = m_forward.back();
    m_forward.pop_back();
    push(m_back, shown);
    emit changed();
    return view;
}
