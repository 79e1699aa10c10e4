// SPDX-License-Identifier: MIT
#include "Rasterize.h"

#include <QTest>

#include <cmath>

namespace {
constexpr QRgb White = 0xffffffff;
constexpr QRgb Ink = 0xff123456;

QImage Blank(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(White);
    return image;
}

QSet<std::pair<qint64, qint64>> InkedPixels(const QImage& image, qint64 dx = 0, qint64 dy = 0) {
    QSet<std::pair<qint64, qint64>> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == Ink)
                out.insert({x + dx, y + dy});
    return out;
}

// The pixels of the whole, unclipped line by the definition: one per step
// along the major axis, the nearest to the exact line, halves rounded up.
QSet<std::pair<qint64, qint64>> ReferenceLine(qint64 x0, qint64 y0, qint64 x1, qint64 y1, int width,
                                              int height) {
    QSet<std::pair<qint64, qint64>> out;
    const qint64 dx = x1 - x0, dy = y1 - y0;
    const qint64 steps = std::max(std::abs(dx), std::abs(dy));
    for (qint64 i = 0; i <= steps; ++i) {
        // Exact rational position along the line, rounded half up on the minor axis.
        const auto along = [&](qint64 start, qint64 delta) {
            if (steps == 0)
                return start;
            const qint64 num = 2 * i * std::abs(delta) + steps;
            const qint64 q = num / (2 * steps);
            return start + (delta >= 0 ? q : -q);
        };
        const qint64 x = along(x0, dx), y = along(y0, dy);
        if (x >= 0 && y >= 0 && x < width && y < height)
            out.insert({x, y});
    }
    return out;
}
} // namespace

class TestRasterize : public QObject {
    Q_OBJECT
  private slots:
    void lines_data();
    void lines();
    void wideLines_data() { lines_data(); }
    void wideLines();
    void circleLiesOnItsRadius_data();
    void circleLiesOnItsRadius();
    void clippedCircleIsTheVisiblePartOfTheWhole();
};

void TestRasterize::lines_data() {
    QTest::addColumn<qint64>("x0");
    QTest::addColumn<qint64>("y0");
    QTest::addColumn<qint64>("x1");
    QTest::addColumn<qint64>("y1");
    QTest::newRow("point") << 5ll << 5ll << 5ll << 5ll;
    QTest::newRow("horizontal") << 2ll << 7ll << 30ll << 7ll;
    QTest::newRow("vertical upwards") << 9ll << 30ll << 9ll << 1ll;
    QTest::newRow("horizontal backwards, cut at both sides") << 90ll << 39ll << -7ll << 39ll;
    QTest::newRow("vertical, from far above") << 0ll << -200000ll << 0ll << 12ll;
    QTest::newRow("horizontal just above") << -3ll << -1ll << 50ll << -1ll;
    QTest::newRow("vertical just right") << 40ll << 3ll << 40ll << 20ll;
    QTest::newRow("shallow") << 1ll << 2ll << 38ll << 13ll;
    QTest::newRow("steep backwards") << 30ll << 39ll << 21ll << 0ll;
    QTest::newRow("diagonal") << 0ll << 0ll << 39ll << 39ll;
    QTest::newRow("in from the left") << -500ll << 3ll << 20ll << 30ll;
    QTest::newRow("across from far away") << -200000ll << -150000ll << 200000ll << 180000ll;
    QTest::newRow("far away, steep") << 17ll << -200000ll << 25ll << 200000ll;
    QTest::newRow("passes by outside") << -100ll << 50ll << 100ll << 80ll;
    QTest::newRow("ends outside the other way") << 20ll << 20ll << 90000ll << -40000ll;
    QTest::newRow("grazes a corner") << -10ll << 10ll << 10ll << -10ll;
}

void TestRasterize::lines() {
    QFETCH(qint64, x0);
    QFETCH(qint64, y0);
    QFETCH(qint64, x1);
    QFETCH(qint64, y1);
    QImage image = Blank(40, 40);
    RasterLine(image, x0, y0, x1, y1, Ink);
    QCOMPARE(InkedPixels(image), ReferenceLine(x0, y0, x1, y1, 40, 40));
}

// With a pen of 3, each pixel of the line becomes the 3 x 3 square below and
// right of it, clipped, including squares of pixels just outside the image.
void TestRasterize::wideLines() {
    QFETCH(qint64, x0);
    QFETCH(qint64, y0);
    QFETCH(qint64, x1);
    QFETCH(qint64, y1);
    QImage image = Blank(40, 40);
    RasterLine(image, x0, y0, x1, y1, Ink, 3);
    QSet<std::pair<qint64, qint64>> expected;
    for (const auto& [x, y] : ReferenceLine(x0 + 2, y0 + 2, x1 + 2, y1 + 2, 42, 42))
        for (qint64 dx = 0; dx < 3; ++dx)
            for (qint64 dy = 0; dy < 3; ++dy)
                if (x - 2 + dx >= 0 && y - 2 + dy >= 0 && x - 2 + dx < 40 && y - 2 + dy < 40)
                    expected.insert({x - 2 + dx, y - 2 + dy});
    QCOMPARE(InkedPixels(image), expected);
}

void TestRasterize::circleLiesOnItsRadius_data() {
    QTest::addColumn<int>("radius");
    for (int r : {0, 1, 2, 5, 31, 62, 93, 125})
        QTest::addRow("%d", r) << r;
}

void TestRasterize::circleLiesOnItsRadius() {
    QFETCH(int, radius);
    QImage image = Blank(261, 261);
    RasterCircle(image, 130, 130, radius, Ink);
    const auto pixels = InkedPixels(image);
    for (const auto& [x, y] : pixels) {
        const double distance = std::hypot(double(x - 130), double(y - 130));
        QVERIFY2(std::abs(distance - radius) <= 0.75, qPrintable(QString::number(distance)));
        // Symmetric under both mirrors and the diagonal.
        QVERIFY(pixels.contains({260 - x, y}));
        QVERIFY(pixels.contains({x, 260 - y}));
        QVERIFY(pixels.contains({y, x}));
    }
    for (const auto& p : {std::pair<qint64, qint64>{130 + radius, 130}, {130, 130 - radius}})
        QVERIFY(pixels.contains(p));
    // A closed outline: every pixel has a neighbour among the others.
    if (radius > 0)
        for (const auto& [x, y] : pixels) {
            int neighbours = 0;
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy)
                    neighbours += (dx || dy) && pixels.contains({x + dx, y + dy});
            QVERIFY(neighbours >= 2);
        }
}

void TestRasterize::clippedCircleIsTheVisiblePartOfTheWhole() {
    QImage whole = Blank(400, 400);
    RasterCircle(whole, 200, 200, 125, Ink);
    QImage window = Blank(100, 90);
    RasterCircle(window, 200 - 150, 200 - 250, 125, Ink); // the same circle seen from (150, 250)
    QSet<std::pair<qint64, qint64>> expected;
    for (const auto& [x, y] : InkedPixels(whole))
        if (x >= 150 && x < 250 && y >= 250 && y < 340)
            expected.insert({x, y});
    QCOMPARE(InkedPixels(window, 150, 250), expected);
    QVERIFY(!expected.isEmpty());
}

QTEST_GUILESS_MAIN(TestRasterize)
#include "tst_rasterize.moc"
