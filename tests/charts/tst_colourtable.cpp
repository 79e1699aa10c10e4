// SPDX-License-Identifier: MIT
// The colour settings' mapping, against colours worked out by hand from the
// rule and the published tables (index round(u x (N - 1)), halves up).
#include "ChartFrame.h"
#include "ColourTable.h"
#include "DirectionTimePlot.h"
#include "ImageSurface.h"
#include "ObservationGrid.h"
#include "RecordingSurface.h"
#include "SignalColour.h"

#include <QTest>

namespace {
constexpr QRgb Opaque(QRgb rgb) {
    return 0xff000000u | rgb;
}
} // namespace

class TestColourTable : public QObject {
    Q_OBJECT
  private slots:
    void cellColour_data();
    void cellColour();
    void defaultsAreTheStandardScale();
    void legend_data();
    void legend();
    void legendAndCellsAsDrawn();
    void autoRange_data();
    void autoRange();
};

void TestColourTable::cellColour_data() {
    QTest::addColumn<int>("v");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<Stretch>("stretch");
    QTest::addColumn<ColourMapId>("map");
    QTest::addColumn<QRgb>("rgb");
    const auto row = [](const char* name, int v, int minimum, int maximum, Stretch stretch,
                        ColourMapId map, QRgb rgb) {
        QTest::newRow(name) << v << minimum << maximum << stretch << map << rgb;
    };
    using enum Stretch;
    using enum ColourMapId;
    row("0 is black", 0, 0, 400, Linear, Viridis, 0x000000);
    row("0 below the range is black", 0, 10, 11, Linear, Cividis, 0x000000);
    row("below the range", -5, 0, 400, Linear, Viridis, 0x440154);
    row("1 of 0..400", 1, 0, 400, Linear, Viridis, 0x440256);
    row("half-way rounds up", 200, 0, 400, Linear, Viridis, 0x21918c);
    row("maximum", 400, 0, 400, Linear, Viridis, 0xfde725);
    row("above the range", 401, 0, 400, Linear, Viridis, 0xfde725);
    row("min = max - 1, at min", 10, 10, 11, Linear, Cividis, 0x00224e);
    row("min = max - 1, at max", 11, 10, 11, Linear, Cividis, 0xfee838);
    row("negative range, its minimum", -100, -100, 100, Linear, Turbo, 0x30123b);
    row("negative range, -1", -1, -100, 100, Linear, Turbo, 0x9ffd3f);
    row("standard 1 of 0..2", 1, 0, 2, Linear, Standard, 0x01ff00);
    row("sqrt: a quarter is half-way", 100, 0, 400, Sqrt, Viridis, 0x21918c);
    row("sqrt: a quarter on the standard scale", 100, 0, 400, Sqrt, Standard, 0x01ff00);
    row("sqrt: 1 of 0..400", 1, 0, 400, Sqrt, Viridis, 0x481467);
    row("log: 1 of 0..1000", 1, 0, 1000, Log, Viridis, 0x482576);
    row("log: 10 of 0..1000", 10, 0, 1000, Log, Turbo, 0x1fe9af);
    row("log: 999 of 0..1000", 999, 0, 1000, Log, Grey, 0xffffff);
    row("log: the whole 16 bits", -20000, -32768, 32767, Log, Cividis, 0xbfb06b);
    row("grey: darkest above black", 1, 0, 255, Linear, Grey, 0x292929);
    row("grey: middle", 128, 0, 255, Linear, Grey, 0x949494);
}

void TestColourTable::cellColour() {
    QFETCH(int, v);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(Stretch, stretch);
    QFETCH(ColourMapId, map);
    QFETCH(QRgb, rgb);
    const ColourTable table({minimum, maximum, stretch, map});
    QCOMPARE(table.CellArgb(static_cast<std::int16_t>(v)), Opaque(rgb));
}

void TestColourTable::defaultsAreTheStandardScale() {
    const ColourTable& table = StandardColourTable();
    QCOMPARE(table.settings(), ColourSettings{});
    for (int v = ColourSettings::LowestValue; v <= ColourSettings::HighestValue; ++v)
        if (table.CellArgb(static_cast<std::int16_t>(v)) != CellColour(v).argb())
            QFAIL(qPrintable(QString::number(v)));
    for (int r = 0; r < ColourTable::LegendRows; ++r) {
        QCOMPARE(table.LegendArgb(r), SignalColour(8 * r).argb());
        QCOMPARE(table.LegendValue(r), 8 * r);
    }
    QCOMPARE(table.LegendLabels(), (std::array<int, 5>{0, 256, 512, 768, 1024}));
}

void TestColourTable::legend_data() {
    QTest::addColumn<ColourSettings>("settings");
    QTest::addColumn<QList<int>>("labels");
    // Value and colour of the lines 0, 1, 64 and 127.
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<QList<QRgb>>("colours");
    using enum Stretch;
    using enum ColourMapId;
    QTest::newRow("viridis 0..400")
        << ColourSettings{0, 400, Linear, Viridis} << QList<int>{0, 100, 201, 301, 401}
        << QList<int>{0, 3, 201, 398} << QList<QRgb>{0x440154, 0x450457, 0x21918c, 0xfbe723};
    QTest::newRow("negative") << ColourSettings{-1000, -1, Linear, Standard}
                              << QList<int>{-1000, -750, -500, -250, 0}
                              << QList<int>{-1000, -992, -500, -8}
                              << QList<QRgb>{0x0000ff, 0x0008ff, 0x01ff00, 0xff0700};
    QTest::newRow("min = max - 1")
        << ColourSettings{10, 11, Linear, Turbo} << QList<int>{10, 11, 11, 12, 12}
        << QList<int>{10, 10, 11, 12} << QList<QRgb>{0x30123b, 0x351e58, 0x7a0403, 0x7a0403};
    QTest::newRow("sqrt") << ColourSettings{0, 1023, Sqrt, Standard}
                          << QList<int>{0, 256, 512, 768, 1024} << QList<int>{0, 8, 512, 1016}
                          << QList<QRgb>{0x0000ff, 0x005aff, 0xd5ff00, 0xff0400};
}

void TestColourTable::legend() {
    QFETCH(ColourSettings, settings);
    QFETCH(QList<int>, labels);
    QFETCH(QList<int>, values);
    QFETCH(QList<QRgb>, colours);
    const ColourTable table(settings);
    QCOMPARE(QList<int>(table.LegendLabels().begin(), table.LegendLabels().end()), labels);
    const int lines[] = {0, 1, 64, 127};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(table.LegendValue(lines[i]), values[i]);
        QCOMPARE(table.LegendArgb(lines[i]), Opaque(colours[i]));
    }
}

// The frame and the plot draw with the table they are given.
void TestColourTable::legendAndCellsAsDrawn() {
    const ColourTable table({0, 400, Stretch::Linear, ColourMapId::Viridis});
    RecordingSurface frame;
    DrawChartFrame(frame, table);
    QStringList labels;
    for (const auto& op : frame.opsOfKind("text"))
        if (op.x1 == 750)
            labels.append(op.text);
    QCOMPARE(labels, QStringList({" 0 ", " 100 ", " 201 ", " 301 ", " 401 "}));

    ObservationGrid grid;
    grid(0, 0) = 200;
    grid(719, 179) = 401;
    ImageSurface chart(ChartPictureSize);
    DrawChartFrame(chart, table);
    PlotSignalGrid(chart, grid, table);
    QCOMPARE(chart.pixel(30, 230), Opaque(0x21918c));
    QCOMPARE(chart.pixel(749, 51), Opaque(0xfde725));
    QCOMPARE(chart.pixel(31, 230), Opaque(0x000000));
    QCOMPARE(chart.pixel(790, 230), Opaque(0x440154));
    QCOMPARE(chart.pixel(790, 103), Opaque(0xfbe723));
}

void TestColourTable::autoRange_data() {
    QTest::addColumn<QList<int>>("values"); // laid into the first cells
    QTest::addColumn<std::optional<ColourRange>>("range");
    const auto run = [](int from, int to) {
        QList<int> values;
        for (int v = from; v <= to; ++v)
            values.append(v);
        return values;
    };
    QTest::newRow("no signal") << QList<int>{} << std::optional<ColourRange>();
    QTest::newRow("one cell") << QList<int>{5} << std::optional<ColourRange>({5, 6});
    QTest::newRow("16-bit maximum")
        << QList<int>{32767, 32767} << std::optional<ColourRange>({32766, 32767});
    QTest::newRow("1..100") << run(1, 100) << std::optional<ColourRange>({1, 99});
    QTest::newRow("1..101") << run(1, 101) << std::optional<ColourRange>({2, 100});
    QList<int> mixed(99, 7);
    mixed.append(-3);
    QTest::newRow("negative") << mixed << std::optional<ColourRange>({-3, 7});
}

void TestColourTable::autoRange() {
    QFETCH(QList<int>, values);
    QFETCH(std::optional<ColourRange>, range);
    ObservationGrid grid;
    // Zeros between them do not count.
    for (qsizetype i = 0; i < values.size(); ++i)
        grid.cells[static_cast<std::size_t>(2 * i + 1)] = static_cast<std::int16_t>(values[i]);
    QCOMPARE(AutoColourRange(grid), range);
}

QTEST_MAIN(TestColourTable)
#include "tst_colourtable.moc"
