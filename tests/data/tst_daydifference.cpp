// SPDX-License-Identifier: MIT
#include "DayDifference.h"
#include "DayProfile.h"

#include <QTest>

class TestDayDifference : public QObject {
    Q_OBJECT
  private slots:
    void tableEntries_data();
    void tableEntries();
    void entryOfValue_data();
    void entryOfValue();
    void coloursAgreeWithEntries();
    void range_data();
    void range();
    void sectors_data();
    void sectors();
    void profileAgainstGrid_data();
    void profileAgainstGrid();
};

void TestDayDifference::tableEntries_data() {
    QTest::addColumn<int>("entry");
    QTest::addColumn<uint>("argb");
    // Worked by hand from the anchors: p = 10k/254, each channel
    // a + (b - a) frac(p) rounded half up.
    QTest::newRow("first anchor") << 0 << 0xff053061u;
    QTest::newRow("1: 6.10 50.13 99.95") << 1 << 0xff063264u;
    QTest::newRow("25: 32.56 101.15 170.82") << 25 << 0xff2165abu;
    QTest::newRow("26: 33.80 103.06 172.54") << 26 << 0xff2267adu;
    QTest::newRow("centre is the white anchor") << 127 << 0xfff7f7f7u;
    QTest::newRow("253: 105.95 0.94 31.47") << 253 << 0xff6a011fu;
    QTest::newRow("last anchor") << 254 << 0xff67001fu;
}

void TestDayDifference::tableEntries() {
    QFETCH(int, entry);
    QFETCH(uint, argb);
    QCOMPARE(DifferenceTable()[static_cast<std::size_t>(entry)], argb);
}

void TestDayDifference::entryOfValue_data() {
    QTest::addColumn<int>("v");
    QTest::addColumn<int>("range");
    QTest::addColumn<int>("entry");
    QTest::newRow("zero is the centre") << 0 << 100 << 127;
    QTest::newRow("smallest step up") << 1 << 100 << 128;
    QTest::newRow("smallest step down") << -1 << 100 << 126;
    QTest::newRow("39 of 100: 50.03") << 39 << 100 << 177;
    QTest::newRow("-39 of 100 mirrors it") << -39 << 100 << 77;
    QTest::newRow("at the range") << 100 << 100 << 254;
    QTest::newRow("beyond the range") << 4000 << 100 << 254;
    QTest::newRow("most negative at range 1") << -65535 << 1 << 0;
    QTest::newRow("most positive at the widest range") << 65535 << 65535 << 254;
    QTest::newRow("half rounds up: 1 of 3 is 42.67") << 1 << 3 << 169;
    QTest::newRow("-1 of 3") << -1 << 3 << 85;
}

void TestDayDifference::entryOfValue() {
    QFETCH(int, v);
    QFETCH(int, range);
    QFETCH(int, entry);
    QCOMPARE(DifferenceEntry(v, range), entry);
    QCOMPARE(DifferenceColours(range).argb(v), DifferenceTable()[static_cast<std::size_t>(entry)]);
}

void TestDayDifference::coloursAgreeWithEntries() {
    // The chart's table is counted up without division; it must give the
    // formula's entry for every value at ranges odd, even and extreme.
    for (int range : {1, 2, 3, 126, 127, 128, 255, 1000, 65535}) {
        const DifferenceColours colours(range);
        for (int v = -65535; v <= 65535; v += (v > -2 * range && v < 2 * range) ? 1 : 97) {
            const auto expected =
                DifferenceTable()[static_cast<std::size_t>(DifferenceEntry(v, range))];
            if (colours.argb(v) != expected)
                QFAIL(qPrintable(QStringLiteral("range %1, v %2").arg(range).arg(v)));
        }
    }
}

void TestDayDifference::range_data() {
    QTest::addColumn<int>("spread"); // cells with |v| = 500, the rest 0
    QTest::addColumn<long>("referenceCells");
    QTest::addColumn<int>("range");
    constexpr long All = ObservationGrid::CellCount;
    // 1 % of 129,600 is 1,296: the rank ceil(0.99 N) = 128,304 still lands
    // on a zero with 1,296 differing cells and on 500 with one more.
    QTest::newRow("a day minus itself") << 0 << All << 1;
    QTest::newRow("1 % differ: still zero, at least 1") << 1296 << All << 1;
    QTest::newRow("one cell more than 1 %") << 1297 << All << 500;
    // A reference covering 100 cells: only those count, and there |v| runs
    // 1..100 (below), so rank 99 is 99.
    QTest::newRow("short reference") << -1 << 100L << 99;
    QTest::newRow("reference covers nothing") << 1297 << 0L << 1;
}

void TestDayDifference::range() {
    QFETCH(int, spread);
    QFETCH(long, referenceCells);
    QFETCH(int, range);
    ObservationGrid shown, reference;
    for (std::size_t i = 0; i < shown.cells.size(); ++i)
        shown.cells[i] = static_cast<std::int16_t>(i % 1000);
    reference = shown;
    if (spread < 0) {
        for (std::size_t i = 0; i < 100; ++i)
            reference.cells[i] = static_cast<std::int16_t>(shown.cells[i] + int(i) + 1);
        for (std::size_t i = 100; i < reference.cells.size(); ++i)
            reference.cells[i] = -32768; // beyond the reference's end: never counted
    } else {
        for (int i = 0; i < spread; ++i)
            reference.cells[static_cast<std::size_t>(i * 97)] -= 500;
    }
    QCOMPARE(DifferenceRange(shown, ObservationGrid::CellCount, reference, referenceCells), range);
}

void TestDayDifference::sectors_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("first"); // -1: refused
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("bins");
    QTest::newRow("plain") << "200-280" << 100 << 140 << 41;
    QTest::newRow("across north") << "340-20" << 170 << 10 << 21;
    QTest::newRow("odd degrees name their bin") << "341-21" << 170 << 10 << 21;
    QTest::newRow("spaces") << " 10 - 30 " << 5 << 15 << 11;
    QTest::newRow("one direction") << "240" << 120 << 120 << 1;
    QTest::newRow("whole circle") << "0-359" << 0 << 179 << 180;
    QTest::newRow("360 is out") << "300-360" << -1 << 0 << 0;
    QTest::newRow("negative") << "-20-40" << -1 << 0 << 0;
    QTest::newRow("empty end") << "200-" << -1 << 0 << 0;
    QTest::newRow("words") << "north" << -1 << 0 << 0;
}

void TestDayDifference::sectors() {
    QFETCH(QString, text);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(int, bins);
    const std::optional<DirectionSector> sector = ParseDirectionSector(text.toStdString());
    QCOMPARE(sector.has_value(), first >= 0);
    if (!sector)
        return;
    QCOMPARE(sector->first, first);
    QCOMPARE(sector->last, last);
    QCOMPARE(sector->binCount(), bins);
}

void TestDayDifference::profileAgainstGrid_data() {
    QTest::addColumn<QString>("sector");
    QTest::addColumn<long>("covered");
    constexpr long Bins = ObservationGrid::Bins;
    // A log ending inside slot 5 leaves slot 6 empty; ending at bin 5 of
    // slot 5, only the sector's run from 0 counts there.
    QTest::newRow("340-20, log ends in slot 5") << "340-20" << 5 * Bins + 175;
    QTest::newRow("340-20, ends before the run to 359") << "340-20" << 5 * Bins + 6;
    QTest::newRow("200-280, ends inside it") << "200-280" << 7 * Bins + 120;
    QTest::newRow("one bin at 358, ends before it") << "358" << 3 * Bins + 179;
    QTest::newRow("the whole circle") << "0-358" << 2 * Bins + 90;
}

void TestDayDifference::profileAgainstGrid() {
    // Each slot's highest value in the sector against a search of the grid
    // itself; the bins just outside 340-20 hold higher values that must not
    // count.
    QFETCH(QString, sector);
    QFETCH(long, covered);
    ObservationGrid grid;
    for (int t = 0; t < ObservationGrid::Slots; ++t)
        for (int d = 0; d < ObservationGrid::Bins; ++d)
            grid(t, d) = static_cast<std::int16_t>((t * 37 + d * 11) % 500 - 100);
    for (int t = 0; t < ObservationGrid::Slots; ++t) {
        grid(t, 11) = 900;
        grid(t, 169) = 900;
    }
    const DirectionSector bins = *ParseDirectionSector(sector.toStdString());
    const DayProfile profile = ProfileThroughDay(grid, covered, bins);
    for (int t = 0; t < ObservationGrid::Slots; ++t) {
        std::optional<int> expected;
        for (int d = 0; d < ObservationGrid::Bins; ++d)
            if (bins.contains(d) && long(t) * ObservationGrid::Bins + d < covered)
                expected = std::max(expected.value_or(-32768), int(grid(t, d)));
        QCOMPARE(profile[static_cast<std::size_t>(t)], expected);
    }
}

QTEST_APPLESS_MAIN(TestDayDifference)
#include "tst_daydifference.moc"
