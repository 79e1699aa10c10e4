// SPDX-License-Identifier: MIT
// The chart of a part of the day: the whole day as before, every device
// pixel of a zoomed plot read as the cell drawn on it, and the axes' labels.
#include "ChartFrame.h"
#include "ChartReadout.h"
#include "ChartView.h"
#include "ColourTable.h"
#include "DirectionTimePlot.h"
#include "ImageSurface.h"
#include "RecordingSurface.h"

#include <QFontMetrics>
#include <QTest>

namespace {

// Neighbouring cells in different colours, so that a cell read one block
// off shows.
const ObservationGrid& Pattern() {
    static const ObservationGrid grid = [] {
        ObservationGrid g;
        for (int t = 0; t < ObservationGrid::Slots; ++t)
            for (int d = 0; d < ObservationGrid::Bins; ++d)
                g(t, d) = static_cast<std::int16_t>(1 + (t * 97 + d * 331) % 1000);
        return g;
    }();
    return grid;
}

QImage Chart(const ChartView* view, qreal ratio) {
    ImageSurface surface(ChartPictureSize, ratio);
    const ColourTable& colours = StandardColourTable();
    if (view) {
        DrawChartFrame(surface, colours, *view);
        PlotSignalGrid(surface, Pattern(), colours, *view);
    } else {
        DrawChartFrame(surface, colours);
        PlotSignalGrid(surface, Pattern(), colours);
    }
    return surface.image();
}

ChartView ViewOf(const QString& window, const QString& sector) {
    ChartView view;
    if (!window.isEmpty())
        view = *TimeRangeView(window.toStdString(), view);
    if (!sector.isEmpty())
        view = *SectorView(sector.toStdString(), view);
    return view;
}

} // namespace

class TestZoomedChart : public QObject {
    Q_OBJECT
  private slots:
    void wholeDayIsTheDaysChart_data();
    void wholeDayIsTheDaysChart();
    void everyDevicePixelReadsItsCell_data();
    void everyDevicePixelReadsItsCell();
    void axisLabels_data();
    void axisLabels();
};

void TestZoomedChart::wholeDayIsTheDaysChart_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("100 %") << 1.0;
    QTest::newRow("150 %") << 1.5;
    QTest::newRow("200 %") << 2.0;
}

void TestZoomedChart::wholeDayIsTheDaysChart() {
    QFETCH(qreal, ratio);
    const ChartView whole;
    QCOMPARE(Chart(&whole, ratio), Chart(nullptr, ratio));
}

void TestZoomedChart::everyDevicePixelReadsItsCell_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("sector");
    QTest::addColumn<qreal>("ratio");
    for (const qreal ratio : {1.0, 1.25, 1.5, 2.0}) {
        const QByteArray scale = QByteArray::number(qRound(ratio * 100)) + " %";
        QTest::newRow("6:00-9:00, 200-280, " + scale) << "6:00-9:00"
                                                      << "200-280" << ratio;
        QTest::newRow("least window, across 0, " + scale) << "23:00-23:58"
                                                          << "340-20" << ratio;
        QTest::newRow("sector only, " + scale) << ""
                                               << "100-130" << ratio;
    }
}

// For each device pixel of the plot, a pointer on it reads the cell whose
// colour the pixel has, and the cells read form the view's blocks: every
// cell of the view, none outside it.
void TestZoomedChart::everyDevicePixelReadsItsCell() {
    QFETCH(QString, window);
    QFETCH(QString, sector);
    QFETCH(qreal, ratio);
    const ChartView view = ViewOf(window, sector);
    const QImage image = Chart(&view, ratio);
    ImageSurface surface(ChartPictureSize, ratio);
    const ChartGeometry::DevicePlot plot = ChartGeometry::PlotInDevice(ratio);
    QSet<int> seen;
    for (int dy = plot.bottom - plot.height + 1; dy <= plot.bottom; ++dy) {
        for (int dx = plot.left; dx < plot.left + plot.width; ++dx) {
            const QPointF pointer((dx + 0.5) / ratio, (dy + 0.5) / ratio);
            const auto cell = ChartGeometry::CellAt(surface.readingPoint(pointer), view, ratio);
            QVERIFY(cell);
            QVERIFY2(view.holdsSlot(cell->slot) && view.binOffset(cell->bin),
                     qPrintable(QStringLiteral("%1, %2").arg(dx).arg(dy)));
            const QRgb drawn = StandardColourTable().CellArgb(Pattern()(cell->slot, cell->bin));
            if (image.pixel(dx, dy) != drawn)
                QFAIL(qPrintable(QStringLiteral("device pixel %1, %2 reads %3 at %4°")
                                     .arg(dx)
                                     .arg(dy)
                                     .arg(cell->slot)
                                     .arg(cell->bin * 2)));
            seen.insert(cell->slot * ObservationGrid::Bins + cell->bin);
        }
    }
    QCOMPARE(seen.size(), view.slotCount() * view.binCount());
}

void TestZoomedChart::axisLabels_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("sector");
    QTest::addColumn<QString>("timeLabels");
    QTest::addColumn<QString>("directionLabels");
    QTest::newRow("three hours, a sector")
        << "6:00-9:00"
        << "200-280"
        << "6:00 6:10 6:20 6:30 6:40 6:50 7:00 7:10 7:20 7:30 7:40 7:50 8:00 8:10 8:20 "
           "8:30 8:40 8:50 9:00"
        << "200 210 220 230 240 250 260 270 280";
    QTest::newRow("the day's last hour, across 0") << "23:00-23:58"
                                                   << "340-20"
                                                   << "23:00 23:10 23:20 23:30 23:40 23:50 24:00"
                                                   << "340 350 0 10 20";
    QTest::newRow("whole circle keeps its axis")
        << "0:00-11:58"
        << ""
        << "0:00 1:00 2:00 3:00 4:00 5:00 6:00 7:00 8:00 9:00 10:00 "
           "11:00 12:00"
        << "0 60 120 180 240 300 360";
    QTest::newRow("whole day keeps its axis")
        << ""
        << "90-269"
        << "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24"
        << "100 120 140 160 180 200 220 240 260";
}

// The labels the axes carry, and that the time labels keep clear of each
// other.
void TestZoomedChart::axisLabels() {
    QFETCH(QString, window);
    QFETCH(QString, sector);
    QFETCH(QString, timeLabels);
    QFETCH(QString, directionLabels);
    RecordingSurface surface;
    DrawChartFrame(surface, StandardColourTable(), ViewOf(window, sector));
    QStringList times, directions;
    const QFontMetrics metrics(ImageSurface::printFont());
    float previousEnd = -1000;
    for (const RecordingSurface::Op& op : surface.opsOfKind(QStringLiteral("text"))) {
        if (op.y1 == 240) {
            times << op.text.trimmed();
            QVERIFY2(op.x1 >= previousEnd + 4, qPrintable(op.text));
            previousEnd = op.x1 + static_cast<float>(metrics.horizontalAdvance(op.text));
        } else if (op.x1 == 3) {
            directions << op.text.trimmed();
        }
    }
    QCOMPARE(times.join(QLatin1Char(' ')), timeLabels);
    QCOMPARE(directions.join(QLatin1Char(' ')), directionLabels);
}

QTEST_MAIN(TestZoomedChart)
#include "tst_zoomedchart.moc"
