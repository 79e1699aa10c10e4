// SPDX-License-Identifier: MIT
#include "ChartReadout.h"
#include "Form1.h"
#include "HScrollBar.h"
#include "PictureBox.h"
#include "FileNames.h"
#include "PngFile.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <cmath>
#include <numbers>

namespace {

// Widget point of a surface point: picture boxes have a 2-pixel border.
QPoint At(int x, int y) {
    return {2 + x, 2 + y};
}

QImage Rgb32(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

// A window with a log loaded whose cell i holds i % 1100 - 20.
struct Fixture {
    QTemporaryDir folder;
    ScriptedDialogs* dialogs = new ScriptedDialogs;
    Form1 form{std::unique_ptr<LoadDialogs>(dialogs)};

    explicit Fixture(bool load = true) {
        ObservationGrid grid;
        for (int i = 0; i < ObservationGrid::CellCount; ++i)
            grid.cells[i] = static_cast<std::int16_t>(i % 1100 - 20);
        if (load)
            form.loadLog(WriteTestFile(folder.filePath("261208.log"), LogBytes(grid)));
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            qFatal("window not exposed");
    }
};

// The offscreen platform cannot raise a tooltip's window, and says so each
// time one is shown.
QtMessageHandler QtTestMessages = nullptr;
void WithoutRaiseWarning(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text != QLatin1String("This plugin does not support raise()"))
        QtTestMessages(type, context, text);
}
struct QuietTooltips {
    QuietTooltips() { QtTestMessages = qInstallMessageHandler(WithoutRaiseWarning); }
    ~QuietTooltips() { qInstallMessageHandler(QtTestMessages); }
};

} // namespace

class TestPictures : public QObject {
    Q_OBJECT
  private slots:
    void readouts_data();
    void readouts();
    void polarBin_data();
    void polarBin();
    void everyDevicePixelReadsItsCell_data();
    void everyDevicePixelReadsItsCell();
    void clickAndDragPickSlots();
    void tipLeftOnScreenFollowsTheLog();
    void copyAndSave();
    void saveFormatFromName_data();
    void saveFormatFromName();
    void accessibilityAndFocus();
};

void TestPictures::readouts_data() {
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QPoint>("point"); // surface coordinates of Picture1
    QTest::addColumn<QString>("text");
    QTest::newRow("10:38, 240 degrees")
        << true << QPoint(349, 110)
        << "10:38  240°  " + QString::number((319 * 180 + 120) % 1100 - 20);
    QTest::newRow("last cell, no log") << false << QPoint(749, 51) << "23:58  358°";
    QTest::newRow("box's left edge") << true << QPoint(29, 100) << "";
    QTest::newRow("box's top edge") << true << QPoint(100, 50) << "";
    QTest::newRow("legend, row for 1016") << true << QPoint(800, 103) << "信号 1016";
    QTest::newRow("above the legend") << true << QPoint(790, 102) << "";
}

void TestPictures::readouts() {
    QFETCH(bool, loaded);
    QFETCH(QPoint, point);
    QFETCH(QString, text);
    Fixture f(loaded);
    QCOMPARE(f.form.Picture1->toolTipAt(At(point.x(), point.y())), text);
    // The polar plot reads out only once it is drawn.
    QCOMPARE(f.form.Picture2->toolTipAt(At(250, 132)), "");
    f.form.HScroll1->setValue(319);
    QCOMPARE(f.form.Picture2->toolTipAt(At(250, 132)),
             "90°  " + QString::number(f.form.SignalGrid(319, 45)));
}

void TestPictures::polarBin_data() {
    QTest::addColumn<double>("degrees"); // clockwise from straight up
    QTest::addColumn<int>("bin");
    for (int quarter = 0; quarter < 4; ++quarter) {
        const int middle = 45 * quarter;
        QTest::addRow("%d degrees", 90 * quarter) << 90.0 * quarter << middle;
        QTest::addRow("just before %d", 90 * quarter + 1) << 90 * quarter + 0.99 << middle;
        QTest::addRow("just past %d", 90 * quarter + 1) << 90 * quarter + 1.01 << middle + 1;
    }
    QTest::newRow("just past 359: bin 0") << 359.01 << 0;
}

void TestPictures::polarBin() {
    QFETCH(double, degrees);
    QFETCH(int, bin);
    const double a = degrees * std::numbers::pi / 180;
    for (double radius : {3.0, 125.0, 180.0})
        QCOMPARE(PolarGeometry::BinAt({132 + radius * std::sin(a), 132 - radius * std::cos(a)}),
                 bin);
    QCOMPARE(PolarGeometry::BinAt({132, 132}), std::nullopt);
}

void TestPictures::everyDevicePixelReadsItsCell_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("polar");
    QTest::addColumn<QPoint>("pixel"); // logical, of the surface
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("slot"); // that a click there picks; -1 for none
    const auto value = [](int slot, int bin) {
        return QString::number((slot * 180 + bin) % 1100 - 20);
    };
    for (const qreal ratio : {1.5, 2.0}) {
        const int percent = qRound(ratio * 100);
        QTest::addRow("%d %%, 10:38 at 240 degrees", percent)
            << ratio << false << QPoint(349, 110) << "10:38  240°  " + value(319, 120) << 319;
        QTest::addRow("%d %%, the last cell", percent)
            << ratio << false << QPoint(749, 51) << "23:58  358°  " + value(719, 179) << 719;
        QTest::addRow("%d %%, the legend's top row", percent)
            << ratio << false << QPoint(800, 103) << "信号 1016" << -1;
        // All of this pixel lies within 1 degree of 90; the one to its
        // lower right does not.
        QTest::addRow("%d %%, polar plot at 90 degrees", percent)
            << ratio << true << QPoint(232, 133) << "90°  " + value(319, 45) << -1;
    }
}

// The pointer on each device pixel of a cell, reported by the window system
// as at a fraction of a logical pixel, reads that cell and picks its slot.
void TestPictures::everyDevicePixelReadsItsCell() {
    QFETCH(qreal, ratio);
    QFETCH(bool, polar);
    QFETCH(QPoint, pixel);
    QFETCH(QString, text);
    QFETCH(int, slot);
    Fixture f;
    const QuietTooltips quiet;
    f.form.HScroll1->setValue(319);
    PictureBox* picture = polar ? f.form.Picture2 : f.form.Picture1;
    QWindow* window = f.form.windowHandle();
    const QPointF origin = picture->mapTo(&f.form, picture->contentsRect().topLeft());
    const auto firstDevicePixel = [ratio](int v) { return qFloor(v * ratio + 0.5); };
    int time = 0;
    const auto send = [&](QPointF at, Qt::MouseButtons buttons, QEvent::Type type) {
        time += 1000; // no double clicks
        qt_handleMouseEvent(window, at, window->position() + at, buttons,
                            type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, type, {},
                            time);
    };
    for (int dy = firstDevicePixel(pixel.y()); dy < firstDevicePixel(pixel.y() + 1); ++dy) {
        for (int dx = firstDevicePixel(pixel.x()); dx < firstDevicePixel(pixel.x() + 1); ++dx) {
            // As on a screen of that ratio (a repaint sets it back).
            picture->setDevicePixelRatio(ratio);
            const QPointF at = origin + QPointF(dx, dy) / ratio;
            send(at, Qt::NoButton, QEvent::MouseMove);
            // A tooltip event has the pointer's position in whole pixels.
            QHelpEvent help(QEvent::ToolTip, picture->mapFrom(&f.form, at.toPoint()),
                            window->position() + at.toPoint());
            QCoreApplication::sendEvent(picture, &help);
            const QByteArray where =
                QStringLiteral("device pixel (%1, %2)").arg(dx).arg(dy).toUtf8();
            QVERIFY2(QToolTip::text() == text, where + ": " + QToolTip::text().toUtf8());
            if (slot < 0)
                continue;
            f.form.HScroll1->setValue(0);
            send(at, Qt::LeftButton, QEvent::MouseButtonPress);
            send(at, Qt::NoButton, QEvent::MouseButtonRelease);
            QVERIFY2(f.form.HScroll1->value() == slot, where);
        }
    }
}

void TestPictures::clickAndDragPickSlots() {
    Fixture byMouse, bySlider;
    PictureBox* chart = byMouse.form.Picture1;
    const QImage chartBefore = chart->surface().image();
    const auto same = [&](int slot, const QString& time) {
        bySlider.form.HScroll1->setValue(slot);
        QCOMPARE(byMouse.form.HScroll1->value(), slot);
        QCOMPARE(byMouse.form.Text2->text(), time);
        QCOMPARE(byMouse.form.Picture2->surface().image(),
                 bySlider.form.Picture2->surface().image());
    };
    QTest::mouseClick(chart, Qt::LeftButton, {}, At(30 + 100, 150));
    same(100, "3:20");
    QTest::mousePress(chart, Qt::LeftButton, {}, At(30 + 319, 200));
    same(319, "10:38");
    QTest::mouseMove(chart, At(30 + 400, 20)); // above the box: the column counts
    same(400, "13:20");
    QTest::mouseMove(chart, At(790, 150)); // past the box's end
    same(719, "23:58");
    QTest::mouseRelease(chart, Qt::LeftButton, {}, At(790, 150));

    // The marker is shown over the chart, never drawn into it.
    QCOMPARE(chart->surface().image(), chartBefore);
    const QImage shown = chart->grab().toImage();
    QCOMPARE(shown.pixel(At(30 + 719, 47)), qRgb(0xc0, 0, 0));
    QCOMPARE(shown.pixel(At(30 + 700, 47)), chartBefore.pixel(30 + 700, 47));
}

void TestPictures::copyAndSave() {
    Fixture f;
    f.form.HScroll4->setValue(2);
    f.form.HScroll1->setValue(319); // a polar plot, and the marker on the chart
    QTemporaryDir out;
    // The Save dialog starts in the log's folder, then where the last
    // picture was saved.
    QString startFolder = f.folder.path();
    for (PictureBox* picture : {f.form.Picture1, f.form.Picture2}) {
        const QImage drawn = Rgb32(picture->surface().image());
        QCOMPARE(picture->copyAction()->text(), "画像をコピー");
        picture->copyAction()->trigger();
        QCOMPARE(Rgb32(QGuiApplication::clipboard()->image()), drawn);

        QCOMPARE(picture->saveAction()->text(), "画像を保存...");
        f.dialogs->saveChoice = out.filePath(picture->accessibleName() + ".png");
        picture->saveAction()->trigger();
        QCOMPARE(f.dialogs->lastSaveRequest.folder, startFolder);
        QCOMPARE(Rgb32(QImage(*f.dialogs->saveChoice)), drawn);
        startFolder = out.path();
    }
    QCOMPARE(f.dialogs->lastSaveRequest.fileName, "261208-1038-x2.png");
    QCOMPARE(PolarImageName("/data/261208.log", 273, 50), "261208-0906-x50.png");
    QCOMPARE(PolarImageName("", 273, 50), "dirchart.png");
    QCOMPARE(PolarImageName("/data/a%1b.log", 273, 50), "a%1b-0906-x50.png");
    QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), 2); // no temporary file left
    QCOMPARE(f.dialogs->warnings, 0);

    // A folder that cannot be written. Tests may run as root, whom a
    // read-only folder does not stop; nobody writes into a regular file.
    const QString notAFolder = WriteTestFile(out.filePath("file"), "x");
    f.dialogs->saveChoice = notAFolder + "/chart.png";
    f.form.Picture1->saveAction()->trigger();
    QCOMPARE(f.dialogs->warnings, 1);
    QVERIFY2(f.dialogs->lastWarning.startsWith("dirchart|画像を保存できませんでした。\n\n" +
                                               *f.dialogs->saveChoice + "\n\n"),
             qPrintable(f.dialogs->lastWarning));
    QVERIFY(!f.dialogs->lastWarning.endsWith("\n\n")); // a reason is given
    QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), 3);

    // A format not written here is refused by name, not saved as PNG.
    f.dialogs->saveChoice = out.filePath("chart.gif");
    f.form.Picture1->saveAction()->trigger();
    QCOMPARE(f.dialogs->warnings, 2);
    QVERIFY2(f.dialogs->lastWarning.contains("GIF 形式では保存できません"),
             qPrintable(f.dialogs->lastWarning));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), 3);
}

// A tooltip left on screen over a cell past a growing log's end reads the
// cell's value once the log has reached it, without the pointer moving.
void TestPictures::tipLeftOnScreenFollowsTheLog() {
    Fixture f(false);
    const QuietTooltips quiet;
    ObservationGrid grid;
    grid(300, 90) = 777;
    f.form.loadLog(WriteTestFile(f.folder.filePath("261208.log"), LogBytes(grid).left(360 * 10)));
    PictureBox* chart = f.form.Picture1;
    const QPoint at = chart->contentsRect().topLeft() + ChartGeometry::CellRect({300, 90}).center();
    QHelpEvent help(QEvent::ToolTip, at, chart->mapToGlobal(at));
    QCoreApplication::sendEvent(chart, &help);
    QVERIFY2(QToolTip::text().endsWith("記録なし"), qPrintable(QToolTip::text()));
    f.form.view().replaceGrid(grid, ObservationGrid::CellCount);
    QVERIFY2(QToolTip::text().endsWith("777"), qPrintable(QToolTip::text()));
    QToolTip::hideText();
}

void TestPictures::saveFormatFromName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("format"); // as the file's content says
    const auto row = [](const char* tag, const char* name, const char* written,
                        const char* format) {
        QTest::newRow(tag) << QString(name) << QString(written) << QByteArray(format);
    };
    row("png", "c.png", "c.png", "png");
    row("jpg", "c.jpg", "c.jpg", "jpeg");
    row("JPEG in capitals", "c.JPEG", "c.JPEG", "jpeg");
    row("bmp", "c.bmp", "c.bmp", "bmp");
    if (QImageWriter::supportedImageFormats().contains("webp"))
        row("webp", "c.webp", "c.webp", "webp");
    else
        row("webp, no plugin", "c.webp", "c.webp.png", "png");
    row("gif, not written here", "c.gif", "c.gif.png", "png");
    row("no extension", "c", "c.png", "png");
}

void TestPictures::saveFormatFromName() {
    QFETCH(QString, name);
    QFETCH(QString, written);
    QFETCH(QByteArray, format);
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int x = 0; x < 40; ++x)
        picture.setPixel(x, x * 3 / 4, qRgb(6 * x, 0, 255 - 6 * x));
    QTemporaryDir out;
    QCOMPARE(ImageFilePath(out.filePath(name)), out.filePath(written));
    QVERIFY(WriteImageFile(picture, out.filePath(name)).ok());
    QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{written});
    QImageReader reader(out.filePath(written));
    reader.setDecideFormatFromContent(true);
    QCOMPARE(reader.format(), format);
    const QImage read = reader.read();
    if (format == "jpeg")
        QCOMPARE(read.size(), picture.size()); // lossy
    else
        QCOMPARE(Rgb32(read), picture);
}

void TestPictures::accessibilityAndFocus() {
    Fixture f;
    for (QWidget* control : f.form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QVERIFY2(!control->accessibleName().isEmpty(), control->metaObject()->className());
    QCOMPARE(f.form.HScroll1->accessibleName(), "時刻");
    QCOMPARE(f.form.Picture1->accessibleDescription(), "2026/12/08 の観測ログ");
    f.form.HScroll4->setValue(2);
    f.form.HScroll1->setValue(319);
    QCOMPARE(f.form.Picture2->accessibleDescription(), "10:38 倍率 2");

    // The slider with the focus has a frame in the highlight colour.
    HScrollBar* bar = f.form.HScroll2;
    const auto framed = [bar] {
        return bar->grab().toImage().pixel(bar->width() / 2, 0) ==
               bar->palette().color(QPalette::Highlight).rgb();
    };
    QVERIFY(!framed());
    bar->setFocus();
    QTRY_VERIFY(framed());
    f.form.HScroll1->setFocus();
    QTRY_VERIFY(!framed());
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
