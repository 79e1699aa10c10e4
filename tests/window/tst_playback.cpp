// SPDX-License-Identifier: MIT
// Playing through the day, driven by a fake clock: which slots are shown
// when, at which speed, and where playing stops and starts again.
#include "Playback.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// A Playback whose clock the test moves, recording every slot it shows.
struct Player {
    std::chrono::milliseconds now{0};
    Playback playback{[this] { return now; }};
    QList<int> shown;

    Player() {
        QObject::connect(&playback, &Playback::slotChanged,
                         [this](int slot) { shown.append(slot); });
    }
    // The timer's step at `ms` after the start of the test.
    void stepAt(int ms) {
        now = std::chrono::milliseconds(ms);
        playback.step();
    }
};

} // namespace

class TestPlayback : public QObject {
    Q_OBJECT
  private slots:
    void steps_data();
    void steps();
    void movedWhilePlaying();
    void startStopAndTimer();
};

void TestPlayback::steps_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("speedChanges"); // faster() calls if positive, slower() if negative
    QTest::addColumn<double>("speed");
    QTest::addColumn<QList<int>>("stepTimes"); // ms after starting
    QTest::addColumn<QList<int>>("shown");
    QTest::addColumn<bool>("playing");

    QTest::newRow("one slot each tenth of a second")
        << 0 << 0 << 10.0 << QList{99, 100, 150, 200} << QList{1, 2} << true;
    QTest::newRow("a late step skips the slots in between")
        << 0 << 0 << 10.0 << QList{100, 1050, 1100} << QList{1, 10, 11} << true;
    QTest::newRow("fastest, 80 a second")
        << 100 << 4 << 80.0 << QList{12, 13, 1000} << QList{101, 180} << true;
    QTest::newRow("slowest, 2.5 a second")
        << 100 << -3 << 2.5 << QList{399, 400, 1000} << QList{101, 102} << true;
    QTest::newRow("stops at 23:58")
        << 715 << 0 << 10.0 << QList{300, 1000, 2000} << QList{718, 719} << false;
    QTest::newRow("at 23:58 starts again from 0:00")
        << 719 << 0 << 10.0 << QList{100} << QList{0, 1} << true;
}

void TestPlayback::steps() {
    QFETCH(int, from);
    QFETCH(int, speedChanges);
    QFETCH(double, speed);
    QFETCH(QList<int>, stepTimes);
    QFETCH(QList<int>, shown);
    QFETCH(bool, playing);

    Player player;
    player.playback.setSlot(from);
    for (int i = 0; i < std::abs(speedChanges); ++i)
        speedChanges > 0 ? player.playback.faster() : player.playback.slower();
    QCOMPARE(player.playback.speed(), speed);
    QCOMPARE(player.playback.faster() && player.playback.slower(), speed < Playback::MaxSpeed);

    player.playback.start();
    for (int ms : stepTimes)
        player.stepAt(ms);
    QCOMPARE(player.shown, shown);
    QCOMPARE(player.playback.slot(), shown.last());
    QCOMPARE(player.playback.isPlaying(), playing);
}

void TestPlayback::movedWhilePlaying() {
    Player player;
    player.playback.start();
    player.stepAt(500);
    // The slider moved (or a click on the chart) between two steps ...
    player.playback.setSlot(300);
    player.stepAt(599);
    player.stepAt(600);
    // ... and the slot shown coming back from the slider is no move.
    player.playback.setSlot(301);
    player.stepAt(700);
    QCOMPARE(player.shown, (QList{5, 301, 302}));
    // Moved to the last slot, playing stops at the next step.
    player.playback.setSlot(719);
    player.stepAt(800);
    QVERIFY(!player.playback.isPlaying());
}

void TestPlayback::startStopAndTimer() {
    Playback playback; // the system's clock, and the timer drives it
    QSignalSpy playing(&playback, &Playback::playingChanged);
    playback.toggle();
    QTRY_VERIFY(playback.slot() > 0);
    playback.toggle();
    QCOMPARE(playing, (QList<QVariantList>{{true}, {false}}));
}

QTEST_GUILESS_MAIN(TestPlayback)
#include "tst_playback.moc"
