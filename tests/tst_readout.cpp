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
    void pictureNames();
};

void TestReadout::chartPoint_data() {
    // The cell as slot * 1000 + bin, or the legend's value; -1 for none.
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<int>("cell");
    QTest::addColumn<int>("legend");
    QTest::newRow("first cell, far corner") << QPointF(30.99, 230.99) << 0 << -1;
    QTest::newRow("last cell") << QPointF(749, 51) << 719179 << -1;
    QTest::newRow("10:38, 240 degrees") << QPointF(349.5, 110.5) << 319120 << -1;
    QTest::newRow("box's left edge") << QPointF(29.99, 100) << -1 << -1;
    QTest::newRow("box's top edge") << QPointF(100, 50.99) << -1 << -1;
    QTest::newRow("box's right edge") << QPointF(750, 100) << -1 << -1;
    QTest::newRow("legend, row for 0") << QPointF(781, 230) << -1 << 0;
    QTest::newRow("legend, row for 1016") << QPointF(800, 103) << -1 << 1016;
    QTest::newRow("above the legend") << QPointF(790, 102.99) << -1 << -1;
}

void TestReadout::chartPoint() {
    QFETCH(QPointF, point);
    QFETCH(int, cell);
    QFETCH(int, legend);
    const auto at = ChartGeometry::CellAt(point);
    QCOMPARE(at ? at->slot * 1000 + at->bin : -1, cell);
    QCOMPARE(ChartGeometry::LegendValueAt(point).value_or(-1), legend);
    if (at) // a drag's slot is the click's inside the box
        QCOMPARE(ChartGeometry::SlotNear(point.x()), at->slot);
}

void TestReadout::polarBin_data() {
    QTest::addColumn<double>("degrees"); // clockwise from straight up
    QTest::addColumn<int>("bin");
    for (int quarter = 0; quarter < 4; ++quarter) {
        const int middle = 45 * quarter;
        QTest::addRow("%d degrees", 90 * quarter) << 90.0 * quarter << middle;
        QTest::addRow("just before %d", 90 * quarter + 1) << 90 * quarter + 0.99 << middle;
        QTest::addRow("just past %d", 90 * quarter + 1) << 90 * quarter + 1.01 << middle + 1;
    }
    QTest::newRow("just past 359: bin 0") << 359.01 << 0;
}

void TestReadout::polarBin() {
    QFETCH(double, degrees);
    QFETCH(int, bin);
    const double a = degrees * std::numbers::pi / 180;
    for (double radius : {3.0, 125.0, 180.0})
        QCOMPARE(PolarGeometry::BinAt({132 + radius * std::sin(a), 132 - radius * std::cos(a)}),
                 bin);
    QCOMPARE(PolarGeometry::BinAt({132, 132}), std::nullopt);
}

void TestReadout::pictureNames() {
    QCOMPARE(ChartImageName("/data/261208.log"), "261208.png");
    QCOMPARE(PolarImageName("/data/261208.log", 319, 2), "261208-1038-x2.png");
    QCOMPARE(PolarImageName("/data/261208.log", 273, 50), "261208-0906-x50.png");
    QCOMPARE(ChartImageName(""), "dirchart.png");
    QCOMPARE(PolarImageName("", 319, 2), "dirchart.png");
}

QTEST_MAIN(TestReadout)
#include "tst_readout.moc"
