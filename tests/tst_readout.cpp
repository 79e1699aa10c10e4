// SPDX-License-Identifier: MIT
#include "ChartReadout.h"
#include "PictureNames.h"

#include <QTest>

#include <cmath>
#include <numbers>

class TestReadout : public QObject {
    Q_OBJECT
  private slots:
    void chartPoint_data();
    void chartPoint();
    void polarBin_data();
    void polarBin();
    void pictureNames_data();
    void pictureNames();
};

Q_DECLARE_METATYPE(std::optional<ChartGeometry::Cell>)
Q_DECLARE_METATYPE(std::optional<int>)

void TestReadout::chartPoint_data() {
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<std::optional<ChartGeometry::Cell>>("cell");
    QTest::addColumn<std::optional<int>>("legendValue");
    using Cell = ChartGeometry::Cell;
    const std::optional<Cell> noCell;
    const std::optional<int> noValue;
    QTest::newRow("first cell") << QPointF(30, 230) << std::optional(Cell{0, 0}) << noValue;
    QTest::newRow("first cell's far corner")
        << QPointF(30.99, 230.99) << std::optional(Cell{0, 0}) << noValue;
    QTest::newRow("last cell") << QPointF(749, 51) << std::optional(Cell{719, 179}) << noValue;
    QTest::newRow("10:38, 240 degrees")
        << QPointF(349.5, 110.5) << std::optional(Cell{319, 120}) << noValue;
    QTest::newRow("box's left edge") << QPointF(29.99, 100) << noCell << noValue;
    QTest::newRow("box's right edge") << QPointF(750, 100) << noCell << noValue;
    QTest::newRow("box's top edge") << QPointF(100, 50.99) << noCell << noValue;
    QTest::newRow("box's bottom edge") << QPointF(100, 231) << noCell << noValue;
    QTest::newRow("legend's row for 0") << QPointF(781, 230) << noCell << std::optional(0);
    QTest::newRow("legend's row for 1016") << QPointF(800, 103) << noCell << std::optional(1016);
    QTest::newRow("legend's row for 640") << QPointF(790.5, 150.5) << noCell << std::optional(640);
    QTest::newRow("legend's top edge") << QPointF(790, 102.99) << noCell << noValue;
    QTest::newRow("legend's left edge") << QPointF(780.99, 150) << noCell << noValue;
    QTest::newRow("right of the legend") << QPointF(801, 150) << noCell << noValue;
}

void TestReadout::chartPoint() {
    QFETCH(QPointF, point);
    QFETCH(std::optional<ChartGeometry::Cell>, cell);
    QFETCH(std::optional<int>, legendValue);
    QCOMPARE(ChartGeometry::CellAt(point), cell);
    QCOMPARE(ChartGeometry::LegendValueAt(point), legendValue);
    if (cell) {
        QVERIFY(QRectF(ChartGeometry::CellRect(*cell)).contains(point));
        QCOMPARE(ChartGeometry::SlotNear(point.x()), cell->slot);
    }
}

void TestReadout::polarBin_data() {
    QTest::addColumn<double>("degrees"); // clockwise from straight up
    QTest::addColumn<int>("bin");
    QTest::newRow("up") << 0.0 << 0;
    QTest::newRow("right") << 90.0 << 45;
    QTest::newRow("down") << 180.0 << 90;
    QTest::newRow("left") << 270.0 << 135;
    QTest::newRow("just before 1") << 0.99 << 0;
    QTest::newRow("just past 1") << 1.01 << 1;
    QTest::newRow("just before 89") << 88.99 << 44;
    QTest::newRow("just past 89") << 89.01 << 45;
    QTest::newRow("just before 181") << 180.99 << 90;
    QTest::newRow("just past 181") << 181.01 << 91;
    QTest::newRow("just before 359") << 358.99 << 179;
    QTest::newRow("just past 359: bin 0 again") << 359.01 << 0;
}

void TestReadout::polarBin() {
    QFETCH(double, degrees);
    QFETCH(int, bin);
    const double a = degrees * std::numbers::pi / 180;
    for (double radius : {3.0, 60.0, 125.0, 180.0}) {
        const QPointF p(132 + radius * std::sin(a), 132 - radius * std::cos(a));
        QCOMPARE(PolarGeometry::BinAt(p), std::optional(bin));
    }
    QCOMPARE(PolarGeometry::BinAt(QPointF(132, 132)), std::nullopt);
}

void TestReadout::pictureNames_data() {
    QTest::addColumn<QString>("log");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("gain");
    QTest::addColumn<QString>("chart");
    QTest::addColumn<QString>("polar");
    QTest::newRow("10:38 at gain 2") << "/data/261208.log" << 319 << 2 << "261208.png"
                                     << "261208-1038-x2.png";
    QTest::newRow("9:06: the hour padded") << "/data/261208.log" << 273 << 50 << "261208.png"
                                           << "261208-0906-x50.png";
    QTest::newRow("0:00") << "/data/261208.log" << 0 << 1 << "261208.png"
                          << "261208-0000-x1.png";
    QTest::newRow("23:58") << "/d/x.y.log" << 719 << 3 << "x.y.png"
                           << "x.y-2358-x3.png";
    QTest::newRow("no log") << "" << 319 << 2 << "dirchart.png"
                            << "dirchart.png";
}

void TestReadout::pictureNames() {
    QFETCH(QString, log);
    QFETCH(int, slot);
    QFETCH(int, gain);
    QFETCH(QString, chart);
    QFETCH(QString, polar);
    QCOMPARE(ChartImageName(log), chart);
    QCOMPARE(PolarImageName(log, slot, gain), polar);
}

QTEST_MAIN(TestReadout)
#include "tst_readout.moc"
