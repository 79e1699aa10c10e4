// SPDX-License-Identifier: MIT
#include "Playback.h"

#include "ObservationGrid.h"

#include <algorithm>
#include <cmath>

namespace {

Playback::Clock SteadyClock() {
    const auto origin = std::chrono::steady_clock::now();
    return [origin] { return std::chrono::steady_clock::now() - origin; };
}

} // namespace

Playback::Playback(QObject* parent) : Playback(SteadyClock(), parent) {}

Playback::Playback(Clock clock, QObject* parent) : QObject(parent), m_clock(std::move(clock)) {
    m_timer.setSingleShot(true);
    // At 80 slots a second a step is 12.5 ms: a coarse timer would make the
    // steps uneven.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Playback::step);
}

void Playback::setSlot(int slot) {
    slot = std::clamp(slot, 0, ObservationGrid::LastSlot);
    // The slot shown coming back from whoever shows it is no move: counting
    // again from it would hold playing back by a step's drawing time.
    if (slot == m_slot)
        return;
    m_slot = slot;
    if (m_playing) {
        restartCount();
        waitForNextSlot();
    }
}

void Playback::start() {
    if (m_playing)
        return;
    if (m_slot == ObservationGrid::LastSlot) {
        m_slot = 0;
        emit slotChanged(m_slot);
    }
    m_playing = true;
    restartCount();
    emit playingChanged(true);
    waitForNextSlot();
}

void Playback::stop() {
    if (!m_playing)
        return;
    m_playing = false;
    m_timer.stop();
    emit playingChanged(false);
}

void Playback::toggle() {
    if (m_playing)
        stop();
    else
        start();
}

bool Playback::faster() {
    return setSpeed(m_speed * 2);
}

bool Playback::slower() {
    return setSpeed(m_speed / 2);
}

bool Playback::setSpeed(double speed) {
    if (speed < MinSpeed || speed > MaxSpeed)
        return false;
    // The new speed counts from the slot shown now.
    if (m_playing)
        restartCount();
    m_speed = speed;
    emit speedChanged(m_speed);
    if (m_playing)
        waitForNextSlot();
    return true;
}

void Playback::restartCount() {
    m_countSlot = m_slot;
    m_countStart = m_clock();
}

void Playback::step() {
    if (!m_playing)
        return;
    const double elapsed = std::chrono::duration<double>(m_clock() - m_countStart).count();
    const auto reached = static_cast<long long>(std::floor(elapsed * m_speed)) + m_countSlot;
    const int slot = static_cast<int>(std::min<long long>(reached, ObservationGrid::LastSlot));
    if (slot > m_slot) {
        m_slot = slot;
        emit slotChanged(m_slot);
    }
    // A handler of slotChanged may have stopped playing or moved the slot.
    if (!m_playing)
        return;
    if (m_slot == ObservationGrid::LastSlot)
        stop();
    else
        waitForNextSlot();
}

void Playback::waitForNextSlot() {
    using namespace std::chrono;
    const duration<double> due((m_slot + 1 - m_countSlot) / m_speed);
    const auto wait = ceil<milliseconds>(due - (m_clock() - m_countStart));
    m_timer.start(std::max(wait, milliseconds(0)));
}
