// SPDX-License-Identifier: MIT
#include "Form1.h"
#include "HScrollBar.h"
#include "PictureBox.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Picture boxes have a 2-pixel border: widget point of a surface point.
QPoint At(int x, int y) {
    return {2 + x, 2 + y};
}

ObservationGrid Pattern() {
    ObservationGrid grid;
    for (int t = 0; t < ObservationGrid::Slots; ++t)
        for (int d = 0; d < ObservationGrid::Bins; ++d)
            grid(t, d) = static_cast<std::int16_t>((t * 7 + d * 13) % 1100 - 20);
    return grid;
}

struct Fixture {
    QTemporaryDir folder;
    ObservationGrid grid = Pattern();
    QString log = WriteTestFile(folder.filePath("261208.log"), LogBytes(grid));
    ScriptedDialogs* dialogs = new ScriptedDialogs;
    Form1 form{std::unique_ptr<LoadDialogs>(dialogs)};

    Fixture(bool load = true) {
        if (load)
            form.LoadLog(log);
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            qFatal("window not exposed");
    }
};

} // namespace

class TestPictures : public QObject {
    Q_OBJECT
  private slots:
    void chartReadout_data();
    void chartReadout();
    void polarReadoutOnceDrawn();
    void clickAndDragPickSlots();
    void markerIsAnOverlay();
    void copyPutsTheSurfaceImageOnTheClipboard();
    void saveWritesTheSurfaceImage();
    void failedSaveWarnsAndLeavesNoFile();
    void accessibleNamesAndDescriptions();
    void focusedSliderShowsAFrame();
};

void TestPictures::chartReadout_data() {
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QPoint>("point"); // surface coordinates
    QTest::addColumn<QString>("text");
    const ObservationGrid grid = Pattern();
    const auto value = [&](int t, int d) { return QString::number(grid(t, d)); };
    QTest::newRow("10:38, 240 degrees")
        << true << QPoint(349, 110) << "10:38  240°  " + value(319, 120);
    QTest::newRow("first cell") << true << QPoint(30, 230) << "0:00  0°  " + value(0, 0);
    QTest::newRow("last cell") << true << QPoint(749, 51) << "23:58  358°  " + value(719, 179);
    QTest::newRow("no log: time and direction") << false << QPoint(349, 110) << "10:38  240°";
    QTest::newRow("legend") << true << QPoint(790, 150) << "信号 640";
    QTest::newRow("legend, no log") << false << QPoint(781, 230) << "信号 0";
    QTest::newRow("title") << true << QPoint(300, 25) << "";
    QTest::newRow("chart box") << true << QPoint(29, 100) << "";
    QTest::newRow("hour labels") << true << QPoint(300, 245) << "";
}

void TestPictures::chartReadout() {
    QFETCH(bool, loaded);
    QFETCH(QPoint, point);
    QFETCH(QString, text);
    Fixture f(loaded);
    QCOMPARE(f.form.Picture1->toolTipAt(At(point.x(), point.y())), text);
}

void TestPictures::polarReadoutOnceDrawn() {
    Fixture f;
    const QPoint up = At(132, 20), right = At(250, 132);
    QCOMPARE(f.form.Picture2->toolTipAt(up), QString());
    f.form.HScroll1->setValue(319);
    QCOMPARE(f.form.Picture2->toolTipAt(up), "0°  " + QString::number(f.grid(319, 0)));
    QCOMPARE(f.form.Picture2->toolTipAt(right), "90°  " + QString::number(f.grid(319, 45)));
    QCOMPARE(f.form.Picture2->toolTipAt(At(132, 132)), QString());
}

void TestPictures::clickAndDragPickSlots() {
    Fixture byMouse, bySlider;
    PictureBox* chart = byMouse.form.Picture1;
    const auto same = [&](int slot, const QString& time) {
        bySlider.form.HScroll1->setValue(slot);
        QCOMPARE(byMouse.form.HScroll1->value(), slot);
        QCOMPARE(byMouse.form.Text2->text(), time);
        QCOMPARE(byMouse.form.Picture2->surface().image(),
                 bySlider.form.Picture2->surface().image());
    };

    QTest::mouseClick(chart, Qt::LeftButton, {}, At(30 + 100, 150));
    same(100, "3:20");
    QTest::mouseClick(chart, Qt::LeftButton, {}, At(300, 25)); // the title: no slot
    QCOMPARE(byMouse.form.HScroll1->value(), 100);

    QTest::mousePress(chart, Qt::LeftButton, {}, At(30 + 319, 200));
    same(319, "10:38");
    QTest::mouseMove(chart, At(30 + 400, 20)); // out of the box upwards: the column counts
    same(400, "13:20");
    QTest::mouseMove(chart, At(790, 150)); // past the box's right end
    same(719, "23:58");
    QTest::mouseRelease(chart, Qt::LeftButton, {}, At(790, 150));
    QTest::mouseMove(chart, At(30 + 5, 150)); // released: moving picks nothing
    QCOMPARE(byMouse.form.HScroll1->value(), 719);
}

void TestPictures::markerIsAnOverlay() {
    Fixture f;
    const QImage before = f.form.Picture1->surface().image();
    QTest::mouseClick(f.form.Picture1, Qt::LeftButton, {}, At(30 + 319, 150));
    QCOMPARE(f.form.Picture1->surface().image(), before);
    // Shown above the box at the slot's column, between the title and the box.
    const QImage shown = f.form.Picture1->grab().toImage();
    const QPoint tip = At(30 + 319, 47);
    QCOMPARE(shown.pixel(tip), qRgb(0xc0, 0, 0));
    QCOMPARE(shown.pixel(At(30 + 330, 47)), before.pixel(330 + 30, 47));
}

void TestPictures::copyPutsTheSurfaceImageOnTheClipboard() {
    Fixture f;
    f.form.HScroll1->setValue(319); // a polar plot, and the marker on the chart
    for (PictureBox* picture : {f.form.Picture1, f.form.Picture2}) {
        QCOMPARE(picture->copyAction()->text(), "画像をコピー");
        picture->copyAction()->trigger();
        const QImage copied = QGuiApplication::clipboard()->image();
        QCOMPARE(copied.convertToFormat(QImage::Format_RGB32),
                 picture->surface().image().convertToFormat(QImage::Format_RGB32));
    }
}

void TestPictures::saveWritesTheSurfaceImage() {
    Fixture f;
    f.form.HScroll4->setValue(2);
    f.form.HScroll1->setValue(319);
    QTemporaryDir out;
    f.dialogs->saveChoice = out.filePath("polar.png");
    QCOMPARE(f.form.Picture2->saveAction()->text(), "画像を保存...");
    f.form.Picture2->saveAction()->trigger();
    QCOMPARE(f.dialogs->lastSaveRequest.fileName, "261208-1038-x2.png");
    QCOMPARE(f.dialogs->lastSaveRequest.folder, f.folder.path());
    QCOMPARE(f.dialogs->lastSaveRequest.defaultSuffix, "png");
    QCOMPARE(QImage(out.filePath("polar.png")).convertToFormat(QImage::Format_RGB32),
             f.form.Picture2->surface().image().convertToFormat(QImage::Format_RGB32));

    f.dialogs->saveChoice = out.filePath("chart.png");
    f.form.Picture1->saveAction()->trigger();
    QCOMPARE(f.dialogs->lastSaveRequest.fileName, "261208.png");
    QCOMPARE(QImage(out.filePath("chart.png")).convertToFormat(QImage::Format_RGB32),
             f.form.Picture1->surface().image().convertToFormat(QImage::Format_RGB32));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), 2); // no temporary left
    QCOMPARE(f.dialogs->warnings, 0);
}

void TestPictures::failedSaveWarnsAndLeavesNoFile() {
    // A folder that cannot be written even by root, whom the permissions of
    // a read-only folder do not stop: one "inside" a regular file.
    Fixture f;
    QTemporaryDir out;
    const QString notAFolder = WriteTestFile(out.filePath("file"), "x");
    const QString target = notAFolder + "/chart.png";
    f.dialogs->saveChoice = target;
    f.form.Picture1->saveAction()->trigger();
    QCOMPARE(f.dialogs->warnings, 1);
    QVERIFY2(f.dialogs->lastWarning.startsWith("dirchart|画像を保存できませんでした。\n\n" +
                                               target + "\n\n"),
             qPrintable(f.dialogs->lastWarning));
    QVERIFY(!f.dialogs->lastWarning.endsWith("\n\n")); // a reason is given
    QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{"file"});
    QCOMPARE(QFileInfo(notAFolder).size(), 1);
}

void TestPictures::accessibleNamesAndDescriptions() {
    Fixture f(false);
    const QList<QWidget*> controls{f.form.Picture1, f.form.cmd1,     f.form.Picture2,
                                   f.form.HScroll1, f.form.HScroll2, f.form.HScroll3,
                                   f.form.Text1,    f.form.Command1, f.form.Text2,
                                   f.form.Text3,    f.form.HScroll4, f.form.Label1};
    for (QWidget* control : controls)
        QVERIFY2(!control->accessibleName().isEmpty(), control->metaObject()->className());
    QCOMPARE(f.form.HScroll1->accessibleName(), "時刻");
    QCOMPARE(f.form.HScroll4->accessibleName(), "倍率");
    QCOMPARE(f.form.Text1->accessibleName(), "観測ログのパス");

    f.form.LoadLog(f.log);
    QCOMPARE(f.form.Picture1->accessibleDescription(), "2026/12/08 の観測ログ");
    f.form.HScroll4->setValue(2);
    f.form.HScroll1->setValue(319);
    QCOMPARE(f.form.Picture2->accessibleDescription(), "10:38 倍率 2");
}

void TestPictures::focusedSliderShowsAFrame() {
    Fixture f(false);
    HScrollBar* bar = f.form.HScroll2;
    const QRgb highlight = bar->palette().color(QPalette::Highlight).rgb();
    QVERIFY(bar->grab().toImage().pixel(bar->width() / 2, 0) != highlight);
    bar->setFocus();
    QTRY_VERIFY(bar->hasFocus());
    QCOMPARE(bar->grab().toImage().pixel(bar->width() / 2, 0), highlight);
    f.form.HScroll1->setFocus();
    QTRY_VERIFY(!bar->hasFocus());
    QVERIFY(bar->grab().toImage().pixel(bar->width() / 2, 0) != highlight);
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
