// SPDX-License-Identifier: MIT
// The values as text, and the events of a day.
#include "Events.h"
#include "ReferenceEvents.h"
#include "ValueTables.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>

#include <algorithm>
#include <random>
#include <tuple>
#include <vector>

namespace {

// A grid from "t:d=v" cells, e.g. "100:179=600 101:0=700"; "noise:N" fills
// every cell with pseudo-random values around N instead.
ObservationGrid GridOf(const QString& cells) {
    ObservationGrid grid;
    if (cells.startsWith("noise:")) {
        QRandomGenerator random(7);
        const int level = cells.mid(6).toInt();
        for (std::int16_t& v : grid.cells)
            v = std::int16_t(random.bounded(level * 2) - 20);
        return grid;
    }
    for (const QString& cell : cells.split(' ', Qt::SkipEmptyParts)) {
        const QStringList parts = cell.split(QRegularExpression("[:=]"));
        grid(parts[0].toInt(), parts[1].toInt()) = std::int16_t(parts[2].toInt());
    }
    return grid;
}

// The events as a plain flood fill finds them, one cell at a time.
std::vector<SignalEvent> FloodFill(const ObservationGrid& grid, int threshold) {
    std::vector<bool> seen(ObservationGrid::CellCount);
    std::vector<SignalEvent> events;
    for (int t0 = 0; t0 < ObservationGrid::Slots; ++t0)
        for (int d0 = 0; d0 < ObservationGrid::Bins; ++d0) {
            if (grid(t0, d0) < threshold || seen[t0 * 180 + d0])
                continue;
            SignalEvent event{t0, t0 + 1, t0, d0, grid(t0, d0), 0};
            std::vector<std::pair<int, int>> todo{{t0, d0}};
            seen[t0 * 180 + d0] = true;
            while (!todo.empty()) {
                const auto [t, d] = todo.back();
                todo.pop_back();
                ++event.cells;
                event.firstSlot = std::min(event.firstSlot, t);
                event.endSlot = std::max(event.endSlot, t + 1);
                if (std::tuple(-grid(t, d), t, d) <
                    std::tuple(-event.peakValue, event.peakSlot, event.peakBin))
                    event = {event.firstSlot, event.endSlot, t, d, grid(t, d), event.cells};
                for (int dt = -1; dt <= 1; ++dt)
                    for (int dd = -1; dd <= 1; ++dd) {
                        const int nt = t + dt;
                        const int nd = (d + dd + 180) % 180;
                        if (nt < 0 || nt >= 720 || grid(nt, nd) < threshold || seen[nt * 180 + nd])
                            continue;
                        seen[nt * 180 + nd] = true;
                        todo.push_back({nt, nd});
                    }
            }
            events.push_back(event);
        }
    std::sort(events.begin(), events.end(), [](const SignalEvent& a, const SignalEvent& b) {
        return std::tie(a.firstSlot, a.peakBin) < std::tie(b.firstSlot, b.peakBin);
    });
    return events;
}

// A random day: cells over `threshold` scattered, in blobs that wrap across
// 358/0 degrees and run into both ends of the day, or only at those edges;
// values over it close together (so that peaks tie) or far apart, and
// anything below it down to -32768.
ObservationGrid RandomDay(std::mt19937& random, const QString& kind, int threshold) {
    const auto uniform = [&](int low, int high) {
        return low + int(random() % unsigned(high - low + 1));
    };
    const int spread = std::array{0, 3, 2000}[std::size_t(uniform(0, 2))];
    const auto over = [&] { return std::int16_t(std::min(32767, threshold + uniform(0, spread))); };
    const auto under = [&] { return std::int16_t(uniform(-32768, threshold - 1)); };
    const auto density = unsigned(uniform(5, 70));
    const auto hit = [&] { return random() % 100 < density; };
    ObservationGrid grid;
    for (std::int16_t& v : grid.cells)
        v = random() % 4 == 0 ? under() : std::int16_t(std::min(0, threshold - 1));
    if (kind == "scattered") {
        for (std::int16_t& v : grid.cells)
            v = hit() ? over() : v;
    } else if (kind == "blobs") {
        for (int blobs = uniform(5, 60); blobs > 0; --blobs) {
            const int t0 = uniform(-10, 729), d0 = uniform(0, 179);
            const int height = uniform(0, 30), width = uniform(0, 40);
            for (int t = std::max(0, t0 - height); t <= std::min(719, t0 + height); ++t)
                for (int d = d0 - width; d <= d0 + width; ++d)
                    if (density > 50 || hit())
                        grid(t, (d + 180) % 180) = over();
        }
    } else { // edges: the first and last slots, and the bins either side of 0 degrees
        for (int t = 0; t < 720; ++t)
            for (int d = 0; d < 180; ++d)
                if ((t < 3 || t > 716 || d < 3 || d > 176) && hit())
                    grid(t, d) = over();
    }
    return grid;
}

// The lines of a table, and each line's fields.
QList<QStringList> Rows(const std::string& text, char separator = ',') {
    QList<QStringList> rows;
    for (const QString& line : QString::fromStdString(text).split('\n', Qt::SkipEmptyParts))
        rows.append(line.split(QLatin1Char(separator)));
    return rows;
}

} // namespace

class TestValues : public QObject {
    Q_OBJECT
  private slots:
    void events_data();
    void events();
    void eventSectors_data();
    void eventSectors();
    void eventsAsBefore_data();
    void eventsAsBefore();
    void tablesReadBack_data();
    void tablesReadBack();
    void csvFields_data();
    void csvFields();
};

void TestValues::events_data() {
    QTest::addColumn<QString>("cells");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<int>("count"); // -1: as many as the flood fill finds
    QTest::addColumn<QString>(
        "first"); // the first event's "start-end peak@slot:bin"; empty: unchecked

    QTest::newRow("none") << "" << 512 << 0 << "";
    QTest::newRow("below the threshold") << "5:5=511 5:6=-600" << 512 << 0 << "";
    QTest::newRow("wrap at 358/0 in a slot, tie to the lowest bin")
        << "100:179=600 100:0=600" << 512 << 1 << "100-101 600@100:0";
    QTest::newRow("wrap at a corner") << "100:179=600 101:0=700" << 512 << 1 << "100-102 700@101:0";
    QTest::newRow("wrap at the other corner, tie to the earliest slot")
        << "100:0=600 101:179=600" << 512 << 1 << "100-102 600@100:0";
    QTest::newRow("no wrap at midnight") << "719:50=600 0:50=600" << 512 << 2 << "0-1 600@0:50";
    QTest::newRow("until midnight") << "718:50=600 719:51=600" << 512 << 1 << "718-720 600@718:50";
    QTest::newRow("diagonal") << "10:10=600 11:11=600 12:12=900" << 512 << 1 << "10-13 900@12:12";
    QTest::newRow("a knight's move apart")
        << "10:10=600 12:11=600" << 512 << 2 << "10-11 600@10:10";
    QTest::newRow("two bins apart") << "10:10=600 10:12=600" << 512 << 2 << "10-11 600@10:10";
    QTest::newRow("tie: earliest slot before lowest bin")
        << "10:6=600 10:7=600 10:8=900 11:5=900" << 512 << 1 << "10-12 900@10:8";
    // Two arms that meet only at the bottom: the right arm's peak must
    // survive the joining.
    QTest::newRow("arms joined late")
        << "10:10=600 11:10=600 12:10=600 10:14=900 11:14=600 12:14=600 13:11=600 13:12=600 "
           "13:13=600"
        << 512 << 1 << "10-14 900@10:14";
    QTest::newRow("16-bit extremes") << "3:3=32767 3:4=-32768" << 32767 << 1 << "3-4 32767@3:3";
    QTest::newRow("noise at 1") << "noise:600" << 1 << -1 << "";
    QTest::newRow("noise at 200") << "noise:300" << 200 << -1 << "";
    QTest::newRow("noise at 512") << "noise:600" << 512 << -1 << "";
}

void TestValues::events() {
    QFETCH(QString, cells);
    QFETCH(int, threshold);
    QFETCH(int, count);
    QFETCH(QString, first);
    const ObservationGrid grid = GridOf(cells);
    const std::vector<SignalEvent> found = FindEvents(grid, threshold);
    QVERIFY(found == FloodFill(grid, threshold));
    QVERIFY(found == reference_events::ReferenceFindEvents(grid, threshold));
    if (count >= 0)
        QCOMPARE(int(found.size()), count);
    if (!first.isEmpty()) {
        const SignalEvent& e = found.front();
        QCOMPARE(QString::asprintf("%d-%d %d@%d:%d", e.firstSlot, e.endSlot, e.peakValue,
                                   e.peakSlot, e.peakBin),
                 first);
    }
}

void TestValues::eventSectors_data() {
    QTest::addColumn<QString>("cells");
    QTest::addColumn<QString>("sector"); // the first event's bins, "first-last"
    // Slot 5 over the threshold in bins from `first` up to `last`, through 0.
    const auto band = [](int first, int last) {
        QStringList cells;
        for (int i = 0; i <= (last - first + 180) % 180; ++i)
            cells << QStringLiteral("5:%1=600").arg((first + i) % 180);
        return cells.join(' ');
    };
    QTest::newRow("one cell") << "10:10=600"
                              << "10-10";
    QTest::newRow("not the next event's bins") << "10:10=600 10:40=900"
                                               << "10-10";
    QTest::newRow("a diagonal") << "10:10=600 11:11=600 12:12=900"
                                << "10-12";
    QTest::newRow("across 358/0 at a corner") << "100:179=600 101:0=700"
                                              << "179-0";
    QTest::newRow("a band across 0") << band(150, 30) << "150-30";
    QTest::newRow("the gap left out is the longest") << band(100, 89) << "100-89";
    QTest::newRow("all round") << band(0, 179) << "0-179";
}

void TestValues::eventSectors() {
    QFETCH(QString, cells);
    QFETCH(QString, sector);
    const ObservationGrid grid = GridOf(cells);
    const std::vector<SignalEvent> found = FindEvents(grid, 512);
    QVERIFY(!found.empty());
    const DirectionSector got = EventSector(grid, 512, found.front());
    QCOMPARE(QStringLiteral("%1-%2").arg(got.first).arg(got.last), sector);
}

// The events of many random days, against the earlier labelling's.
void TestValues::eventsAsBefore_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("threshold");
    for (const QString kind : {"scattered", "blobs", "edges"})
        for (const int threshold : {1, 200, 800, 32767})
            QTest::newRow(qPrintable(kind + " at " + QString::number(threshold)))
                << kind << threshold;
}

void TestValues::eventsAsBefore() {
    QFETCH(QString, kind);
    QFETCH(int, threshold);
    for (int day = 0; day < 200; ++day) {
        std::mt19937 random(std::uint32_t(day * 7919 + threshold));
        const ObservationGrid grid = RandomDay(random, kind, threshold);
        const std::vector<SignalEvent> found = FindEvents(grid, threshold);
        if (found != reference_events::ReferenceFindEvents(grid, threshold))
            QFAIL(qPrintable(QStringLiteral("day %1: %2 events").arg(day).arg(found.size())));
    }
}

void TestValues::tablesReadBack_data() {
    QTest::addColumn<long>("covered");
    QTest::newRow("whole day") << long(ObservationGrid::CellCount);
    QTest::newRow("short log") << 300L * 180 + 7;
    QTest::newRow("empty file") << 0L;
}

void TestValues::tablesReadBack() {
    QFETCH(long, covered);
    ObservationGrid grid = GridOf("noise:1000");
    grid(0, 0) = -32768;
    grid(0, 1) = -1;
    grid(299, 179) = 32767;
    grid(300, 6) = 1024;

    const std::string day = DayTable(grid, covered);
    QVERIFY(day.back() == '\n');
    QVERIFY(day.find('\r') == std::string::npos);
    const QList<QStringList> rows = Rows(day);
    QCOMPARE(rows.size(), 1 + ObservationGrid::Slots);
    QCOMPARE(rows[0].size(), 1 + ObservationGrid::Bins);
    QCOMPARE(rows[0].first(), "time");
    QCOMPARE(rows[0][2], "2");
    QCOMPARE(rows[0].last(), "358");
    QCOMPARE(rows[1].first(), "00:00");
    QCOMPARE(rows[720].first(), "23:58");
    for (int t = 0; t < ObservationGrid::Slots; ++t) {
        QCOMPARE(rows[t + 1].size(), 1 + ObservationGrid::Bins);
        for (int d = 0; d < ObservationGrid::Bins; ++d) {
            const QString expected = t * 180 + d < covered ? QString::number(grid(t, d)) : "";
            if (rows[t + 1][d + 1] != expected)
                QFAIL(qPrintable(
                    QStringLiteral("cell %1,%2: %3").arg(t).arg(d).arg(rows[t + 1][d + 1])));
        }
    }

    // A slot is the day's line, a direction the day's column.
    const QList<QStringList> slot = Rows(SlotTable(grid, 300, covered));
    QCOMPARE(slot.size(), 1 + ObservationGrid::Bins);
    QCOMPARE(slot[0], QStringList({"direction", "value"}));
    const QList<QStringList> direction = Rows(DirectionTable(grid, 179, covered));
    QCOMPARE(direction.size(), 1 + ObservationGrid::Slots);
    QCOMPARE(direction[0], QStringList({"time", "value"}));
    for (int d = 0; d < ObservationGrid::Bins; ++d)
        QCOMPARE(slot[d + 1], QStringList({rows[0][d + 1], rows[301][d + 1]}));
    for (int t = 0; t < ObservationGrid::Slots; ++t)
        QCOMPARE(direction[t + 1], QStringList({rows[t + 1][0], rows[t + 1][180]}));

    // The clipboard's form: the same table, tab-separated.
    QCOMPARE(Rows(DayTable(grid, covered, Separator::Tab), '\t'), rows);
}

void TestValues::csvFields_data() {
    QTest::addColumn<QString>("log");
    QTest::addColumn<QString>("field");
    QTest::newRow("plain") << "/logs/261208.log"
                           << "/logs/261208.log";
    QTest::newRow("space and non-ASCII") << "/観測 ログ/261208.log"
                                         << "/観測 ログ/261208.log";
    QTest::newRow("comma") << "/a,b/261208.log"
                           << "\"/a,b/261208.log\"";
    QTest::newRow("quote") << "/a\"b/261208.log"
                           << "\"/a\"\"b/261208.log\"";
    QTest::newRow("line break") << "/a\nb/261208.log"
                                << "\"/a\nb/261208.log\"";
    QTest::newRow("carriage return") << "/a\rb/261208.log"
                                     << "\"/a\rb/261208.log\"";
}

void TestValues::csvFields() {
    QFETCH(QString, log);
    QFETCH(QString, field);
    const SignalEvent event{318, 720, 319, 120, 415, 37};
    QCOMPARE(QString::fromStdString(EventListLines(log.toStdString(), {event})),
             field + ",10:36,24:00,10:38,240,415,37\n");
}

QTEST_GUILESS_MAIN(TestValues)
#include "tst_values.moc"
