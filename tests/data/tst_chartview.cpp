// SPDX-License-Identifier: MIT
#include "ChartViewText.h"

#include <QTest>

class TestChartView : public QObject {
    Q_OBJECT
  private slots:
    void deviceMapping_data();
    void deviceMapping();
    void zoomStep_data();
    void zoomStep();
    void zoomKeepsPointedCell_data();
    void zoomKeepsPointedCell();
    void heldToData_data();
    void heldToData();
    void typedRanges_data();
    void typedRanges();
    void tickSteps_data();
    void tickSteps();
};

void TestChartView::deviceMapping_data() {
    QTest::addColumn<QString>("view");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("whole day, 100 %") << "0-719/0-179" << 720 << 180;
    QTest::newRow("whole day, 150 %") << "0-719/0-179" << 1080 << 270;
    QTest::newRow("three hours, 100 %") << "180-270/100-140" << 720 << 180;
    QTest::newRow("three hours, 150 %") << "180-270/100-140" << 1080 << 270;
    QTest::newRow("least span, 200 %") << "690-719/0-14" << 1440 << 360;
    QTest::newRow("across 0, 125 %") << "0-99/170-10" << 900 << 225;
}

// Each device column and row shows exactly the cell of the rule, the cells
// in order, each a block of whole pixels, every cell of the view present.
void TestChartView::deviceMapping() {
    QFETCH(QString, view);
    QFETCH(int, width);
    QFETCH(int, height);
    const ChartView v = View(view);
    for (int x = 0; x < width; ++x) {
        const int slot = SlotAtColumn(v, x, width);
        QCOMPARE(slot,
                 v.firstSlot + static_cast<int>(std::floor(double(x) * v.slotCount() / width)));
        const int k = slot - v.firstSlot;
        QVERIFY(x >= ColumnOfSlotOffset(k, v.slotCount(), width));
        QVERIFY(x < ColumnOfSlotOffset(k + 1, v.slotCount(), width));
    }
    QCOMPARE(SlotAtColumn(v, 0, width), v.firstSlot);
    QCOMPARE(SlotAtColumn(v, width - 1, width), v.lastSlot);
    QCOMPARE(ColumnOfSlotOffset(v.slotCount(), v.slotCount(), width), width);
    QCOMPARE(BinAtRow(v, 0, height), v.firstBin);
    QCOMPARE(BinAtRow(v, height - 1, height), v.lastBin);
    int previous = -1;
    for (int y = 0; y < height; ++y) {
        const int bin = BinAtRow(v, y, height);
        const std::optional<int> k = v.binOffset(bin);
        QVERIFY(k);
        QVERIFY(*k == previous || *k == previous + 1);
        QVERIFY(y >= RowOfBinOffset(*k, v.binCount(), height));
        QVERIFY(y < RowOfBinOffset(*k + 1, v.binCount(), height));
        previous = *k;
    }
    QCOMPARE(previous, v.binCount() - 1);
}

void TestChartView::zoomStep_data() {
    QTest::addColumn<int>("span");
    QTest::addColumn<bool>("in");
    QTest::addColumn<int>("next"); // -1: refused
    QTest::newRow("720 in") << 720 << true << 576;
    QTest::newRow("576 out") << 576 << false << 720;
    QTest::newRow("half rounded up in") << 38 << true << 30; // 30.4
    QTest::newRow("half up out") << 42 << false << 53;       // 52.5
    QTest::newRow("lands on least") << 33 << true << 30;     // 26.4
    QTest::newRow("lands on whole") << 700 << false << 720;  // 875
    QTest::newRow("at least refused") << 30 << true << -1;
    QTest::newRow("at whole refused") << 720 << false << -1;
    QTest::newRow("bins, least") << 16 << true << 15;
    QTest::newRow("bins, at least a bin more") << 15 << false << 19;
}

void TestChartView::zoomStep() {
    QFETCH(int, span);
    QFETCH(bool, in);
    QFETCH(int, next);
    const bool bins = span < 30 || QByteArray(QTest::currentDataTag()).startsWith("bins");
    const auto got = ZoomedSpan(span, in, bins ? 15 : 30, bins ? 180 : 720);
    QCOMPARE(got.value_or(-1), next);
}

void TestChartView::zoomKeepsPointedCell_data() {
    QTest::addColumn<QString>("view");
    QTest::addColumn<int>("axis");
    QTest::addColumn<bool>("in");
    QTest::addColumn<double>("along");
    QTest::addColumn<QString>("zoomed"); // empty: refused
    QTest::newRow("day, centre") << "0-719/0-179" << 0 << true << 0.5 << "72-647/0-179";
    QTest::newRow("day, left edge") << "0-719/0-179" << 0 << true << 0.0 << "0-575/0-179";
    QTest::newRow("near the end, held in the day")
        << "600-719/0-179" << 0 << false << 0.1 << "570-719/0-179";
    QTest::newRow("least window") << "100-129/0-179" << 0 << true << 0.5 << "";
    QTest::newRow("circle, pointer at 3/4") << "0-719/0-179" << 1 << true << 0.75 << "0-719/27-170";
    QTest::newRow("sector turns across 0") << "0-719/0-29" << 1 << false << 0.5 << "0-719/176-33";
    QTest::newRow("out to the circle") << "0-719/100-249" << 1 << false << 0.3 << "0-719/0-179";
}

// After a step the cell that was under the pointer is under it still,
// unless the day's ends moved the window.
void TestChartView::zoomKeepsPointedCell() {
    QFETCH(QString, view);
    QFETCH(int, axis);
    QFETCH(bool, in);
    QFETCH(double, along);
    QFETCH(QString, zoomed);
    const ChartView before = View(view);
    const auto ax = axis == 0 ? ViewAxis::Time : ViewAxis::Direction;
    const std::optional<ChartView> after = Zoomed(before, ax, in, along);
    QCOMPARE(after ? Text(*after) : QString(), zoomed);
    if (!after)
        return;
    constexpr int width = 1440, height = 360;
    if (ax == ViewAxis::Time) {
        const int x = static_cast<int>(along * width);
        const int held = SlotAtColumn(before, std::min(x, width - 1), width);
        if (after->firstSlot > 0 && after->lastSlot < 719)
            QCOMPARE(SlotAtColumn(*after, std::min(x, width - 1), width), held);
    } else if (!after->wholeCircle()) {
        const int y = static_cast<int>(along * height);
        QCOMPARE(BinAtRow(*after, y, height), BinAtRow(before, y, height));
    }
}

void TestChartView::heldToData_data() {
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("view");
    QTest::addColumn<QString>("held");
    QTest::newRow("short window widened about its centre") << "clamp"
                                                           << "180-185/0-179"
                                                           << "168-197/0-179";
    QTest::newRow("widened inside the day") << "clamp"
                                            << "715-719/0-179"
                                            << "690-719/0-179";
    QTest::newRow("narrow sector widened across 0") << "clamp"
                                                    << "0-719/1-3"
                                                    << "0-719/175-9";
    QTest::newRow("pan stops at the day's end") << "pan time 50"
                                                << "650-699/0-179"
                                                << "670-719/0-179";
    QTest::newRow("sector turns round") << "pan direction 20"
                                        << "0-719/160-179"
                                        << "0-719/0-19";
    QTest::newRow("whole circle does not pan") << "pan direction 20"
                                               << "0-719/0-179"
                                               << "0-719/0-179";
    QTest::newRow("box of the cells it touches") << "box 0.25 0.5 0 1"
                                                 << "0-719/0-179"
                                                 << "180-359/0-179";
    QTest::newRow("tiny box widened") << "box 0.5 0.501 0.5 0.51"
                                      << "0-719/0-179"
                                      << "346-375/84-98";
    QTest::newRow("box across 0") << "box 0 1 0 0.6"
                                  << "0-719/170-19"
                                  << "0-719/170-7";
}

void TestChartView::heldToData() {
    QFETCH(QString, op);
    QFETCH(QString, view);
    QFETCH(QString, held);
    const ChartView v = View(view);
    const QStringList words = op.split(QLatin1Char(' '));
    ChartView got;
    if (words[0] == QLatin1String("clamp"))
        got = Clamped(v);
    else if (words[0] == QLatin1String("pan"))
        got = Panned(v, words[1] == QLatin1String("time") ? ViewAxis::Time : ViewAxis::Direction,
                     words[2].toInt());
    else
        got = BoxedView(v, words[1].toDouble(), words[2].toDouble(), words[3].toDouble(),
                        words[4].toDouble());
    QCOMPARE(Text(got), held);
}

void TestChartView::typedRanges_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("view"); // empty: refused
    QTest::newRow("three hours") << "time"
                                 << "6:00-9:00"
                                 << "180-270/0-179";
    QTest::newRow("spaces, padded hour") << "time"
                                         << " 06:00 - 09:01 "
                                         << "180-270/0-179";
    QTest::newRow("ten minutes widened") << "time"
                                         << "12:00-12:10"
                                         << "348-377/0-179";
    QTest::newRow("reversed") << "time"
                              << "9:00-6:00"
                              << "";
    QTest::newRow("empty range") << "time"
                                 << "6:00-6:00"
                                 << "";
    QTest::newRow("past the day") << "time"
                                  << "6:00-24:00"
                                  << "";
    QTest::newRow("a single time") << "time"
                                   << "6:00"
                                   << "";
    QTest::newRow("sector") << "sector"
                            << "200-280"
                            << "0-719/100-140";
    QTest::newRow("sector across 0") << "sector"
                                     << "340-20"
                                     << "0-719/170-10";
    QTest::newRow("narrow sector widened") << "sector"
                                           << "90-94"
                                           << "0-719/39-53";
    QTest::newRow("whole circle") << "sector"
                                  << "0-358"
                                  << "0-719/0-179";
    QTest::newRow("360 is not a direction") << "sector"
                                            << "300-360"
                                            << "";
    QTest::newRow("same direction") << "sector"
                                    << "20-20"
                                    << "";
}

void TestChartView::typedRanges() {
    QFETCH(QString, kind);
    QFETCH(QString, typed);
    QFETCH(QString, view);
    const std::string text = typed.toStdString();
    const auto got = kind == QLatin1String("time") ? TimeRangeView(text) : SectorView(text);
    QCOMPARE(got ? Text(*got) : QString(), view);
}

void TestChartView::tickSteps_data() {
    QTest::addColumn<QString>("axis");
    QTest::addColumn<int>("span");
    QTest::addColumn<int>("step");
    // A time label needs 40 pixels of a 720-pixel plot, a direction label 14
    // of 180.
    QTest::newRow("one hour: 10 minutes") << "time" << 30 << 5;
    QTest::newRow("three hours: 20 minutes") << "time" << 91 << 10;
    QTest::newRow("six hours: 20 minutes") << "time" << 180 << 10;
    QTest::newRow("eight hours: 30 minutes") << "time" << 240 << 15;
    QTest::newRow("the day: two hours") << "time" << 720 << 60;
    QTest::newRow("30 degrees: 10") << "direction" << 15 << 5;
    QTest::newRow("120 degrees: 10") << "direction" << 60 << 5;
    QTest::newRow("300 degrees: 30") << "direction" << 150 << 15;
}

void TestChartView::tickSteps() {
    QFETCH(QString, axis);
    QFETCH(int, span);
    QFETCH(int, step);
    QCOMPARE(axis == QLatin1String("time") ? TimeTickSlots(span, 720, 40)
                                           : DirectionTickBins(span, 180, 14),
             step);
}

QTEST_APPLESS_MAIN(TestChartView)
#include "tst_chartview.moc"
