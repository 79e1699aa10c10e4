// SPDX-License-Identifier: MIT
#include "Form1.h"
#include "HScrollBar.h"
#include "ImageSurface.h"
#include "PictureBox.h"
#include "PolarPlot.h"
#include "RecordingSurface.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

namespace {
constexpr QRgb Grey = 0xff7f7f7f;
constexpr QRgb Red = 0xffff0000;
constexpr QRgb White = 0xffffffff;
const float RadPerDeg = static_cast<float>(4 * std::atan(1.0) / 180);

ObservationGrid Uniform(int t, std::int16_t value) {
    ObservationGrid grid;
    for (int d = 0; d < ObservationGrid::Bins; ++d)
        grid(t, d) = value;
    return grid;
}

// The 180 red segments' end points, bin 1 first and the closing one last.
QList<QPointF> Vertices(const RecordingSurface& r) {
    QList<QPointF> out;
    for (const auto& op : r.opsOfKind("line"))
        if (op.colour == Red)
            out.append(QPointF(op.x2, op.y2));
    return out;
}

QList<RecordingSurface::Op> GridOps(const RecordingSurface& r) {
    QList<RecordingSurface::Op> out;
    for (const auto& op : r.ops)
        if (op.colour == Grey)
            out.append(op);
    return out;
}

int CountColour(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

QImage PolarImage(const ObservationGrid& grid, int t, float gain) {
    ImageSurface s(QSize(261, 261));
    DrawPolarPlot(s, grid, t, RadPerDeg, gain);
    return s.image();
}
} // namespace

class TestPolarPlot : public QObject {
    Q_OBJECT
  private slots:
    void ringsAndCrossHair();
    void zeroSlotCollapsesToTheCentre();
    void fullScaleLiesOnTheOuterRing();
    void doubledGainOrHalvedValues_data();
    void doubledGainOrHalvedValues();
    void curveOutsideIsNotDrawn();
    void negativeValueIsDrawnOpposite();
    void gridIsTheSameAtEveryGain();
    void curveTurnsByTheFactor_data();
    void curveTurnsByTheFactor();
    void readout_data();
    void readout();

    void sliderChangesRedrawFromScratch();
    void gainSliderSetsGainAndText();
    void otherSlidersChangeNothingAndLoadsRedraw();
};

void TestPolarPlot::ringsAndCrossHair() {
    RecordingSurface r;
    DrawPolarPlot(r, ObservationGrid{}, 0, RadPerDeg, 1);
    const auto grid = GridOps(r);
    QCOMPARE(grid.size(), 6);
    const float radii[] = {125, 93, 62, 31};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(grid[i].kind, "circle");
        QCOMPARE(QPointF(grid[i].x1, grid[i].y1), QPointF(132, 132));
        QCOMPARE(grid[i].x2, radii[i]);
    }
    QCOMPARE(grid[4].kind, "line");
    QCOMPARE(QLineF(grid[4].x1, grid[4].y1, grid[4].x2, grid[4].y2), QLineF(7, 132, 257, 132));
    QCOMPARE(QLineF(grid[5].x1, grid[5].y1, grid[5].x2, grid[5].y2), QLineF(132, 7, 132, 257));

    // On the image: the rings cross the horizontal axis at their radii.
    const QImage image = PolarImage(ObservationGrid{}, 0, 1);
    for (int radius : {125, 93, 62, 31}) {
        QCOMPARE(image.pixel(132 - radius, 132), Grey);
        QCOMPARE(image.pixel(132, 132 + radius), Grey);
    }
    QCOMPARE(image.pixel(7, 132), Grey);
    QCOMPARE(image.pixel(257, 132), Grey);
    QCOMPARE(image.pixel(132, 7), Grey);
    QCOMPARE(image.pixel(132, 257), Grey);
    QCOMPARE(image.pixel(6, 132), White);
    QCOMPARE(image.pixel(258, 132), White);
}

void TestPolarPlot::zeroSlotCollapsesToTheCentre() {
    RecordingSurface r;
    DrawPolarPlot(r, ObservationGrid{}, 0, RadPerDeg, 1);
    const auto segments = r.opsOfKind("line").mid(2);
    QCOMPARE(segments.size(), 180);
    for (const auto& op : segments) {
        QCOMPARE(op.colour, Red);
        QCOMPARE(QLineF(op.x1, op.y1, op.x2, op.y2), QLineF(132, 132, 132, 132));
    }
    const QImage image = PolarImage(ObservationGrid{}, 0, 1);
    QCOMPARE(CountColour(image, Red), 1);
    QCOMPARE(image.pixel(132, 132), Red);
}

void TestPolarPlot::fullScaleLiesOnTheOuterRing() {
    RecordingSurface r;
    DrawPolarPlot(r, Uniform(5, 1024), 5, RadPerDeg, 1);
    const QList<QPointF> v = Vertices(r);
    QCOMPARE(v.size(), 180);
    // The start vertex (bin 0) is where the closing segment ends.
    QCOMPARE(v.last(), QPointF(132, 7));
    QCOMPARE(r.opsOfKind("line")[2].x1, 132.f);
    QCOMPARE(r.opsOfKind("line")[2].y1, 7.f);
    QCOMPARE(v[45 - 1], QPointF(257, 132));
    QCOMPARE(v[135 - 1], QPointF(7, 132));
    // The single-precision angle puts bin 90 just left of the centre line.
    QCOMPARE(double(v[90 - 1].x()), 131.99998474121094);
    QCOMPARE(double(v[90 - 1].y()), 257.0);
    for (const QPointF& p : v)
        QVERIFY(std::abs(std::hypot(p.x() - 132, p.y() - 132) - 125) < 1e-3);
}

void TestPolarPlot::doubledGainOrHalvedValues_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<float>("gain");
    QTest::newRow("512 at gain 2") << 512 << 2.f;
    QTest::newRow("256 at gain 4") << 256 << 4.f;
}

void TestPolarPlot::doubledGainOrHalvedValues() {
    QFETCH(int, value);
    QFETCH(float, gain);
    RecordingSurface full, scaled;
    DrawPolarPlot(full, Uniform(0, 1024), 0, RadPerDeg, 1);
    DrawPolarPlot(scaled, Uniform(0, std::int16_t(value)), 0, RadPerDeg, gain);
    QCOMPARE(Vertices(scaled), Vertices(full));
}

void TestPolarPlot::curveOutsideIsNotDrawn() {
    // 1024s at gain 2 lie on a radius of 250, outside the surface: only the
    // rings and the cross-hair remain.
    QCOMPARE(CountColour(PolarImage(Uniform(0, 1024), 0, 2), Red), 0);
    QCOMPARE(PolarImage(Uniform(0, 1024), 0, 2), PolarImage(Uniform(0, 1024), 0, 3));
    // Spokes from the centre out to the 16-bit limit at the highest gain, some
    // 200,000 pixels away: clipped to the surface, not lost or wrapped.
    ObservationGrid extreme;
    for (int d = 0; d < ObservationGrid::Bins; ++d)
        extreme(0, d) = d % 2 ? (d % 4 == 1 ? 32767 : -32768) : 0;
    const QImage image = PolarImage(extreme, 0, 50);
    QCOMPARE(image.pixel(132, 132), Red);
    QCOMPARE(image.pixel(132 + 100, 132), Red); // bin 45, straight to the right
    QCOMPARE(image.pixel(260, 132), Red);
    QVERIFY(CountColour(image, Red) > 5000);
}

void TestPolarPlot::negativeValueIsDrawnOpposite() {
    ObservationGrid grid;
    grid(0, 45) = -1024; // 90 degrees: to the right when positive
    RecordingSurface r;
    DrawPolarPlot(r, grid, 0, RadPerDeg, 1);
    QCOMPARE(Vertices(r)[45 - 1], QPointF(7, 132));
    const QImage image = PolarImage(grid, 0, 1);
    QCOMPARE(image.pixel(60, 132), Red);
    QCOMPARE(image.pixel(200, 132), Grey);
}

void TestPolarPlot::gridIsTheSameAtEveryGain() {
    QList<QList<RecordingSurface::Op>> grids;
    for (float gain : {1.f, 2.f, 37.f, 50.f}) {
        RecordingSurface r;
        DrawPolarPlot(r, Uniform(3, 700), 3, RadPerDeg, gain);
        grids.append(GridOps(r));
    }
    for (const auto& g : grids) {
        QCOMPARE(g.size(), grids.first().size());
        for (qsizetype i = 0; i < g.size(); ++i) {
            QCOMPARE(g[i].kind, grids.first()[i].kind);
            QCOMPARE(QLineF(g[i].x1, g[i].y1, g[i].x2, g[i].y2),
                     QLineF(grids.first()[i].x1, grids.first()[i].y1, grids.first()[i].x2,
                            grids.first()[i].y2));
        }
    }
}

void TestPolarPlot::curveTurnsByTheFactor_data() {
    QTest::addColumn<QList<float>>("factors");
    QTest::newRow("the window's") << QList<float>{RadPerDeg, RadPerDeg};
    QTest::newRow("another, then the window's") << QList<float>{RadPerDeg * 2, RadPerDeg};
    QTest::newRow("none, then the window's, then half")
        << QList<float>{0, RadPerDeg, RadPerDeg / 2};
}

// Curves drawn one after another at different degrees-to-radians factors
// each turn by their own: each is the curve drawn at its factor first thing
// on a thread of its own.
void TestPolarPlot::curveTurnsByTheFactor() {
    QFETCH(QList<float>, factors);
    ObservationGrid grid;
    for (int d = 0; d < ObservationGrid::Bins; ++d)
        grid(7, d) = std::int16_t(300 + 3 * d);
    const auto vertices = [&](float factor) {
        RecordingSurface r;
        DrawPolarPlot(r, grid, 7, factor, 2);
        return Vertices(r);
    };
    for (float factor : factors) {
        QList<QPointF> first;
        std::thread([&] { first = vertices(factor); }).join();
        QCOMPARE(vertices(factor), first);
    }
    // The factors do turn it.
    QVERIFY(vertices(RadPerDeg) != vertices(RadPerDeg * 2));
}

void TestPolarPlot::readout_data() {
    QTest::addColumn<int>("t");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "0:00";
    QTest::newRow("4") << 4 << "0:08";
    QTest::newRow("5") << 5 << "0:10";
    QTest::newRow("30") << 30 << "1:00";
    QTest::newRow("273") << 273 << "9:06";
    QTest::newRow("719") << 719 << "23:58";
}

void TestPolarPlot::readout() {
    QFETCH(int, t);
    QFETCH(QString, text);
    QCOMPARE(SlotTimeText(t), text);
    RecordingSurface r;
    QCOMPARE(DrawPolarPlot(r, ObservationGrid{}, t, RadPerDeg, 1), text);
}

namespace {
ObservationGrid TwoPatterns() {
    ObservationGrid grid;
    for (int d = 0; d < ObservationGrid::Bins; ++d) {
        grid(100, d) = std::int16_t(d < 90 ? 900 : 200);
        grid(600, d) = std::int16_t(d % 30 < 15 ? 500 : 1000);
    }
    return grid;
}
} // namespace

void TestPolarPlot::sliderChangesRedrawFromScratch() {
    Form1 form;
    form.SignalGrid = TwoPatterns();
    // Untouched until a slider moves.
    QCOMPARE(CountColour(form.Picture2->surface().image(), White), 261 * 261);
    QCOMPARE(form.Text2->text(), "Text2");

    form.HScroll1->setValue(100);
    QCOMPARE(form.Picture2->surface().image(), PolarImage(TwoPatterns(), 100, 1));
    QCOMPARE(form.Text2->text(), "3:20");
    form.HScroll1->setValue(600);
    QCOMPARE(form.Picture2->surface().image(), PolarImage(TwoPatterns(), 600, 1));
    QCOMPARE(form.Text2->text(), "20:00");
    form.HScroll4->setValue(2);
    QCOMPARE(form.Picture2->surface().image(), PolarImage(TwoPatterns(), 600, 2));
    form.HScroll1->setValue(100); // the gain stays
    QCOMPARE(form.Picture2->surface().image(), PolarImage(TwoPatterns(), 100, 2));
}

void TestPolarPlot::gainSliderSetsGainAndText() {
    Form1 form;
    form.SignalGrid = TwoPatterns();
    form.HScroll1->setValue(100);
    form.HScroll4->setValue(37);
    QCOMPARE(form.Text3->text(), "37");
    QCOMPARE(form.PolarGain, 37.f);
    QCOMPARE(form.Text2->text(), "3:20");
    QCOMPARE(form.Picture2->surface().image(), PolarImage(TwoPatterns(), 100, 37));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.HScroll4->setFocus();
    QTest::keyClick(form.HScroll4, Qt::Key_End);
    QCOMPARE(form.Text3->text(), "50");
    QTest::keyClick(form.HScroll4, Qt::Key_Home);
    QCOMPARE(form.Text3->text(), "1");
    QCOMPARE(form.PolarGain, 1.f);
}

void TestPolarPlot::otherSlidersChangeNothingAndLoadsRedraw() {
    QTemporaryDir dir;
    auto* dialogs = new ScriptedDialogs;
    dialogs->choices = {WriteTestFile(dir.filePath("030115.log"), QByteArray(259200, '\x01'))};
    Form1 form{std::unique_ptr<LoadDialogs>(dialogs)};
    form.SignalGrid = TwoPatterns();
    form.HScroll1->setValue(100);
    const QImage polar = form.Picture2->surface().image();
    const QImage chart = form.Picture1->surface().image();

    form.HScroll2->setValue(300);
    form.HScroll3->setValue(719);
    QCOMPARE(form.Picture2->surface().image(), polar);
    QCOMPARE(form.Picture1->surface().image(), chart);
    QCOMPARE(form.Text2->text(), "3:20");

    // A load redraws a polar plot that has been drawn, from the new data.
    form.cmd1->click();
    QCOMPARE(form.SignalGrid(100, 0), 0x0101);
    QCOMPARE(form.Picture2->surface().image(), PolarImage(form.SignalGrid, 100, 1));
    QVERIFY(form.Picture2->surface().image() != polar);
    QCOMPARE(form.Text2->text(), "3:20");
    form.HScroll1->setValue(101);
    QCOMPARE(form.Picture2->surface().image(), PolarImage(form.SignalGrid, 101, 1));
}

QTEST_MAIN(TestPolarPlot)
#include "tst_polarplot.moc"
