// SPDX-License-Identifier: MIT
// The overview's plain parts: which logs fill which days, the calendar's
// weeks, and the reduction of a day to its thumbnail and stack rows, checked
// against a computation of its own and as drawn.
#include "ArchiveListing.h"
#include "CalendarLayout.h"
#include "DayStacks.h"
#include "DaySummary.h"
#include "DayThumbnail.h"
#include "ImageSurface.h"
#include "SignalColour.h"

#include <QTest>

#include <algorithm>
#include <limits>

using namespace std::chrono;

namespace {

Day D(int yymmdd) {
    return *LogDate(QStringLiteral("%1.log").arg(yymmdd, 6, 10, QLatin1Char('0')).toStdString());
}

// Every day from `from` to `to`.
std::vector<Day> Days(int from, int to) {
    std::vector<Day> days;
    for (Day d = D(from); d <= D(to); d += std::chrono::days(1))
        days.push_back(d);
    return days;
}

} // namespace

class TestOverview : public QObject {
    Q_OBJECT
  private slots:
    void listing_data();
    void listing();
    void monthStartingOnSunday();
    void yearWithGap();
    void reduction_data();
    void reduction();
    void missingDaysAreHatched();
};

void TestOverview::listing_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("kept"); // by date
    QTest::addColumn<QStringList>("leftOut");
    QTest::newRow("no dates") << QStringList{"260230.log", "261332.log", "260001.log", "990229.log"}
                              << QStringList{}
                              << QStringList{"260001.log", "260230.log", "261332.log", "990229.log"};
    QTest::newRow("leap days") << QStringList{"000229.log", "280229.log"}
                               << QStringList{"000229.log", "280229.log"} << QStringList{};
    QTest::newRow("plain name fills the day")
        << QStringList{"a-261208.log", "261208.log", "261208.LOG"} << QStringList{"261208.log"}
        << QStringList{"261208.LOG", "a-261208.log"};
    QTest::newRow("else the first in byte order")
        << QStringList{"x-261210.log", "b-261210.log", "B-261210.log"}
        << QStringList{"B-261210.log"} << QStringList{"b-261210.log", "x-261210.log"};
    QTest::newRow("by date, not by name")
        << QStringList{"z-260101.log", "a-261231.log", "270101.log"}
        << QStringList{"z-260101.log", "a-261231.log", "270101.log"} << QStringList{};
}

void TestOverview::listing() {
    QFETCH(QStringList, names);
    QFETCH(QStringList, kept);
    QFETCH(QStringList, leftOut);
    std::vector<ArchiveLog> candidates;
    for (const QString& name : names)
        candidates.push_back({{}, "/logs/" + name.toStdString(), 0, {}});
    const ArchiveListing listing = SortArchive(candidates);
    QStringList gotKept, gotLeftOut;
    for (const ArchiveLog& log : listing.logs) {
        gotKept.append(QString::fromStdString(log.path.filename()));
        QCOMPARE(log.date, LogDate(log.path.filename().native()));
        QCOMPARE(log.path.parent_path(), std::filesystem::path("/logs"));
    }
    for (const auto& name : listing.leftOut)
        gotLeftOut.append(QString::fromStdString(name));
    QCOMPARE(gotKept, kept);
    QCOMPARE(gotLeftOut, leftOut);
}

void TestOverview::monthStartingOnSunday() {
    // February 2026 begins on a Sunday: its first day ends the first week.
    const CalendarLayout calendar(Days(260201, 260228));
    QCOMPARE(calendar.rows().size(), std::size_t(5));
    QCOMPARE(calendar.rows()[0].monday, D(260126));
    QCOMPARE(calendar.placeOf(D(260201)), (CalendarPlace{0, 6}));
    QCOMPARE(calendar.placeOf(D(260202)), (CalendarPlace{1, 0}));
    QCOMPARE(calendar.rows()[0].month, std::optional(2026y / February));
    QCOMPARE(calendar.rows()[1].month, std::nullopt);
    // The days of January in the first week are outside the calendar.
    QCOMPARE(calendar.placeOf(D(260131)), std::nullopt);
    QCOMPARE(calendar.dayAt({0, 5}), std::nullopt);
    QCOMPARE(calendar.dayAt({4, 6}), std::nullopt); // March 1 is past the last log
    QCOMPARE(calendar.dayAt({4, 5}), std::optional(D(260228)));
}

void TestOverview::yearWithGap() {
    // Logs in the first quarter and the second half; a fortnight missing in
    // August stays as two weeks of empty frames.
    std::vector<Day> logs = Days(260101, 260331);
    for (Day d : Days(260701, 261231))
        if (d < D(260803) || d > D(260816))
            logs.push_back(d);
    const CalendarLayout calendar(logs);

    const auto fold = std::find_if(calendar.rows().begin(), calendar.rows().end(),
                                   [](const CalendarRow& row) { return row.folded; });
    QVERIFY(fold != calendar.rows().end());
    QCOMPARE(fold->monday, D(260406)); // the week of March 31 still has a log
    QCOMPARE(fold->weeks, 12);         // up to the week of July 1
    QCOMPARE(std::next(fold)->monday, D(260629));
    QCOMPARE(std::next(fold)->month, std::optional(2026y / July));
    QCOMPARE(std::count_if(calendar.rows().begin(), calendar.rows().end(),
                           [](const CalendarRow& row) { return row.folded; }),
             1);
    QCOMPARE(calendar.placeOf(D(260501)), std::nullopt);
    QCOMPARE(calendar.dayAt({int(fold - calendar.rows().begin()), 3}), std::nullopt);
    QVERIFY(calendar.placeOf(D(260810))); // a short gap is not folded
    // Every row stands for its weeks, so the days are where their weeks are.
    int weeksSoFar = 0;
    for (const CalendarRow& row : calendar.rows()) {
        QCOMPARE(row.monday, D(251229) + weeks(weeksSoFar));
        weeksSoFar += row.weeks;
    }
    QCOMPARE(calendar.rows().back().monday, D(261228));
    for (const Day d : {D(260101), D(260331), D(260701), D(261231)})
        QCOMPARE(calendar.dayAt(*calendar.placeOf(d)), std::optional(d));
    QVERIFY(calendar.rows()[0].month == std::optional(2026y / January));
}

void TestOverview::reduction_data() {
    QTest::addColumn<int>("seed");
    QTest::addColumn<int>("low");  // noise from low ...
    QTest::addColumn<int>("high"); // ... to high
    QTest::newRow("peaks at block edges") << 1 << 0 << 1023;
    QTest::newRow("all below zero") << 2 << -900 << -1;
    QTest::newRow("16-bit extremes") << 3 << -32768 << 32767;
}

void TestOverview::reduction() {
    QFETCH(int, seed);
    QFETCH(int, low);
    QFETCH(int, high);
    ObservationGrid grid;
    std::uint32_t h = std::uint32_t(seed) * 2654435761u;
    for (std::int16_t& v : grid.cells) {
        h = h * 1664525u + 1013904223u;
        v = std::int16_t(low + int((h >> 8) % std::uint32_t(high - low + 1)) / 4);
    }
    // Maxima on each block's edges: its first and last slot and bin.
    for (int t = 0; t < ObservationGrid::Slots; t += 4)
        for (int d = 0; d < ObservationGrid::Bins; d += 4)
            grid(t + (t / 4 % 2) * 3, d + (d / 4 % 3 == 1) * 3) = std::int16_t(high - (t + d) % 7);
    grid(719, 179) = std::int16_t(high);

    const DaySummary summary = SummariseDay(grid);
    // Computed here block by block, row by row and column by column.
    ImageSurface thumbnail(ThumbnailSize);
    DrawDayThumbnail(thumbnail, summary, OverviewColours{});
    for (int x = 0; x < DaySummary::ThumbnailWidth; ++x)
        for (int y = 0; y < DaySummary::ThumbnailHeight; ++y) {
            int m = std::numeric_limits<int>::min();
            for (int t = 4 * x; t < 4 * x + 4; ++t)
                for (int d = 4 * y; d < 4 * y + 4; ++d)
                    m = std::max<int>(m, grid(t, d));
            QCOMPARE(summary.thumbnail(x, y), m);
            QCOMPARE(thumbnail.pixel(x, 44 - y), CellArgb(m)); // direction up
        }
    int peak = std::numeric_limits<int>::min(), peakSlot = -1, peakBin = -1;
    for (int t = 0; t < ObservationGrid::Slots; ++t) {
        int m = std::numeric_limits<int>::min();
        for (int d = 0; d < ObservationGrid::Bins; ++d) {
            m = std::max<int>(m, grid(t, d));
            if (grid(t, d) > peak)
                peak = grid(t, d), peakSlot = t, peakBin = d;
        }
        QCOMPARE(summary.rows.slotMaxima[std::size_t(t)], m);
    }
    for (int d = 0; d < ObservationGrid::Bins; ++d) {
        int m = std::numeric_limits<int>::min();
        for (int t = 0; t < ObservationGrid::Slots; ++t)
            m = std::max<int>(m, grid(t, d));
        QCOMPARE(summary.rows.binMaxima[std::size_t(d)], m);
    }
    QCOMPARE(summary.peak, peak);
    QCOMPARE(summary.peakSlot, peakSlot);
    QCOMPARE(summary.peakBin, peakBin);
}

void TestOverview::missingDaysAreHatched() {
    // Three days, the middle one without a log, in a stack of each kind.
    DaySummary day;
    day.rows.slotMaxima.fill(300);
    day.rows.binMaxima.fill(0);
    for (const DayStack stack : {DayStack::Time, DayStack::Direction}) {
        ImageSurface picture(StackGeometry::PictureSize(stack, 3));
        DrawDayStack(
            picture, stack, D(261206), 3,
            [&](int i) { return std::optional(i == 1 ? nullptr : &day.rows); },
            OverviewColours{});
        const QRgb data = stack == DayStack::Time ? CellArgb(300) : CellArgb(0);
        QSet<QRgb> missing;
        for (int i = 0; i < 3; ++i) {
            const QRect band = StackGeometry::BandRect(stack, i, 3);
            for (int y = band.top(); y <= band.bottom(); ++y)
                for (int x = band.left(); x <= band.right(); ++x) {
                    if (i != 1)
                        QCOMPARE(picture.pixel(x, y), data);
                    else
                        missing.insert(picture.pixel(x, y));
                }
            // A click in the band's last row and last column finds the day.
            QCOMPARE(StackGeometry::PointAt(stack, 3, band.bottomRight() + QPointF(0.5, 0.5)),
                     (StackGeometry::StackPoint{i, band.width() - 1}));
        }
        // Stripes of two light greys, neither of them a colour of the scale.
        QCOMPARE(missing.size(), 2);
        for (const QRgb grey : missing) {
            QCOMPARE(qRed(grey), qBlue(grey));
            QVERIFY(qRed(grey) > 180);
            for (int v = 0; v < 1024; ++v)
                QVERIFY(grey != CellArgb(v));
        }
    }
}

QTEST_MAIN(TestOverview)
#include "tst_overview.moc"
