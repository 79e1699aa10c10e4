// SPDX-License-Identifier: MIT
#include "ImageSurface.h"
#include "KeptTable.h"

#include <QFontMetrics>
#include <QTest>

#include <array>
#include <cmath>
#include <optional>
#include <thread>

namespace {
constexpr QRgb White = 0xffffffff;
constexpr QRgb Black = 0xff000000;
constexpr QRgb Red = 0xffff0000;

// Pixels that differ from the background, as a set of points.
QList<QPoint> Inked(const ImageSurface& s) {
    QList<QPoint> out;
    for (int y = 0; y < s.size().height(); ++y)
        for (int x = 0; x < s.size().width(); ++x)
            if (s.pixel(x, y) != White)
                out.append(QPoint(x, y));
    return out;
}
// A text printed at (x, y) over stripes of colour on a surface of its own,
// by a thread of its own: painted, since no text was printed there before.
// With `ground`, the box from its top-left to its bottom-right corner filled
// in white first.
QImage PrintedOnce(QSize size, qreal ratio, const QString& text, float x, float y,
                   std::optional<QRectF> ground = {}) {
    QImage image;
    std::thread([&] {
        ImageSurface s(size, ratio);
        for (int row = 0; row < size.height(); row += 4)
            s.Line({0, float(row)}, {float(size.width()), float(row + 1)}, Red,
                   LineShape::FilledBox);
        if (ground)
            s.Line({float(ground->left()), float(ground->top())},
                   {float(ground->right()), float(ground->bottom())}, White, LineShape::FilledBox);
        s.SetCurrentX(x);
        s.SetCurrentY(y);
        s.Print(text);
        image = s.image();
    }).join();
    return image;
}
} // namespace

class TestSurface : public QObject {
    Q_OBJECT
  private slots:
    void currentPointAfterEachOperation();
    void stepForms();
    void boxOutlineCorners();
    void lineSetsBothEnds();
    void clsClearsAndResets();
    void psetOutsideIsIgnored();
    void farOutsideLineIsClipped();
    void printedNumbers_data();
    void printedNumbers();
    void printDrawsBelowAndRightOfCurrentPoint();
    void imageIsASnapshot();
    void cellsTileTheDevicePixels_data();
    void cellsTileTheDevicePixels();
    void textPrintedAgainLeavesTheSamePixels_data();
    void textPrintedAgainLeavesTheSamePixels();
    void labelOnItsGroundIsAFillAndAText_data();
    void labelOnItsGroundIsAFillAndAText();
    void filledBoxIsItsRows_data() { cellsTileTheDevicePixels_data(); }
    void filledBoxIsItsRows();
    void keptTableFindsWhatItHolds();
    void twoToneOutlineIsItsLines_data();
    void twoToneOutlineIsItsLines();
};

void TestSurface::currentPointAfterEachOperation() {
    ImageSurface s(QSize(100, 100));
    s.SetCurrentX(3);
    s.SetCurrentY(4);
    QCOMPARE(s.CurrentX(), 3.f);
    QCOMPARE(s.CurrentY(), 4.f);

    s.Line({10, 20}, {30, 40}, Black);
    QCOMPARE(QPointF(s.CurrentX(), s.CurrentY()), QPointF(30, 40));

    s.Line({5, 6}, {7, 8}, Black, LineShape::Box);
    QCOMPARE(QPointF(s.CurrentX(), s.CurrentY()), QPointF(7, 8));

    s.LineTo({50, 60}, Black);
    QCOMPARE(QPointF(s.CurrentX(), s.CurrentY()), QPointF(50, 60));

    s.PSet(12, 13, Red);
    QCOMPARE(QPointF(s.CurrentX(), s.CurrentY()), QPointF(12, 13));

    s.Circle({40, 41}, 5, Red);
    QCOMPARE(QPointF(s.CurrentX(), s.CurrentY()), QPointF(40, 41));

    s.SetCurrentX(10);
    s.SetCurrentY(20);
    s.Print(QStringLiteral("x"));
    QCOMPARE(s.CurrentX(), 0.f);
    QVERIFY(s.CurrentY() > 20.f);
}

void TestSurface::stepForms() {
    ImageSurface s(QSize(100, 100));
    // Both points as Step: the first from the current point, the second from
    // the first.
    s.SetCurrentX(50);
    s.SetCurrentY(50);
    s.Line(Step(-10, 0), Step(20, 0), Black);
    QCOMPARE(QPointF(s.CurrentX(), s.CurrentY()), QPointF(60, 50));
    QCOMPARE(s.pixel(40, 50), Black);
    QCOMPARE(s.pixel(60, 50), Black);
    QCOMPARE(s.pixel(39, 50), White);

    // An omitted first point starts at the current point.
    s.LineTo({60, 70}, Red);
    QCOMPARE(s.pixel(60, 65), Red);

    // A Step centre of a circle.
    s.SetCurrentX(30);
    s.SetCurrentY(30);
    s.Circle(Step(0, 0), 10, Red);
    QCOMPARE(QPointF(s.CurrentX(), s.CurrentY()), QPointF(30, 30));
    QCOMPARE(s.pixel(30, 20), Red);
    QCOMPARE(s.pixel(40, 30), Red);
    QCOMPARE(s.pixel(30, 30), White);
}

void TestSurface::boxOutlineCorners() {
    ImageSurface s(QSize(60, 60));
    s.Line({40, 30}, {10, 5}, Black, LineShape::Box); // corners given in any order
    for (QPoint p : {QPoint(10, 5), QPoint(40, 5), QPoint(10, 30), QPoint(40, 30), QPoint(25, 5),
                     QPoint(25, 30), QPoint(10, 17), QPoint(40, 17)})
        QCOMPARE(s.pixel(p.x(), p.y()), Black);
    for (QPoint p : {QPoint(9, 5), QPoint(41, 30), QPoint(25, 4), QPoint(25, 31), QPoint(25, 17),
                     QPoint(11, 6)})
        QCOMPARE(s.pixel(p.x(), p.y()), White);
    QCOMPARE(Inked(s).size(), 2 * 31 + 2 * 24);
}

void TestSurface::lineSetsBothEnds() {
    ImageSurface s(QSize(20, 20));
    s.Line({5, 2}, {5, 6}, Black);
    QList<QPoint> expected;
    for (int y = 2; y <= 6; ++y)
        expected.append(QPoint(5, y));
    QCOMPARE(Inked(s), expected);
}

void TestSurface::clsClearsAndResets() {
    ImageSurface s(QSize(30, 30));
    s.Line({0, 0}, {29, 29}, Black);
    s.PSet(3, 20, Red);
    s.Cls();
    QVERIFY(Inked(s).isEmpty());
    QCOMPARE(QPointF(s.CurrentX(), s.CurrentY()), QPointF(0, 0));
}

void TestSurface::psetOutsideIsIgnored() {
    ImageSurface s(QSize(10, 10));
    for (QPointF p : {QPointF(-1, 0), QPointF(0, -1), QPointF(10, 0), QPointF(0, 10),
                      QPointF(1e9, 1e9), QPointF(-40000, 3)})
        s.PSet(float(p.x()), float(p.y()), Red);
    QVERIFY(Inked(s).isEmpty());
    s.PSet(9.4f, 0.4f, Red); // rounds to the last column
    QCOMPARE(s.pixel(9, 0), Red);
}

void TestSurface::farOutsideLineIsClipped() {
    ImageSurface s(QSize(50, 50));
    // A line between points far outside that crosses the surface diagonally.
    s.Line({-200000, -200000}, {200000, 200000}, Red);
    QCOMPARE(s.pixel(0, 0), Red);
    QCOMPARE(s.pixel(25, 25), Red);
    QCOMPARE(s.pixel(49, 49), Red);
    QCOMPARE(Inked(s).size(), 50);
}

void TestSurface::printedNumbers_data() {
    QTest::addColumn<double>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << " 0 ";
    QTest::newRow("24") << 24.0 << " 24 ";
    QTest::newRow("1024") << 1024.0 << " 1024 ";
    QTest::newRow("negative") << -7.0 << "-7 ";
    QTest::newRow("fraction") << 0.5 << " 0.5 ";
}

void TestSurface::printedNumbers() {
    QFETCH(double, number);
    QFETCH(QString, text);
    QCOMPARE(DrawingSurface::printedNumber(number), text);
}

void TestSurface::printDrawsBelowAndRightOfCurrentPoint() {
    ImageSurface s(QSize(80, 40));
    s.SetCurrentX(20);
    s.SetCurrentY(10);
    s.Print(QStringLiteral("HI"));
    const QList<QPoint> ink = Inked(s);
    QVERIFY(!ink.isEmpty());
    for (QPoint p : ink) {
        QVERIFY2(p.x() >= 20 && p.y() >= 10,
                 qPrintable(QStringLiteral("ink at %1,%2").arg(p.x()).arg(p.y())));
        QVERIFY(p.y() < 10 + 12);
        QCOMPARE(s.pixel(p.x(), p.y()), Black);
    }
}

void TestSurface::imageIsASnapshot() {
    ImageSurface s(QSize(10, 10));
    s.Line({0, 0}, {9, 0}, Black);
    const QImage before = s.image();
    s.PSet(5, 5, Red); // straight into the pixels
    s.Line({0, 9}, {9, 9}, Red);
    s.SetCurrentX(0);
    s.SetCurrentY(1);
    s.Print(QStringLiteral("x")); // opens the text painter on the image
    s.PSet(6, 6, Red);            // while it is open
    QCOMPARE(before.pixel(5, 5), White);
    QCOMPARE(before.pixel(6, 6), White);
    QCOMPARE(s.pixel(5, 5), Red);
    QCOMPARE(s.pixel(6, 6), Red);
    QCOMPARE(s.image().pixel(0, 9), Red);
}

void TestSurface::cellsTileTheDevicePixels_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("1") << 1.0;
    QTest::newRow("1.25") << 1.25;
    QTest::newRow("1.5") << 1.5;
    QTest::newRow("2") << 2.0;
    QTest::newRow("3") << 3.0;
}

// Every cell is a solid block of floor(r) or ceil(r) device pixels a side,
// and together they cover the image with no gap and no overlap. A pointer on
// any device pixel of a block reads the block's cell.
void TestSurface::cellsTileTheDevicePixels() {
    QFETCH(qreal, ratio);
    // Set forwards and backwards: where cells overlapped, the order would show.
    ImageSurface s(QSize(41, 23), ratio), backwards(QSize(41, 23), ratio);
    for (int i = 0; i < 41 * 23; ++i) {
        const int j = 41 * 23 - 1 - i;
        s.PSet(float(i % 41), float(i / 41), 0xff000000 | QRgb(i % 41 << 8 | i / 41));
        backwards.PSet(float(j % 41), float(j / 41), 0xff000000 | QRgb(j % 41 << 8 | j / 41));
    }
    const QImage image = s.image();
    QCOMPARE(backwards.image(), image);
    // And a column at a time, as the chart sets its cells.
    ImageSurface columns(QSize(41, 23), ratio);
    for (int x = 0; x < 41; ++x) {
        std::array<QRgb, 23> up;
        for (int k = 0; k < 23; ++k)
            up[std::size_t(k)] = 0xff000000 | QRgb(x << 8 | (22 - k));
        columns.PSetColumnUp(float(x), 22, up.data(), up.size());
    }
    QCOMPARE(columns.image(), image);
    QCOMPARE(columns.CurrentY(), 0.0f);
    QCOMPARE(image.devicePixelRatio(), ratio);
    QCOMPARE(image.size(), QSize(qRound(41 * ratio), qRound(23 * ratio)));
    QHash<QRgb, QPair<QRect, int>> blocks; // bounds and pixel count of each cell
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            auto& [bounds, count] = blocks[image.pixel(x, y)];
            bounds |= QRect(x, y, 1, 1);
            ++count;
            const QPointF read = s.readingPoint(QPointF(x, y) / ratio);
            const QRgb cell = image.pixel(x, y);
            QCOMPARE(QPoint(qFloor(read.x()), qFloor(read.y())),
                     QPoint(int(cell >> 8 & 0xff), int(cell & 0xff)));
        }
    QCOMPARE(blocks.size(), 41 * 23); // every cell, and no white gap
    const QList<int> sides{int(std::floor(ratio)), int(std::ceil(ratio))};
    for (const auto& [bounds, count] : std::as_const(blocks)) {
        QCOMPARE(count, bounds.width() * bounds.height());
        QVERIFY(sides.contains(bounds.width()) && sides.contains(bounds.height()));
    }
}

void TestSurface::textPrintedAgainLeavesTheSamePixels_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPointF>("at");
    QTest::newRow("label") << 1.0 << "mark 12" << QPointF(7, 5);
    QTest::newRow("kana, at 150 %") << 1.5 << QStringLiteral("バースト 強い") << QPointF(3, 9);
    QTest::newRow("degrees, at 125 %") << 1.25 << QStringLiteral("340°-12°") << QPointF(11, 2);
    QTest::newRow("cut at the left and bottom, at 200 %") << 2.0 << "Wg 1024" << QPointF(-4, 22);
    QTest::newRow("cut at the right") << 1.0 << "12:34 - 24:00" << QPointF(40, 0);
}

// A text's pixels are kept after its second printing: wherever it is
// printed then, and over whatever colours, it leaves what painting it leaves.
void TestSurface::textPrintedAgainLeavesTheSamePixels() {
    QFETCH(qreal, ratio);
    QFETCH(QString, text);
    QFETCH(QPointF, at);
    const QSize size(64, 30);
    const float x = float(at.x()), y = float(at.y());
    for (const QPointF& place : {QPointF(0, 0), QPointF(1, 1), QPointF(x, y), QPointF(x + 1, y)}) {
        const float px = float(place.x()), py = float(place.y());
        ImageSurface s(size, ratio);
        for (int row = 0; row < size.height(); row += 4)
            s.Line({0, float(row)}, {float(size.width()), float(row + 1)}, Red,
                   LineShape::FilledBox);
        s.SetCurrentX(px);
        s.SetCurrentY(py);
        s.Print(text);
        QCOMPARE(s.CurrentY(), py + float(QFontMetrics(ImageSurface::printFont()).height()));
        QCOMPARE(s.image(), PrintedOnce(size, ratio, text, px, py));
    }
}

void TestSurface::labelOnItsGroundIsAFillAndAText_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRectF>("ground"); // from its top-left to its bottom-right corner
    QTest::addColumn<QPointF>("at");
    QTest::newRow("a mark's label") << 1.0 << "mark 12" << QRectF(5, 3, 40, 13) << QPointF(7, 3);
    QTest::newRow("kana") << 1.0 << QStringLiteral("バースト") << QRectF(0, 0, 50, 13)
                          << QPointF(2, 0);
    QTest::newRow("ink beyond the ground")
        << 1.0 << "mark 12" << QRectF(5, 3, 12, 6) << QPointF(7, 3);
    QTest::newRow("ground beyond the surface")
        << 1.0 << "mark 12" << QRectF(40, 20, 40, 13) << QPointF(42, 20);
    QTest::newRow("between pixels")
        << 1.0 << "mark 12" << QRectF(5.5, 3, 40, 13) << QPointF(7.5, 3);
    QTest::newRow("at 150 %") << 1.5 << "mark 12" << QRectF(5, 3, 40, 13) << QPointF(7, 3);
}

// A label on its ground leaves what filling the ground and printing the text
// leave, the first time and when drawn again from what it left before.
void TestSurface::labelOnItsGroundIsAFillAndAText() {
    QFETCH(qreal, ratio);
    QFETCH(QString, text);
    QFETCH(QRectF, ground);
    QFETCH(QPointF, at);
    const QSize size(64, 30);
    const QImage expected = PrintedOnce(size, ratio, text, float(at.x()), float(at.y()), ground);
    for (int time = 0; time < 4; ++time) {
        ImageSurface s(size, ratio);
        for (int row = 0; row < size.height(); row += 4)
            s.Line({0, float(row)}, {float(size.width()), float(row + 1)}, Red,
                   LineShape::FilledBox);
        s.PrintOnBox(float(ground.left()), float(ground.top()), float(ground.right()),
                     float(ground.bottom()), White, float(at.x()), float(at.y()), text);
        QCOMPARE(s.CurrentY(),
                 float(at.y()) + float(QFontMetrics(ImageSurface::printFont()).height()));
        QCOMPARE(s.image(), expected);
    }
}

// A filled box leaves what lines along each of its rows leave, at every ratio.
void TestSurface::filledBoxIsItsRows() {
    QFETCH(qreal, ratio);
    ImageSurface filled(QSize(40, 30), ratio), rows(QSize(40, 30), ratio);
    const QList<QRectF> boxes{{3, 4, 10, 6}, {-5, 20, 60, 30}, {39, -3, 5, 5}, {12.5, 7.5, 3, 2}};
    for (const QRectF& box : boxes) {
        filled.Line({float(box.right()), float(box.top())},
                    {float(box.left()), float(box.bottom())}, Red, LineShape::FilledBox);
        for (float y = float(box.top()); y <= float(box.bottom()); ++y)
            rows.Line({float(box.right()), y}, {float(box.left()), y}, Red);
        QCOMPARE(filled.image(), rows.image());
        QCOMPARE(filled.CurrentX(), float(box.left()));
        QCOMPARE(filled.CurrentY(), float(box.bottom()));
    }
}

// Texts that differ only in their last characters, or in length, each find
// their own entry; past its capacity the table starts again empty.
void TestSurface::keptTableFindsWhatItHolds() {
    constexpr std::size_t Capacity = 1000;
    KeptTable<std::pair<std::string, int>, Capacity> table;
    const auto hash = [](const std::string& text) {
        return ShortTextHash(text.data(), text.size());
    };
    const auto find = [&](const std::string& text) {
        const auto* found = table.find(
            hash(text), [&](const std::pair<std::string, int>& e) { return e.first == text; });
        return found ? found->second : -1;
    };
    std::vector<std::string> texts{"", "a", "ab", "abc"};
    for (int i = 0; i < 1500; ++i)
        texts.push_back((i % 2 ? "mark " : "a much longer label ") + std::to_string(i));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        QCOMPARE(find(texts[i]), -1);
        QCOMPARE(table.add(hash(texts[i]), {texts[i], int(i)}).second, int(i));
        // The first entry since it started again stays as the table grows.
        const std::size_t first = i / Capacity * Capacity;
        QCOMPARE(find(texts[first]), int(first));
    }
    // The last entries added since it started again are all there.
    const std::size_t kept = texts.size() % Capacity;
    for (std::size_t i = 0; i < texts.size(); ++i)
        QCOMPARE(find(texts[i]), i >= texts.size() - kept ? int(i) : -1);
    QCOMPARE(find("mark 1500"), -1);
}

void TestSurface::twoToneOutlineIsItsLines_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QRect>("box");
    QTest::addColumn<QRect>("clip");
    QTest::addColumn<bool>("openTop");
    QTest::addColumn<bool>("openBottom");
    const QRect plot(5, 4, 30, 20);
    for (const qreal ratio : {1.0, 1.5, 2.0, 3.0}) {
        const auto row = [ratio](const char* name) -> QTestData& {
            return QTest::addRow("%s, %g", name, ratio) << ratio;
        };
        row("inside") << QRect(10, 8, 8, 6) << plot << false << false;
        row("open at the top") << QRect(10, 8, 8, 6) << plot << true << false;
        row("open at the bottom") << QRect(10, 8, 8, 6) << plot << false << true;
        row("one cell") << QRect(12, 12, 1, 1) << plot << false << false;
        row("two cells wide") << QRect(12, 10, 2, 5) << plot << false << false;
        row("on the clip's edges") << plot << plot << false << false;
        row("a pixel inside them") << plot.adjusted(1, 1, -1, -1) << plot << false << false;
        row("at its top-left corner") << QRect(5, 4, 3, 3) << plot << false << false;
        row("at its bottom-right, open") << QRect(30, 20, 5, 4) << plot << true << true;
        row("cut by the clip") << QRect(30, 1, 10, 10) << plot << false << false;
        row("clip past the surface")
            << QRect(0, 0, 6, 30) << QRect(-5, -5, 50, 50) << false << false;
    }
}

// The outline in two tones leaves what its lines leave, drawn one by one,
// whether the surface writes its pixels a row at a time or not.
void TestSurface::twoToneOutlineIsItsLines() {
    QFETCH(qreal, ratio);
    QFETCH(QRect, box);
    QFETCH(QRect, clip);
    QFETCH(bool, openTop);
    QFETCH(bool, openBottom);
    const QRgb Blue = 0xff0000ff;
    ImageSurface outline(QSize(40, 30), ratio), lines(QSize(40, 30), ratio);
    for (ImageSurface* s : {&outline, &lines})
        for (int row = 0; row < 30; row += 3)
            s->Line({0, float(row)}, {40, float(row)}, Red);
    outline.TwoToneOutline(box, clip, openTop, openBottom, White, Blue);
    const auto line = [&](int x1, int y1, int x2, int y2, QRgb colour) {
        if (x1 == x2 ? x1 < clip.left() || x1 > clip.right()
                     : y1 < clip.top() || y1 > clip.bottom())
            return;
        lines.Line({float(std::max(x1, clip.left())), float(std::max(y1, clip.top()))},
                   {float(std::min(x2, clip.right())), float(std::min(y2, clip.bottom()))}, colour);
    };
    const int l = box.left(), r = box.right(), t = box.top(), b = box.bottom();
    for (const auto& [inset, colour] : {std::pair{-1, Blue}, std::pair{0, White}}) {
        line(l + inset, t + inset, l + inset, b - inset, colour);
        line(r - inset, t + inset, r - inset, b - inset, colour);
        if (!openTop)
            line(l + inset, t + inset, r - inset, t + inset, colour);
        if (!openBottom)
            line(l + inset, b - inset, r - inset, b - inset, colour);
    }
    QCOMPARE(outline.image(), lines.image());
}

QTEST_MAIN(TestSurface)
#include "tst_surface.moc"
