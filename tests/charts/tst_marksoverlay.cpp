// SPDX-License-Identifier: MIT
// Marks drawn over the chart, and the mark under a cell.
#include "ChartFrame.h"
#include "ColourTable.h"
#include "DirectionTimePlot.h"
#include "ImageSurface.h"
#include "MarksOverlay.h"
#include "RecordingSurface.h"
#include "TestMarks.h"

#include <QTest>

using namespace ChartGeometry;

namespace {

constexpr QRgb White = 0xffffffff;
constexpr QRgb Black = 0xff000000;

// The overlay's marks: each named by its label.
Mark MarkOf(int firstSlot, int lastSlot, int firstBin, int lastBin, const char* label = "") {
    return TestMark(label, firstSlot, lastSlot, firstBin, lastBin, label);
}

ObservationGrid UniformGrid(std::int16_t value) {
    ObservationGrid grid;
    std::fill(grid.cells.begin(), grid.cells.end(), value);
    return grid;
}

int Contrast(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
           std::abs(qBlue(a) - qBlue(b));
}

} // namespace

class TestMarksOverlay : public QObject {
    Q_OBJECT

  private slots:
    void acrossNorthDrawsTwoOpenBoxes();
    void outlineShowsOnEveryColourMap_data();
    void outlineShowsOnEveryColourMap();
    void labelWhereItFits_data();
    void labelWhereItFits();
    void markUnderCell_data();
    void markUnderCell();
    void zoomedBoxFollowsTheView_data();
    void zoomedBoxFollowsTheView();
};

void TestMarksOverlay::acrossNorthDrawsTwoOpenBoxes() {
    ImageSurface chart(ChartPictureSize);
    DrawChartFrame(chart);
    PlotSignalGrid(chart, UniformGrid(300));
    const QRgb cell = chart.pixel(SlotColumn(105), BinRow(90));
    DrawMarks(chart, {MarkOf(100, 110, 170, 5)});
    const int middle = SlotColumn(105);
    const struct {
        int x, y;
        QRgb expected;
    } points[] = {
        {SlotColumn(100), BinRow(170), White}, // the upper part's corner
        {middle, BinRow(170), White},          // its bottom edge
        {middle, BinRow(169), Black},          // and the line below it
        {middle, BinRow(179), cell},           // open at the top of the plot
        {middle, BinRow(0), cell},             // the lower part open at the bottom
        {middle, BinRow(5), White},            // and closed at its last bin
        {middle, BinRow(6), Black},
        {SlotColumn(99), BinRow(2), Black},  // outside the left edge
        {SlotColumn(100), BinRow(90), cell}, // no line across the bins between
        {SlotColumn(111), BinRow(175), Black},
        {SlotColumn(112), BinRow(175), cell},
        {SlotColumn(100), PlotTop - 1, Black}, // the frame, untouched above the plot
    };
    for (const auto& p : points)
        QVERIFY2(chart.pixel(p.x, p.y) == p.expected,
                 qPrintable(QStringLiteral("(%1, %2) is %3")
                                .arg(p.x)
                                .arg(p.y)
                                .arg(chart.pixel(p.x, p.y), 0, 16)));
}

// On every colour map and at every level, the outline's light line or its
// dark neighbour stands out from the cells.
void TestMarksOverlay::outlineShowsOnEveryColourMap_data() {
    QTest::addColumn<int>("map");
    for (const ColourMapId map : AllColourMaps)
        QTest::newRow(ColourMapName(map).data()) << int(map);
}

void TestMarksOverlay::outlineShowsOnEveryColourMap() {
    QFETCH(int, map);
    ColourSettings settings;
    settings.map = ColourMapId(map);
    const ColourTable colours(settings);
    ImageSurface chart(ChartPictureSize);
    for (const std::int16_t value : {0, 1, 128, 256, 512, 768, 1023}) {
        DrawChartFrame(chart, colours);
        PlotSignalGrid(chart, UniformGrid(value), colours);
        const QRgb cell = chart.pixel(SlotColumn(200), BinRow(90));
        DrawMarks(chart, {MarkOf(150, 250, 40, 120)});
        const QRgb light = chart.pixel(SlotColumn(200), BinRow(120));
        const QRgb dark = chart.pixel(SlotColumn(200), BinRow(121));
        QVERIFY2(std::max(Contrast(light, cell), Contrast(dark, cell)) >= 300,
                 qPrintable(QStringLiteral("value %1").arg(value)));
    }
}

void TestMarksOverlay::labelWhereItFits_data() {
    QTest::addColumn<QList<int>>("mark"); // first and last slot, first and last bin
    QTest::addColumn<int>("textX");       // -1 for no label
    QTest::newRow("inside a wide box") << QList<int>{100, 300, 0, 179} << SlotColumn(100) + 4;
    QTest::newRow("right of a thin box") << QList<int>{100, 101, 0, 179} << SlotColumn(101) + 5;
    QTest::newRow("no room right of the plot's end") << QList<int>{715, 719, 0, 179} << -1;
    QTest::newRow("right of one bin") << QList<int>{100, 300, 179, 179} << SlotColumn(300) + 5;
    QTest::newRow("no room in one bin at the end") << QList<int>{600, 719, 179, 179} << -1;
}

void TestMarksOverlay::labelWhereItFits() {
    QFETCH(QList<int>, mark);
    QFETCH(int, textX);
    RecordingSurface picture;
    DrawMarks(picture, {MarkOf(mark[0], mark[1], mark[2], mark[3], "burst")});
    const QList<RecordingSurface::Op> texts = picture.opsOfKind("text");
    if (textX < 0) {
        QVERIFY(texts.isEmpty());
        return;
    }
    QCOMPARE(texts.size(), 1);
    QCOMPARE(texts[0].text, "burst");
    QCOMPARE(texts[0].x1, float(textX));
    QVERIFY(texts[0].y1 >= PlotTop && texts[0].y1 < PlotBottom);
}

void TestMarksOverlay::markUnderCell_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("bin");
    QTest::addColumn<int>("expected");
    // 0: the whole of 10:00 to 12:00; 1: across north; 2: a small one inside 0.
    QTest::newRow("in the large one") << 310 << 90 << 0;
    QTest::newRow("the small one inside it") << 330 << 60 << 2;
    QTest::newRow("across north, above 0") << 100 << 178 << 1;
    QTest::newRow("across north, at 0") << 100 << 0 << 1;
    QTest::newRow("across north, its last bin") << 100 << 5 << 1;
    QTest::newRow("past its last bin") << 100 << 6 << -1;
    QTest::newRow("before its first bin") << 100 << 169 << -1;
    QTest::newRow("after its last slot") << 111 << 178 << -1;
}

void TestMarksOverlay::markUnderCell() {
    QFETCH(int, slot);
    QFETCH(int, bin);
    QFETCH(int, expected);
    const std::vector<Mark> marks{MarkOf(300, 359, 0, 179), MarkOf(100, 110, 170, 5),
                                  MarkOf(320, 340, 50, 70)};
    QCOMPARE(MarkAt(marks, slot, bin), expected);
}

void TestMarksOverlay::zoomedBoxFollowsTheView_data() {
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<QList<int>>("shown"); // first and last slot, first and last bin
    const QList<int> acrossNorth{100, 199, 160, 40}, wholeCircle{100, 199, 0, 179};
    QTest::newRow("across north, 100 %") << qreal(1) << acrossNorth;
    QTest::newRow("across north, 150 %") << qreal(1.5) << acrossNorth;
    QTest::newRow("across north, 200 %") << qreal(2) << acrossNorth;
    QTest::newRow("whole circle, 100 %") << qreal(1) << wholeCircle;
    QTest::newRow("whole circle, 200 %") << qreal(2) << wholeCircle;
}

// A view of slots 100 to 199 and a sector across north (320 to 82 degrees)
// or the whole circle, with a mark across north inside it, one reaching past
// its end (and the first view's top), and one wholly outside it: the outlines
// lie on the cells the view maps, with no edge at 0 degrees (which the whole
// circle puts at the plot's bottom and top) nor where the view cuts a mark,
// and nothing is drawn outside the plot.
void TestMarksOverlay::zoomedBoxFollowsTheView() {
    QFETCH(qreal, scale);
    QFETCH(QList<int>, shown);
    const ChartView view{shown[0], shown[1], shown[2], shown[3]};
    const std::vector<Mark> marks{MarkOf(120, 140, 175, 5), MarkOf(180, 250, 20, 60),
                                  MarkOf(300, 320, 0, 179)};
    ImageSurface plain(ChartPictureSize, scale);
    DrawChartFrame(plain, StandardColourTable(), view);
    PlotSignalGrid(plain, UniformGrid(300), StandardColourTable(), view);
    ImageSurface marked(ChartPictureSize, scale);
    DrawChartFrame(marked, StandardColourTable(), view);
    PlotSignalGrid(marked, UniformGrid(300), StandardColourTable(), view);
    DrawMarks(marked, marks, view);
    const QImage before = plain.pixels(), after = marked.pixels();

    const DevicePlot plot = PlotInDevice(scale);
    const QRect plotPixels(plot.left, plot.bottom - plot.height + 1, plot.width, plot.height);
    const auto column = [&](int slot) {
        return plot.left + ColumnOfSlotOffset(slot - view.firstSlot, view.slotCount(), plot.width);
    };
    // The bottom device row of a bin, and the top one.
    const auto lowRow = [&](int bin) {
        return plot.bottom - RowOfBinOffset(*view.binOffset(bin), view.binCount(), plot.height);
    };
    const auto highRow = [&](int bin) {
        return plot.bottom -
               RowOfBinOffset(*view.binOffset(bin) + 1, view.binCount(), plot.height) + 1;
    };
    int changed = 0;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            if (after.pixel(x, y) == before.pixel(x, y))
                continue;
            ++changed;
            QVERIFY2(plotPixels.contains(x, y), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            if (after.pixel(x, y) != White)
                continue;
            // A light pixel lies on a cell of a mark in view.
            const int slot = SlotAtColumn(view, x - plot.left, plot.width);
            const int bin = BinAtRow(view, plot.bottom - y, plot.height);
            QVERIFY2(marks[0].holds(slot, bin) || marks[1].holds(slot, bin),
                     qPrintable(QStringLiteral("slot %1 bin %2").arg(slot).arg(bin)));
        }
    }
    QVERIFY(changed > 0);
    // The own corners of each mark in view.
    QCOMPARE(after.pixel(column(120), lowRow(175)), White);
    QCOMPARE(after.pixel(column(141) - 1, highRow(5)), White);
    QCOMPARE(after.pixel(column(180), lowRow(20)), White);
    // No edge where the sector crosses 0 degrees, in the middle of the mark.
    const int middle = column(130) + 1;
    for (const int y : {lowRow(0), lowRow(0) - 1, highRow(179), highRow(179) + 1})
        QCOMPARE(after.pixel(middle, y), before.pixel(middle, y));
    // The view cuts the second mark at its end and its top: no edges there.
    const int lastColumn = plot.left + plot.width - 1, topRow = plotPixels.top();
    QCOMPARE(after.pixel(lastColumn, lowRow(30)), before.pixel(lastColumn, lowRow(30)));
    QCOMPARE(after.pixel(column(190), topRow), before.pixel(column(190), topRow));
    // The mark wholly outside the view draws nothing.
    ImageSurface inView(ChartPictureSize, scale);
    DrawChartFrame(inView, StandardColourTable(), view);
    PlotSignalGrid(inView, UniformGrid(300), StandardColourTable(), view);
    DrawMarks(inView, {marks[0], marks[1]}, view);
    QCOMPARE(inView.pixels(), after);
}

QTEST_MAIN(TestMarksOverlay)
#include "tst_marksoverlay.moc"
