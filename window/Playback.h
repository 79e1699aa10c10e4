// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

// Plays through the day's time slots, one slot a step at a speed given in
// slots a second. The slot shown follows the time since playing started, not
// the number of steps taken: when drawing a slot takes longer than a step,
// the slots in between are skipped rather than queued, so that the day keeps
// its pace. Playing stops at the day's last slot; starting there starts again
// from the first. The slot can be moved from outside at any time, and playing
// goes on from there.
class Playback : public QObject {
    Q_OBJECT
  public:
    // The time since some fixed moment; steady, never going back.
    using Clock = std::function<std::chrono::nanoseconds()>;

    static constexpr double DefaultSpeed = 10;
    static constexpr double MinSpeed = 2.5;
    static constexpr double MaxSpeed = 80;

    // By default time comes from the system's steady clock.
    explicit Playback(QObject* parent = nullptr);
    Playback(Clock clock, QObject* parent = nullptr);

    bool isPlaying() const { return m_playing; }
    int slot() const { return m_slot; }
    // Slots a second.
    double speed() const { return m_speed; }

    // Moves the slot without emitting slotChanged (the change came from
    // outside); while playing, playing goes on from it.
    void setSlot(int slot);

    void start();
    void stop();
    void toggle();
    // Double or halve the speed, within MinSpeed..MaxSpeed. False at the limit,
    // where nothing changes.
    bool faster();
    bool slower();

    // Shows the slot the clock has reached, and waits for the next one; the
    // timer calls it while playing.
    void step();

  signals:
    // The slot to show.
    void slotChanged(int slot);
    void playingChanged(bool playing);
    void speedChanged(double slotsPerSecond);

  private:
    bool setSpeed(double speed);
    // Playing counts from here: the slot shown at the clock's time now.
    void restartCount();
    void waitForNextSlot();

    Clock m_clock;
    QTimer m_timer;
    int m_slot = 0;
    double m_speed = DefaultSpeed;
    bool m_playing = false;
    int m_countSlot = 0;
    std::chrono::nanoseconds m_countStart{};
};
