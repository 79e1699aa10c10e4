// SPDX-License-Identifier: MIT
#include "ChartFrame.h"
#include "DirectionTimePlot.h"
#include "Form1.h"
#include "HScrollBar.h"
#include "PictureBox.h"
#include "PolarPlot.h"
#include "ScriptedDialogs.h"
#include "SignalColour.h"
#include "TestFiles.h"
#include "WindowFixture.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <cstdio>

namespace {

struct Fixture {
    ScriptedDialogs* dialogs = new ScriptedDialogs;
    Form1 form{std::unique_ptr<LoadDialogs>(dialogs)};

    QImage chart() const { return form.Picture1->surface().image(); }
    void load(const std::optional<QString>& path, bool yes = true) {
        dialogs->answerYes = yes;
        dialogs->choices = {path};
        QTest::mouseClick(form.cmd1, Qt::LeftButton);
    }
};

QImage FrameOnly() {
    ImageSurface s(QSize(813, 277));
    DrawChartFrame(s);
    return s.image();
}

} // namespace

class TestLoadCommand : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void answeringNoChangesNothing();
    void cancelLeavesTheFrameAndTheGrid();
    void asksWithTheLogFilters();
    void loadsAndPlotsEveryCell();
    void loadedPixels_data();
    void loadedPixels();
    void dateLabels_data();
    void dateLabels();
    void loadingTwiceGivesTheSamePicture();
    void secondLogReplacesEveryCell();
    void unreadableLogsAreReported_data();
    void unreadableLogsAreReported();
    void shortLogIsNotMixedWithThePrevious();
    void nonAsciiPath();
    void openDialogStartsWhereTheLastLogWas();
    void loadLeavesThePolarPlotAlone();
    void ratioChangeRedrawsTheSamePictures_data();
    void ratioChangeRedrawsTheSamePictures();

    // Ways in without the Open dialog.
    void dropTakesOneLocalFile_data();
    void dropTakesOneLocalFile();
    void loadWithoutAskingKeepsAnUnreadableLogOut();
    void keysLoadStepThroughDaysAndClose();

  private:
    QString write(const QString& name, const QByteArray& bytes) {
        return WriteTestFile(m_dir.filePath(name), bytes);
    }
    QTemporaryDir m_dir;
};

void TestLoadCommand::answeringNoChangesNothing() {
    Fixture f;
    const QString path = write("030115.log", LogBytes(Pattern(1)));
    f.load(path);
    const QImage loaded = f.chart();
    f.load(write("991231.log", LogBytes(Pattern(2))), false);
    QCOMPARE(f.dialogs->questionsAsked, 2);
    QCOMPARE(f.dialogs->lastQuestion, "dirchart|新しいデータをロードしますか？");
    QCOMPARE(f.dialogs->opens, 1);
    QCOMPARE(f.chart(), loaded);
    QVERIFY(f.form.SignalGrid == Pattern(1));
    QCOMPARE(f.form.Text1->text(), path);
}

void TestLoadCommand::cancelLeavesTheFrameAndTheGrid() {
    Fixture f;
    const QString path = write("030115.log", LogBytes(Pattern(1)));
    f.load(path);
    f.load(std::nullopt);
    QCOMPARE(f.chart(), FrameOnly());
    QVERIFY(f.form.SignalGrid == Pattern(1));
    QCOMPARE(f.form.Text1->text(), path);
    QCOMPARE(f.dialogs->warnings, 0);
}

void TestLoadCommand::asksWithTheLogFilters() {
    Fixture f;
    f.load(std::nullopt);
    QCOMPARE(f.dialogs->opens, 1);
    const OpenDialogRequest& r = f.dialogs->lastRequest;
    QCOMPARE(r.nameFilters, QStringList({"観測ログ(*.log)", "すべてのファイル(*)"}));
    QCOMPARE(r.defaultSuffix, "log");
    QCOMPARE(r.fileName, ".log");
}

void TestLoadCommand::loadsAndPlotsEveryCell() {
    Fixture f;
    const QString path = write("030115.log", LogBytes(Pattern(3)));
    f.load(path);
    QVERIFY(f.form.SignalGrid == Pattern(3));
    QCOMPARE(f.form.Text1->text(), path);
    QCOMPARE(f.chart(), ExpectedChart(Pattern(3), path));
    QCOMPARE(f.dialogs->warnings, 0);
}

void TestLoadCommand::loadedPixels_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("0 is black") << 0 << QRgb(0xff000000);
    QTest::newRow("1 is nearly pure blue") << 1 << QRgb(0xff0001ff);
    QTest::newRow("600") << 600 << QRgb(0xff59ff00);
    QTest::newRow("1023 is red") << 1023 << QRgb(0xffff0000);
    QTest::newRow("negative is blue") << -5 << QRgb(0xff0000ff);
}

void TestLoadCommand::loadedPixels() {
    QFETCH(int, value);
    QFETCH(QRgb, colour);
    ObservationGrid grid;
    std::fill(grid.cells.begin(), grid.cells.end(), static_cast<std::int16_t>(value));
    Fixture f;
    f.load(write("010101.log", LogBytes(grid)));
    const QImage chart = f.chart();
    // A solid block from (30, 51) to (749, 230), and nothing outside it moved.
    for (int y = 51; y <= 230; ++y)
        for (int x = 30; x <= 749; ++x)
            if (chart.pixel(x, y) != colour)
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
    QCOMPARE(chart.pixel(29, 140), 0xff000000u);
    QCOMPARE(chart.pixel(400, 50), 0xff000000u);
    QCOMPARE(chart.pixel(400, 231), 0xff000000u);
}

void TestLoadCommand::dateLabels_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("label");
    QTest::newRow("030115") << "/data/030115.log"
                            << "2003/01/15";
    QTest::newRow("991231") << "/data/991231.log"
                            << "2099/12/31";
    QTest::newRow("no folder") << "261208.log"
                               << "2026/12/08";
    QTest::newRow("upper-case extension") << "/data/261208.LOG"
                                          << "2026/12/08";
    QTest::newRow("prefixed name") << "/data/station-261208.log"
                                   << "2026/12/08";
    // Names of other shapes carry no date and get no label.
    QTest::newRow("letters") << "/data/badname.log" << QString();
    QTest::newRow("short") << "a.log" << QString();
    QTest::newRow("empty") << "" << QString();
    QTest::newRow("digits in the folder") << "/261208.log/x.log" << QString();
    QTest::newRow("other extension") << "/data/261208.txt" << QString();
    QTest::newRow("Japanese") << "/観測/二〇二六年.log" << QString();
    QTest::newRow("full-width digits") << "/data/２６１２０８.log" << QString();
}

void TestLoadCommand::dateLabels() {
    QFETCH(QString, path);
    QFETCH(QString, label);
    QCOMPARE(DateLabelText(path), label);
}

void TestLoadCommand::loadingTwiceGivesTheSamePicture() {
    Fixture f;
    const QString path = write("991231.log", LogBytes(Pattern(4)));
    f.load(path);
    const QImage once = f.chart();
    f.load(path);
    QCOMPARE(f.chart(), once);
    QCOMPARE(once, ExpectedChart(Pattern(4), path));
}

void TestLoadCommand::secondLogReplacesEveryCell() {
    Fixture f;
    f.load(write("030115.log", LogBytes(Pattern(5))));
    const QString second = write("991231.log", LogBytes(Pattern(600)));
    f.load(second);
    QVERIFY(f.form.SignalGrid == Pattern(600));
    QCOMPARE(f.chart(), ExpectedChart(Pattern(600), second));
}

void TestLoadCommand::unreadableLogsAreReported_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");
    // The usual reasons in the window's own language.
    QTest::newRow("gone") << m_dir.filePath("gone.log") << "ファイルがありません";
    QTest::newRow("directory") << m_dir.path() << "フォルダです";
    QTest::newRow("device") << "/dev/zero"
                            << "通常のファイルではありません";
    QTest::newRow("I/O error") << "/proc/self/mem" << "読み書きのエラーが起きました";
}

void TestLoadCommand::unreadableLogsAreReported() {
    QFETCH(QString, path);
    QFETCH(QString, reason);
    Fixture f;
    const QString good = write("030115.log", LogBytes(Pattern(6)));
    f.load(good);
    f.load(path);
    QCOMPARE(f.dialogs->warnings, 1);
    const QString warning = f.dialogs->lastWarning;
    QVERIFY2(warning.startsWith("dirchart|観測ログを読み込めませんでした。"), qPrintable(warning));
    QVERIFY2(warning.contains(path), qPrintable(warning));
    QVERIFY2(warning.contains(reason), qPrintable(warning));
    // No stale cells and no date label: the frame as after a cancel.
    QCOMPARE(f.chart(), FrameOnly());
    QVERIFY(f.form.SignalGrid == Pattern(6));
    QCOMPARE(f.form.Text1->text(), good);
}

void TestLoadCommand::shortLogIsNotMixedWithThePrevious() {
    Fixture f;
    f.load(write("030115.log", LogBytes(Pattern(7))));
    ObservationGrid expected;
    std::fill(expected.cells.begin(), expected.cells.begin() + 180 * 100, std::int16_t(700));
    const QString path = write("030116.log", LogBytes(expected).left(2 * 180 * 100 + 1));
    f.load(path);
    QCOMPARE(f.dialogs->warnings, 0);
    QVERIFY(f.form.SignalGrid == expected);
    QCOMPARE(f.chart(), ExpectedChart(expected, path));
    QCOMPARE(f.chart().pixel(30 + 99, 140), SignalColour(700).argb());
    QCOMPARE(f.chart().pixel(30 + 100, 140), 0xff000000u);
}

void TestLoadCommand::nonAsciiPath() {
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("観測/東京")));
    const QString path = write(QStringLiteral("観測/東京/261208.log"), LogBytes(Pattern(8)));
    Fixture f;
    f.load(path);
    QCOMPARE(f.dialogs->warnings, 0);
    QCOMPARE(f.form.Text1->text(), path);
    QVERIFY(f.form.SignalGrid == Pattern(8));
    QCOMPARE(f.chart(), ExpectedChart(Pattern(8), path));
}

void TestLoadCommand::openDialogStartsWhereTheLastLogWas() {
    QVERIFY(QDir(m_dir.path()).mkpath("day2"));
    Fixture f;
    f.load(write("day2/030115.log", LogBytes(Pattern(9))));
    QVERIFY(!f.dialogs->lastRequest.folder.isEmpty());
    f.load(m_dir.filePath("missing.log"));
    QCOMPARE(f.dialogs->lastRequest.folder, m_dir.filePath("day2"));
    f.load(std::nullopt);
    // An unreadable choice does not move the starting folder.
    QCOMPARE(f.dialogs->lastRequest.folder, m_dir.filePath("day2"));
    QCOMPARE(f.dialogs->opens, 3);
}

void TestLoadCommand::loadLeavesThePolarPlotAlone() {
    Fixture f;
    const QImage polar = f.form.Picture2->surface().image();
    f.load(write("030115.log", LogBytes(Pattern(10))));
    QCOMPARE(f.form.Picture2->surface().image(), polar);
    QCOMPARE(f.form.Text2->text(), "Text2");
}

void TestLoadCommand::dropTakesOneLocalFile_data() {
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<bool>("accepted");
    const QUrl log = QUrl::fromLocalFile(m_dir.filePath("270101.log"));
    QTest::newRow("one log") << QList<QUrl>{log} << true;
    QTest::newRow("two files") << QList<QUrl>{log, log} << false;
    QTest::newRow("folder") << QList<QUrl>{QUrl::fromLocalFile(m_dir.path())} << false;
    QTest::newRow("web address") << QList<QUrl>{QUrl("https://example.org/270101.log")} << false;
    QTest::newRow("missing file") << QList<QUrl>{QUrl::fromLocalFile(m_dir.filePath("gone.log"))}
                                  << false;
}

void TestLoadCommand::dropTakesOneLocalFile() {
    QFETCH(QList<QUrl>, urls);
    QFETCH(bool, accepted);
    write("270101.log", LogBytes(Pattern(11)));
    Fixture f;
    QMimeData mime;
    mime.setUrls(urls);
    mime.setText(urls.constFirst().toString());
    // Dropped on a text box, which must not take the path as text.
    const QPoint centre = f.form.Text1->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.form.Text1, &enter);
    QCOMPARE(enter.isAccepted(), accepted);
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.form.Text1, &drop);

    QCOMPARE(f.dialogs->questionsAsked + f.dialogs->opens, 0);
    QCOMPARE(f.form.shownLog(), accepted ? m_dir.filePath("270101.log") : QString());
    QCOMPARE(f.chart(), accepted ? ExpectedChart(Pattern(11), f.form.shownLog()) : FrameOnly());
}

void TestLoadCommand::loadWithoutAskingKeepsAnUnreadableLogOut() {
    Fixture f;
    const QString good = write("030115.log", LogBytes(Pattern(12)));
    f.form.loadLog(good);
    const QImage shown = f.chart();
    f.form.loadLog(m_dir.filePath("gone.log"));
    QCOMPARE(f.dialogs->warnings, 1);
    QVERIFY(f.dialogs->lastWarning.contains(m_dir.filePath("gone.log")));
    QCOMPARE(f.dialogs->questionsAsked + f.dialogs->opens, 0);
    QCOMPARE(f.chart(), shown);
    QCOMPARE(f.form.Text1->text(), good);
    QCOMPARE(f.form.shownLog(), good);
}

void TestLoadCommand::keysLoadStepThroughDaysAndClose() {
    QTemporaryDir days;
    const auto day = [&](const char* name, int seed) {
        return WriteTestFile(days.filePath(name), LogBytes(Pattern(seed)));
    };
    const QString first = day("261207.log", 20), second = day("261208.log", 21);
    const QString third = day("261211.log", 22);
    day("notes.log", 23);
    Fixture f;
    f.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));

    // Before any log is shown the day keys do nothing.
    QTest::keyClick(f.form.Text2, Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(f.form.shownLog(), QString());

    // Ctrl+O is the load button, wherever the focus is.
    f.dialogs->choices = {second};
    f.form.Text2->setFocus();
    QTest::keyClick(f.form.Text2, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(f.dialogs->questionsAsked, 1);
    QCOMPARE(f.form.shownLog(), second);

    // The slot and the gain stay from day to day, and the polar plot shows
    // the new day's data.
    f.form.HScroll1->setValue(300);
    f.form.HScroll4->setValue(3);
    f.form.HScroll1->setFocus();
    QTest::keyClick(f.form.HScroll1, Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(f.form.shownLog(), third);
    QCOMPARE(f.chart(), ExpectedChart(Pattern(22), third));
    QCOMPARE(f.form.HScroll1->value(), 300);
    QCOMPARE(f.form.HScroll4->value(), 3);
    ImageSurface polar(QSize(261, 261));
    DrawPolarPlot(polar, Pattern(22), 300, f.form.RadPerDeg, 3);
    QCOMPARE(f.form.Picture2->surface().image(), polar.image());

    // At the end nothing changes; back over the gap in two steps.
    QTest::keyClick(f.form.HScroll1, Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(f.form.shownLog(), third);
    QTest::keyClick(f.form.HScroll1, Qt::Key_Left, Qt::AltModifier);
    QTest::keyClick(f.form.HScroll1, Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(f.form.shownLog(), first);
    QCOMPARE(f.form.Text1->text(), first);
    QCOMPARE(f.dialogs->questionsAsked, 1);

    QTest::keyClick(f.form.Text1, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!f.form.isVisible());
}


void TestLoadCommand::ratioChangeRedrawsTheSamePictures_data() {
    QTest::addColumn<bool>("shown"); // a log on the chart and a polar plot
    QTest::newRow("log and polar plot") << true;
    QTest::newRow("load cancelled, no polar plot yet") << false;
}

// On a screen of another ratio both pictures show what they showed before,
// drawn at the new ratio, and the same again on the way back.
void TestLoadCommand::ratioChangeRedrawsTheSamePictures() {
    QFETCH(bool, shown);
    Fixture f;
    const QString path = write("030115.log", LogBytes(Pattern(3)));
    f.load(path);
    if (shown)
        f.form.HScroll1->setValue(100);
    else
        f.load(std::nullopt);
    const QImage chart = f.chart(), polar = f.form.Picture2->surface().image();

    f.form.Picture1->setDevicePixelRatio(2);
    f.form.Picture2->setDevicePixelRatio(2);
    ImageSurface expectedChart(QSize(813, 277), 2), expectedPolar(QSize(261, 261), 2);
    DrawChartFrame(expectedChart);
    if (shown) {
        PlotSignalGrid(expectedChart, Pattern(3));
        PrintDateLabel(expectedChart, path);
        DrawPolarPlot(expectedPolar, Pattern(3), 100, f.form.RadPerDeg, f.form.PolarGain);
    }
    QCOMPARE(f.chart(), expectedChart.image());
    QCOMPARE(f.form.Picture2->surface().image(), expectedPolar.image());

    // Back on the test's screen, of ratio 1: noticed when the window moves
    // there, or at the latest when the picture is painted, and then drawn
    // once that paint is over.
    QEvent screenChange(QEvent::ScreenChangeInternal);
    QCoreApplication::sendEvent(f.form.Picture1, &screenChange);
    QCOMPARE(f.chart(), chart);
    f.form.Picture2->grab();
    QTRY_COMPARE(f.form.Picture2->surface().image(), polar);
}

QTEST_MAIN(TestLoadCommand)
#include "tst_loadcommand.moc"
