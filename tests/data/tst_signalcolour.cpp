// SPDX-License-Identifier: MIT
#include "SignalColour.h"

#include <QTest>

#include <limits>

class TestSignalColour : public QObject {
    Q_OBJECT
  private slots:
    void scale_data();
    void scale();
    void cellColourDrawsZeroBlack();
    void outOfRangeSaturates_data();
    void outOfRangeSaturates();
};

void TestSignalColour::scale_data() {
    QTest::addColumn<int>("v");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    const int rows[][4] = {{0, 0, 0, 255},     {100, 0, 100, 255}, {254, 0, 254, 255},
                           {255, 0, 255, 255}, {256, 0, 255, 255}, {300, 0, 255, 211},
                           {511, 0, 255, 0},   {512, 1, 255, 0},   {700, 189, 255, 0},
                           {767, 255, 255, 0}, {768, 255, 255, 0}, {900, 255, 123, 0},
                           {1016, 255, 7, 0},  {1023, 255, 0, 0}};
    for (const auto& r : rows)
        QTest::addRow("%d", r[0]) << r[0] << r[1] << r[2] << r[3];
}

void TestSignalColour::scale() {
    QFETCH(int, v);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QCOMPARE(SignalColour(v), (Rgb{red, green, blue}));
    if (v != 0)
        QCOMPARE(CellColour(v), SignalColour(v));
}

void TestSignalColour::cellColourDrawsZeroBlack() {
    QCOMPARE(CellColour(0), (Rgb{0, 0, 0}));
    QCOMPARE(CellColour(1), (Rgb{0, 1, 255}));
    QCOMPARE(CellColour(0).argb(), 0xff000000u);
    QCOMPARE(SignalColour(300).argb(), 0xff00ffd3u);
}

void TestSignalColour::outOfRangeSaturates_data() {
    QTest::addColumn<int>("v");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    constexpr int Min = std::numeric_limits<std::int16_t>::min();
    constexpr int Max = std::numeric_limits<std::int16_t>::max();
    QTest::newRow("-1") << -1 << 0 << 0 << 255;
    QTest::newRow("16-bit minimum") << Min << 0 << 0 << 255;
    QTest::newRow("1024") << 1024 << 255 << 0 << 0;
    QTest::newRow("16-bit maximum") << Max << 255 << 0 << 0;
}

void TestSignalColour::outOfRangeSaturates() {
    QFETCH(int, v);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QCOMPARE(SignalColour(v), (Rgb{red, green, blue}));
    QCOMPARE(CellColour(v), (Rgb{red, green, blue}));
}

QTEST_GUILESS_MAIN(TestSignalColour)
#include "tst_signalcolour.moc"
