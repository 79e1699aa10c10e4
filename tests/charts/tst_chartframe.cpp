// SPDX-License-Identifier: MIT
#include "ChartFrame.h"
#include "DirectionTimePlot.h"
#include "ImageSurface.h"
#include "ObservationGrid.h"
#include "RecordingSurface.h"
#include "SignalColour.h"

#include <QTest>

namespace {
constexpr QRgb White = 0xffffffff;
constexpr QRgb Black = 0xff000000;
const QSize ChartSurface(813, 277);

ImageSurface& Frame() {
    static ImageSurface surface(ChartSurface);
    static bool drawn = false;
    if (!drawn) {
        DrawChartFrame(surface);
        drawn = true;
    }
    return surface;
}

// Columns in [x0, x1] of rows [y0, y1] that hold any non-white pixel.
QList<int> InkColumns(const ImageSurface& s, int x0, int x1, int y0, int y1) {
    QList<int> columns;
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y)
            if (s.pixel(x, y) != White) {
                columns.append(x);
                break;
            }
    return columns;
}
} // namespace

class TestChartFrame : public QObject {
    Q_OBJECT
  private slots:
    void chartBox();
    void atRatioTwo();
    void textsAtFinerRatios_data();
    void textsAtFinerRatios();
    void plotAreaIsEmpty();
    void hourTicks();
    void directionTicks();
    void legendLines_data();
    void legendLines();
    void legendBoxAndTicks();
    void textsStayInTheirPlaces();
    void hourLabelsDoNotTouch();
    void labelsArePrintedNumbers();
    void secondCallDrawsTheSamePicture();
};

void TestChartFrame::chartBox() {
    const ImageSurface& s = Frame();
    for (int x = 29; x <= 750; ++x) {
        QCOMPARE(s.pixel(x, 50), Black);
        QCOMPARE(s.pixel(x, 231), Black);
    }
    for (int y = 50; y <= 231; ++y) {
        QCOMPARE(s.pixel(29, y), Black);
        QCOMPARE(s.pixel(750, y), Black);
    }
    QCOMPARE(s.pixel(28, 141), White);
    QCOMPARE(s.pixel(751, 140), White);
    QCOMPARE(s.pixel(400, 49), White);
    QCOMPARE(s.pixel(400, 232), White);
}

void TestChartFrame::plotAreaIsEmpty() {
    const ImageSurface& s = Frame();
    for (int y = 51; y <= 230; ++y)
        for (int x = 30; x <= 749; ++x)
            if (s.pixel(x, y) != White)
                QFAIL(qPrintable(QStringLiteral("plot area pixel %1,%2 is drawn").arg(x).arg(y)));
}

void TestChartFrame::hourTicks() {
    const ImageSurface& s = Frame();
    QList<int> expected;
    for (int h = 0; h <= 24; ++h)
        expected.append(30 + 30 * h);
    for (int y = 232; y <= 235; ++y)
        QCOMPARE(InkColumns(s, 20, 752, y, y), expected); // labels lie outside
    QCOMPARE(s.pixel(750, 235), Black);
}

void TestChartFrame::directionTicks() {
    const ImageSurface& s = Frame();
    for (int row = 50; row <= 231; ++row) {
        const bool tick = (230 - row) % 30 == 0;
        for (int x = 25; x <= 28; ++x)
            QCOMPARE(s.pixel(x, row), tick ? Black : White);
    }
}

void TestChartFrame::legendLines_data() {
    QTest::addColumn<int>("v");
    for (int v = 0; v <= 1016; v += 8)
        QTest::addRow("%d", v) << v;
}

void TestChartFrame::legendLines() {
    QFETCH(int, v);
    const ImageSurface& s = Frame();
    const int row = 230 - v / 8;
    for (int x = 781; x <= 799; ++x)
        QCOMPARE(s.pixel(x, row), SignalColour(v).argb());
    // Column 800 is the legend box's right edge; the line runs up to it.
    QVERIFY(s.pixel(800, row) == SignalColour(v).argb() || s.pixel(800, row) == Black);
}

void TestChartFrame::legendBoxAndTicks() {
    const ImageSurface& s = Frame();
    QCOMPARE(s.pixel(781, 230), 0xff0000ffu);
    QCOMPARE(s.pixel(781, 103), 0xffff0700u);
    for (int x = 780; x <= 800; ++x) {
        QCOMPARE(s.pixel(x, 102), Black);
        QCOMPARE(s.pixel(x, 231), Black);
    }
    for (int y = 102; y <= 231; ++y)
        QCOMPARE(s.pixel(780, y), Black);
    for (int row = 100; row <= 232; ++row) {
        const bool tick = (230 - row) % 32 == 0 && row >= 102;
        for (int x = 776; x <= 779; ++x)
            if (tick)
                QCOMPARE(s.pixel(x, row), Black);
        if (!tick && row != 102 && row != 231)
            QCOMPARE(s.pixel(779, row), White);
    }
}

void TestChartFrame::textsStayInTheirPlaces() {
    const ImageSurface& s = Frame();
    // The title stands on rows 20.. and ends left of the date label at x = 500.
    const QList<int> title = InkColumns(s, 200, 812, 20, 31);
    QVERIFY(!title.isEmpty());
    QVERIFY(title.first() >= 270);
    QVERIFY2(title.last() < 500, qPrintable(QString::number(title.last())));
    // Nothing is printed above the texts' top rows.
    QVERIFY(InkColumns(s, 0, 812, 0, 19).isEmpty());
    // The time caption sits below the hour labels, right of x = 370.
    const QList<int> caption = InkColumns(s, 0, 812, 253, 276);
    QVERIFY(!caption.isEmpty());
    QVERIFY(caption.first() >= 370);
}

void TestChartFrame::hourLabelsDoNotTouch() {
    const ImageSurface& s = Frame();
    // Each hour label's ink lies within its own 30-column cell, which starts
    // at its print position, and neighbouring labels leave a gap.
    const QList<int> ink = InkColumns(s, 0, 812, 240, 251);
    int previousEnd = -1;
    for (int h = 0; h <= 24; ++h) {
        QList<int> mine;
        for (int x : ink)
            if (x >= 23 + 30 * h && x < 23 + 30 * (h + 1))
                mine.append(x);
        QVERIFY2(!mine.isEmpty(), qPrintable(QString::number(h)));
        QVERIFY2(mine.first() > previousEnd + 1, qPrintable(QString::number(h)));
        previousEnd = mine.last();
    }
}

void TestChartFrame::labelsArePrintedNumbers() {
    RecordingSurface r;
    DrawChartFrame(r);
    QStringList hours, directions, legend;
    for (const auto& op : r.opsOfKind("text")) {
        if (op.y1 == 240)
            hours.append(QStringLiteral("%1@%2").arg(op.text).arg(op.x1));
        else if (op.x1 == 3)
            directions.append(QStringLiteral("%1@%2").arg(op.text).arg(op.y1));
        else if (op.x1 == 750)
            legend.append(QStringLiteral("%1@%2").arg(op.text).arg(op.y1));
    }
    QCOMPARE(hours.size(), 25);
    QCOMPARE(hours.first(), " 0 @23");
    QCOMPARE(hours.last(), " 24 @743");
    QCOMPARE(directions, QStringList({" 0 @225", " 60 @195", " 120 @165", " 180 @135", " 240 @105",
                                      " 300 @75", " 360 @45"}));
    QCOMPARE(legend, QStringList({" 0 @225", " 256 @193", " 512 @161", " 768 @129", " 1024 @97"}));
    QCOMPARE(r.ops.first().kind, "cls");
}

void TestChartFrame::secondCallDrawsTheSamePicture() {
    ImageSurface twice(ChartSurface);
    DrawChartFrame(twice);
    twice.PSet(100, 100, 0xffff0000); // stands for a plotted cell
    DrawChartFrame(twice);
    QCOMPARE(twice.image(), Frame().image());
}

// At a ratio of 2 the chart is the ratio-1 chart enlarged, each pixel to two
// by two, except for the texts, which the font renders at the finer grid.
void TestChartFrame::atRatioTwo() {
    ObservationGrid grid;
    for (std::size_t i = 0; i < grid.cells.size(); ++i)
        grid.cells[i] = static_cast<std::int16_t>(i * 37 % 1100);
    ImageSurface one(ChartSurface), two(ChartSurface, 2);
    for (ImageSurface* s : {&one, &two}) {
        DrawChartFrame(*s);
        PlotSignalGrid(*s, grid);
    }
    const QImage device = two.image();
    QImage enlarged = one.image().scaled(ChartSurface * 2);
    enlarged.setDevicePixelRatio(2);
    // The cells and the box round them, and the legend's colour lines.
    for (const QRect& logical :
         {QRect(QPoint(29, 50), QPoint(750, 231)), QRect(QPoint(781, 102), QPoint(800, 231))}) {
        const QRect area(logical.topLeft() * 2, logical.size() * 2);
        QCOMPARE(device.copy(area), enlarged.copy(area));
    }
    const QRect title(QPoint(540, 40), QSize(420, 28));
    QVERIFY(device.copy(title) != enlarged.copy(title));
    int ink = 0;
    for (int y = title.top(); y <= title.bottom(); ++y)
        for (int x = title.left(); x <= title.right(); ++x) {
            QVERIFY(device.pixel(x, y) == White || device.pixel(x, y) == Black);
            ink += device.pixel(x, y) == Black;
        }
    QVERIFY(ink > 300);
}

void TestChartFrame::textsAtFinerRatios_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("150 %") << 1.5;
    QTest::newRow("200 %") << 2.0;
}

// At 150 % and 200 % the title's letters are evenly set, and the legend's
// "1024" keeps two screen pixels clear of its tick (its "4" touches the tick
// at 100 %).
void TestChartFrame::textsAtFinerRatios() {
    QFETCH(qreal, ratio);
    ImageSurface title(ChartSurface, ratio);
    title.SetCurrentX(270);
    title.SetCurrentY(20);
    title.Print(QStringLiteral("DIRECTION-TIME-SIGNAL CHART"));
    const QSize device = title.image().size();
    const QList<int> ink = InkColumns(title, 0, device.width() - 1, 0, device.height() - 1);
    QList<int> gaps; // between letters, and the word space, the widest
    for (qsizetype i = 1; i < ink.size(); ++i)
        if (ink[i] - ink[i - 1] > 1)
            gaps.append(ink[i] - ink[i - 1] - 1);
    std::sort(gaps.begin(), gaps.end());
    QVERIFY(gaps.size() > 15);
    QVERIFY2(gaps.first() >= 1 && gaps[gaps.size() - 2] <= 2,
             qPrintable(QString::number(gaps[gaps.size() - 2])));

    ImageSurface label(ChartSurface, ratio), tick(ChartSurface, ratio);
    label.SetCurrentX(750);
    label.SetCurrentY(97);
    label.Print(1024);
    tick.Line({779, 102}, {776, 102}, Black);
    const auto inkBounds = [](const QImage& image) {
        QRect bounds;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != White)
                    bounds |= QRect(x, y, 1, 1);
        return bounds;
    };
    const QRect keepOut = inkBounds(tick.image()).adjusted(-2, -2, 2, 2);
    QCOMPARE(inkBounds(label.image().copy(keepOut)), QRect());
}

QTEST_MAIN(TestChartFrame)
#include "tst_chartframe.moc"
