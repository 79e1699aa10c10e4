// SPDX-License-Identifier: MIT
// The pictures of a day compared with a reference day: the difference
// chart, the two-day polar plot and the profile through time.
#include "ChartFrame.h"
#include "DayDifference.h"
#include "DifferenceChart.h"
#include "ImageSurface.h"
#include "PolarPlot.h"
#include "ProfilePlot.h"
#include "RecordingSurface.h"

#include "TestFiles.h"

#include <QTest>

namespace {

// The entry of the diverging table a pixel shows; -1 for any other colour.
int EntryOf(QRgb pixel) {
    const auto& table = DifferenceTable();
    const auto found = std::find(table.begin(), table.end(), pixel | 0xff000000u);
    return found == table.end() ? -1 : static_cast<int>(found - table.begin());
}

} // namespace

class TestCompareCharts : public QObject {
    Q_OBJECT
  private slots:
    void dayMinusItself_data();
    void dayMinusItself();
    void legendMirrorsAboutZero_data();
    void legendMirrorsAboutZero();
    void polarOfADayWithItself();
    void profileCurves();
    void profileCurveIsItsLines_data();
    void profileCurveIsItsLines();
    void profileValueLabels_data();
    void profileValueLabels();
    void profileRedrawsEqualWholePlots_data();
    void profileRedrawsEqualWholePlots();
};

void TestCompareCharts::dayMinusItself_data() {
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<long>("referenceCells");
    constexpr long All = ObservationGrid::CellCount;
    QTest::newRow("whole day, 100 %") << 1.0 << All;
    QTest::newRow("whole day, 150 %") << 1.5 << All;
    QTest::newRow("short reference, 100 %") << 1.0 << 300L * 180 + 17;
    QTest::newRow("short reference, 200 %") << 2.0 << 300L * 180 + 17;
    QTest::newRow("empty reference") << 1.0 << 0L;
}

void TestCompareCharts::dayMinusItself() {
    // Every cell both cover is the centre colour; every other one is black,
    // in every device pixel of the cell.
    QFETCH(qreal, scale);
    QFETCH(long, referenceCells);
    const ObservationGrid day = SeededDay(3);
    ImageSurface picture(ChartPictureSize, scale);
    DrawDifferenceChart(
        picture, {&day, ObservationGrid::CellCount, "/a/261208.log"},
        {&day, referenceCells, "/a/261207.log"},
        DifferenceColours(DifferenceRange(day, ObservationGrid::CellCount, day, referenceCells)));
    const QImage image = picture.image();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int t = static_cast<int>(x / scale) - ChartGeometry::PlotLeft;
            const int d = ChartGeometry::PlotBottom - static_cast<int>(y / scale);
            if (t < 0 || t >= ObservationGrid::Slots || d < 0 || d >= ObservationGrid::Bins)
                continue;
            const QRgb expected =
                long{t} * ObservationGrid::Bins + d < referenceCells ? 0xfff7f7f7 : 0xff000000;
            if (image.pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("cell %1, %2 at pixel %3, %4: %5")
                                     .arg(t)
                                     .arg(d)
                                     .arg(x)
                                     .arg(y)
                                     .arg(image.pixel(x, y), 8, 16)));
        }
    }
}

void TestCompareCharts::legendMirrorsAboutZero_data() {
    QTest::addColumn<int>("range");
    QTest::addColumn<QStringList>("labels"); // from the bottom tick up
    QTest::newRow("1: no halves") << 1 << QStringList{"-1 ", "", " 0 ", "", " 1 "};
    QTest::newRow("7") << 7 << QStringList{"-7 ", "-4 ", " 0 ", " 4 ", " 7 "};
    QTest::newRow("300") << 300 << QStringList{"-300 ", "-150 ", " 0 ", " 150 ", " 300 "};
    QTest::newRow("9999") << 9999 << QStringList{"-9999 ", "-5000 ", " 0 ", " 5000 ", " 9999 "};
    QTest::newRow("thousands") << 65535 << QStringList{"-66k ", "-33k ", " 0 ", " 33k ", " 66k "};
}

void TestCompareCharts::legendMirrorsAboutZero() {
    // A sign slip would colour one half of the legend from the other's end
    // of the table; the labels name -range, 0 and +range.
    QFETCH(int, range);
    QFETCH(QStringList, labels);
    const ObservationGrid day;
    const DifferenceColours colours(range);
    ImageSurface picture(ChartPictureSize);
    DrawDifferenceChart(picture, {&day, 0, {}}, {&day, 0, {}}, colours);
    const QImage image = picture.image();
    for (int r = 0; r < ChartGeometry::LegendRows; ++r) {
        const int low = EntryOf(image.pixel(790, ChartGeometry::LegendRowY(r)));
        const int high = EntryOf(image.pixel(790, ChartGeometry::LegendRowY(127 - r)));
        QVERIFY(low >= 0);
        QCOMPARE(low + high, DifferenceEntries - 1);
    }
    QCOMPARE(EntryOf(image.pixel(790, ChartGeometry::LegendRowY(0))), 0);

    RecordingSurface recording;
    DrawDifferenceChart(recording, {&day, 0, {}}, {&day, 0, {}}, colours);
    QStringList printed;
    for (const auto& op : recording.opsOfKind("text"))
        if (op.x1 == 750)
            printed.append(op.text);
    QCOMPARE(printed, labels);
}

void TestCompareCharts::polarOfADayWithItself() {
    // The shown day's red curve lies over the reference's, so a day against
    // itself is its own polar plot exactly; another reference shows blue.
    const ObservationGrid day = SeededDay(1);
    for (int t : {0, 319, 719}) {
        ImageSurface single(PolarPictureSize), both(PolarPictureSize);
        DrawPolarPlot(single, day, t, RadiansPerDegree(), 3);
        DrawPolarComparison(both, day, day, t, RadiansPerDegree(), 3, ReferenceCurveColour);
        QCOMPARE(both.image(), single.image());
    }
    ImageSurface both(PolarPictureSize);
    DrawPolarComparison(both, day, SeededDay(2), 319, RadiansPerDegree(), 3, ReferenceCurveColour);
    const QImage image = both.image();
    QVERIFY(std::count(reinterpret_cast<const QRgb*>(image.constBits()),
                       reinterpret_cast<const QRgb*>(image.constBits()) +
                           image.width() * image.height(),
                       ReferenceCurveColour) > 100);
}

void TestCompareCharts::profileCurves() {
    // A step from 100 to 500 at 12:00 in the shown day, a gap from 18:00;
    // the reference flat at 200. Each slot's column holds its value's row
    // in its day's colour, and nothing of the shown day in the gap.
    ProfileCurves curves;
    for (int t = 0; t < ObservationGrid::Slots; ++t) {
        if (t < 540)
            curves.shown[static_cast<std::size_t>(t)] = t < 360 ? 100 : 500;
        curves.reference[static_cast<std::size_t>(t)] = 200;
    }
    curves.hasReference = true;
    QCOMPARE(ProfileValueRange(curves, {}), std::make_pair(0, 500));
    ImageSurface picture(ProfilePictureSize);
    DrawProfilePlot(picture, curves, 600);
    const QImage image = picture.image();
    using namespace ProfileGeometry;
    const auto row = [](int v) { return PlotBottom - v * (PlotBottom - PlotTop) / 500; };
    for (int t : {0, 100, 300, 400, 539}) {
        const int x = PlotLeft + t;
        QCOMPARE(image.pixel(x, row(t < 360 ? 100 : 500)), ShownCurveColour);
        QCOMPARE(image.pixel(x, row(200)), ReferenceCurveColour);
    }
    for (int t : {541, 650, 719}) {
        const QRgb* column = reinterpret_cast<const QRgb*>(image.constBits()) + PlotLeft + t;
        for (int y = PlotTop; y <= PlotBottom; ++y)
            QVERIFY(column[y * image.width()] != ShownCurveColour);
    }
    // The slot's grey line at 20:00.
    QCOMPARE(image.pixel(PlotLeft + 600, PlotTop + 3), 0xff7f7f7fu);

    // Curves of another direction drawn over these, as a new direction
    // redraws them, leave exactly the whole plot of that direction: nothing
    // of the old curves, range or caption stays. The other range has
    // negative values and a wider label.
    ProfileCurves other = curves;
    other.caption = QStringLiteral("200-280");
    for (int t = 0; t < ObservationGrid::Slots; ++t)
        other.shown[static_cast<std::size_t>(t)] =
            t >= 600 && t < 620 ? -1000 : (t * 37) % 3000 - 1000;
    DrawnProfile drawn{curves, 600, {}};
    for (int slot : {600, 0}) {
        DrawProfileCurves(picture, other, slot, {}, &drawn);
        drawn = {other, slot, {}};
    }
    ImageSurface whole(ProfilePictureSize);
    DrawProfilePlot(whole, other, 0);
    QCOMPARE(picture.image(), whole.image());
    // From 20:00 the curve runs along the bottom of the box, and stays inside it.
    for (int x = PlotLeft - 1; x <= PlotRight + 1; ++x)
        QCOMPARE(whole.image().pixel(x, PlotBottom + 1), 0xff000000u);
    // And back, without knowing what was there.
    DrawProfileCurves(picture, curves, 600);
    DrawProfilePlot(whole, curves, 600);
    QCOMPARE(picture.image(), whole.image());
}

void TestCompareCharts::profileCurveIsItsLines_data() {
    QTest::addColumn<bool>("gaps"); // two slots of every 23 without a value, a lone one in 61
    QTest::addColumn<int>("firstSlot");
    QTest::addColumn<int>("lastSlot");
    QTest::newRow("whole day") << false << 0 << 719;
    QTest::newRow("whole day, gaps") << true << 0 << 719;
    QTest::newRow("16 hours: 1.5 columns a slot") << false << 200 << 679;
    QTest::newRow("three hours, gaps") << true << 300 << 389;
}

void TestCompareCharts::profileCurveIsItsLines() {
    // A jagged day, steep and shallow steps up and down: the curve's pixels
    // are those of the surface's own lines through its points, a lone value
    // its one point, and nothing across a gap.
    QFETCH(bool, gaps);
    QFETCH(int, firstSlot);
    QFETCH(int, lastSlot);
    const SlotSpan span{firstSlot, lastSlot};
    ProfileCurves curves;
    for (int t = 0; t < ObservationGrid::Slots; ++t)
        if (!gaps || (t % 23 > 1 && t % 61 != 1 && t % 61 != 60))
            curves.shown[static_cast<std::size_t>(t)] =
                static_cast<int>((long{t} * t * 7919) % 1000);
    using namespace ProfileGeometry;
    const auto range = ProfileValueRange(curves, span);
    const auto x = [&](int t) { return static_cast<float>(ProfileColumn(t, span)); };
    const auto y = [&](int t) {
        const long v = *curves.shown[static_cast<std::size_t>(t)];
        return static_cast<float>(PlotBottom - (v - range.first) * (PlotBottom - PlotTop) /
                                                   (range.second - range.first));
    };
    const auto has = [&](int t) {
        return t >= span.first && t <= span.last && curves.shown[static_cast<std::size_t>(t)];
    };
    ImageSurface curve(ProfilePictureSize), lines(ProfilePictureSize);
    DrawProfilePlot(curve, curves, -1, span);
    for (int t = span.first; t <= span.last; ++t) {
        if (has(t - 1) && has(t))
            lines.Line({x(t - 1), y(t - 1)}, {x(t), y(t)}, ShownCurveColour);
        else if (has(t) && !has(t + 1))
            lines.PSet(x(t), y(t), ShownCurveColour);
    }
    const QImage drawn = curve.image(), expected = lines.image();
    for (int x = PlotLeft; x <= PlotRight; ++x)
        for (int row = PlotTop; row <= PlotBottom; ++row)
            QCOMPARE(drawn.pixel(x, row) == ShownCurveColour,
                     expected.pixel(x, row) == ShownCurveColour);
}

void TestCompareCharts::profileValueLabels_data() {
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("highest");
    QTest::addColumn<QStringList>("labels"); // bottom, top, zero
    QTest::newRow("four digits") << 3 << 1023 << QStringList{"0", "1100", ""};
    QTest::newRow("thousands below zero") << -1130 << 9870 << QStringList{"-1.2k", "9900", "0"};
    QTest::newRow("16-bit extremes") << -32768 << 32767 << QStringList{"-33k", "33k", "0"};
}

void TestCompareCharts::profileValueLabels() {
    // The range's ends, and zero inside it, labelled left of the box in
    // at most four digits' width: nothing but the ticks reaches the
    // columns of the ticks.
    QFETCH(int, lowest);
    QFETCH(int, highest);
    QFETCH(QStringList, labels);
    ProfileCurves curves;
    for (int t = 0; t < ObservationGrid::Slots; ++t)
        curves.shown[static_cast<std::size_t>(t)] = t % 2 ? lowest : highest;
    const auto range = ProfileValueRange(curves, {});
    QCOMPARE((QStringList{ProfileValueLabel(range.first), ProfileValueLabel(range.second),
                          range.first < 0 ? ProfileValueLabel(0) : QString()}),
             labels);
    ImageSurface picture(ProfilePictureSize);
    DrawProfilePlot(picture, curves, 0);
    const QImage image = picture.image();
    using namespace ProfileGeometry;
    const auto tickRow = [&](int v) {
        return PlotBottom -
               (v - range.first) * (PlotBottom - PlotTop) / (range.second - range.first);
    };
    for (int y = PlotTop - 8; y <= PlotBottom + 8; ++y) {
        const bool tick =
            y == tickRow(range.first) || y == tickRow(range.second) || y == tickRow(0);
        for (int x = PlotLeft - 5; x <= PlotLeft - 2; ++x)
            QCOMPARE(image.pixel(x, y), tick ? 0xff000000u : 0xffffffffu);
    }
}

void TestCompareCharts::profileRedrawsEqualWholePlots_data() {
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<int>("firstSlot");
    QTest::addColumn<int>("lastSlot");
    QTest::addColumn<long>("referenceCells");
    QTest::newRow("whole day") << 1.0 << 0 << 719 << long{ObservationGrid::CellCount};
    QTest::newRow("200 %, short reference") << 2.0 << 0 << 719 << 400L * 180 + 33;
    QTest::newRow("150 %, three hours") << 1.5 << 300 << 389 << long{ObservationGrid::CellCount};
    QTest::newRow("an hour, reference ends in it") << 1.0 << 395 << 424 << 410L * 180;
}

void TestCompareCharts::profileRedrawsEqualWholePlots() {
    // Directions, a slot moving on, sectors across north, a wider range and
    // back: each redraw over the last equals the whole plot of what it
    // shows, with nothing left of the old curves, caption or labels.
    QFETCH(qreal, scale);
    QFETCH(int, firstSlot);
    QFETCH(int, lastSlot);
    QFETCH(long, referenceCells);
    const ObservationGrid shown = SeededDay(4);
    ObservationGrid reference = SeededDay(9);
    for (int t = 0; t < ObservationGrid::Slots; t += 3)
        reference(t, 60) = static_cast<std::int16_t>(3000 + t); // 120 degrees
    const SlotSpan span{firstSlot, lastSlot};
    const auto at = [&](const char* text, int slot) {
        const DirectionSector sector = *ParseDirectionSector(text);
        ProfileCurves curves;
        curves.shown = ProfileThroughDay(shown, ObservationGrid::CellCount, sector);
        curves.reference = ProfileThroughDay(reference, referenceCells, sector);
        curves.hasReference = true;
        curves.shownLabel = QStringLiteral("2026/12/08");
        curves.caption = QString::fromLatin1(text);
        return DrawnProfile{curves, slot, span};
    };
    ImageSurface picture(ProfilePictureSize, scale);
    DrawnProfile drawn = at("90", 100);
    DrawProfilePlot(picture, drawn.curves, drawn.slot, span);
    for (const DrawnProfile& now : {at("0", 400), at("2", 400), at("2", 410), at("120", 410),
                                    at("340-20", 719), at("200-280", 0)}) {
        DrawProfileCurves(picture, now.curves, now.slot, span, &drawn);
        ImageSurface whole(ProfilePictureSize, scale);
        DrawProfilePlot(whole, now.curves, now.slot, span);
        QVERIFY2(picture.image() == whole.image(), qPrintable(now.curves.caption));
        drawn = now;
    }
}

QTEST_MAIN(TestCompareCharts)
#include "tst_comparecharts.moc"
