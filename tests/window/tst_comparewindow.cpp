// SPDX-License-Identifier: MIT
// Comparing the shown day with a reference day in the window: the reference
// following the day keys, 並べる, 点滅, 差, the readout and the profile.
#include "ChartView.h"
#include "CompareCommands.h"
#include "CompareWindow.h"
#include "DayChart.h"
#include "LogLoader.h"
#include "ReferenceDay.h"
#include "ViewCommands.h"
#include "WindowFixture.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A folder of logs 261206, 261207, 261208 and 261201, each its own pattern,
// the first of them short: it ends inside slot 300.
struct Days {
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    Days() {
        int seed = 0;
        for (const char* name : {"261201.log", "261206.log", "261207.log", "261208.log"})
            WriteTestFile(path(name), LogBytes(Pattern(seed += 100)));
        WriteTestFile(path("261206.log"), LogBytes(Pattern(200)).left(2 * (300 * 180 + 17)));
    }
};

struct Compare : WindowFixture {
    explicit Compare(const QString& log, qreal scale = 1) {
        form.Picture1->setDevicePixelRatio(scale);
        form.loadLog(log);
        form.commands().compare().showCompare();
        window().upperChart->setDevicePixelRatio(scale);
        window().lowerChart->setDevicePixelRatio(scale);
    }
    CompareWindow& window() { return *form.commands().compare().compareWindow(); }
    ReferenceDay& reference() { return form.commands().compare().reference(); }
    QString referenceName() {
        return reference().shown() ? QFileInfo(reference().path()).fileName() : QString();
    }
};

// "6:00-9:00 340-20" as the window and sector boxes read them; empty for
// the whole day.
ChartView ViewOf(const QString& text) {
    if (text.isEmpty())
        return {};
    const QStringList parts = text.split(' ');
    return *SectorView(parts[1].toStdString(), *TimeRangeView(parts[0].toStdString()));
}

QImage ChartOf(const QString& log, qreal scale, const ChartView& view = {}) {
    WindowFixture single;
    single.form.Picture1->setDevicePixelRatio(scale);
    single.form.loadLog(log);
    single.form.view().setChartView(view);
    return single.form.Picture1->surface().image();
}

} // namespace

class TestCompareWindow : public QObject {
    Q_OBJECT
  private slots:
    void referenceFollowsTheDayKeys_data();
    void referenceFollowsTheDayKeys();
    void referenceFromTheMenus();
    void unreadableReferenceWarnsOnce();
    void sideBySideHalvesAreTheDaysCharts_data();
    void sideBySideHalvesAreTheDaysCharts();
    void blinkingShowsOnlyTheTwoDays_data();
    void blinkingShowsOnlyTheTwoDays();
    void differenceAndReadout();
    void profileOfATypedSector();
    void fitsTheScreen();
};

void TestCompareWindow::referenceFollowsTheDayKeys_data() {
    QTest::addColumn<int>("relative");
    QTest::addColumn<QStringList>("references"); // shown 261208, then a day back each
    QTest::newRow("前のログ") << int(RelativeDay::PreviousLog)
                              << QStringList{"261207.log", "261206.log", "261201.log"};
    QTest::newRow("7日前: only 261208 has one")
        << int(RelativeDay::WeekBefore) << QStringList{"261201.log", "", ""};
    QTest::newRow("1年前: none") << int(RelativeDay::YearBefore) << QStringList{"", "", ""};
}

void TestCompareWindow::referenceFollowsTheDayKeys() {
    QFETCH(int, relative);
    QFETCH(QStringList, references);
    const Days days;
    Compare compare(days.path("261208.log"));
    compare.form.view().setReference(
        {ReferenceChoice::Kind::Relative, {}, static_cast<RelativeDay>(relative)});
    for (qsizetype i = 0; i < references.size(); ++i) {
        if (i > 0)
            compare.form.loader().stepDay(-1);
        QCOMPARE(compare.referenceName(), references[i]);
        QCOMPARE(compare.reference().status() == ReferenceDay::Status::Missing,
                 references[i].isEmpty());
    }
    QCOMPARE(compare.dialogs->warnings, 0); // missing is no error
    // A fixed reference stays where it is.
    compare.form.view().setReference({ReferenceChoice::Kind::Fixed, days.path("261208.log"), {}});
    compare.form.loader().stepDay(+1);
    QCOMPARE(compare.referenceName(), "261208.log");
}

void TestCompareWindow::referenceFromTheMenus() {
    // The chart's menu entries set the view state's reference and show it:
    // the relative day checked, 基準日を外す only with one to clear.
    const Days days;
    WindowFixture fixture;
    const auto action = [&](const char* name) {
        return fixture.form.findChild<QAction*>(QString::fromLatin1(name));
    };
    QCOMPARE(action("showCompare")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    QVERIFY(!action("makeReference")->isEnabled());
    QVERIFY(!action("clearReference")->isEnabled());
    fixture.form.loadLog(days.path("261208.log"));
    action("weekBeforeDay")->trigger();
    QCOMPARE(fixture.form.view().reference().relative, RelativeDay::WeekBefore);
    QVERIFY(action("weekBeforeDay")->isChecked());
    QVERIFY(!action("previousLogDay")->isChecked());
    QVERIFY(action("clearReference")->isEnabled());
    action("makeReference")->trigger();
    QCOMPARE(fixture.form.view().reference().kind, ReferenceChoice::Kind::Fixed);
    QCOMPARE(fixture.form.view().reference().path, days.path("261208.log"));
    QVERIFY(!action("weekBeforeDay")->isChecked());
    action("clearReference")->trigger();
    QCOMPARE(fixture.form.view().reference().kind, ReferenceChoice::Kind::None);
    QVERIFY(!action("clearReference")->isEnabled());
}

void TestCompareWindow::unreadableReferenceWarnsOnce() {
    // A reference that cannot be read (a folder) shows as such with one
    // warning, however often the day changes; with the window closed no
    // reference is read, and opening it again reads the current one.
    const Days days;
    QVERIFY(QDir(days.dir.path()).mkdir(QStringLiteral("folder.log")));
    Compare compare(days.path("261208.log"));
    compare.form.view().setReference({ReferenceChoice::Kind::Fixed, days.path("folder.log"), {}});
    compare.form.loader().stepDay(-1);
    compare.form.loader().stepDay(+1);
    QCoreApplication::processEvents();
    QCOMPARE(compare.reference().status(), ReferenceDay::Status::Unreadable);
    QCOMPARE(compare.dialogs->warnings, 1);
    compare.window().close();
    compare.form.view().setReference(
        {ReferenceChoice::Kind::Relative, {}, RelativeDay::PreviousLog});
    QCOMPARE(compare.reference().status(), ReferenceDay::Status::Unreadable);
    compare.form.commands().compare().showCompare();
    QCOMPARE(compare.referenceName(), "261207.log");
    QCoreApplication::processEvents();
    QCOMPARE(compare.dialogs->warnings, 1);
}

void TestCompareWindow::sideBySideHalvesAreTheDaysCharts_data() {
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<QString>("view");
    QTest::newRow("100 %") << 1.0 << "";
    QTest::newRow("200 %") << 2.0 << "";
    // Across the short reference's end (10:00) and across 0 degrees.
    QTest::newRow("zoomed, 150 %") << 1.5 << "9:00-11:00 340-20";
    QTest::newRow("zoomed, 100 %") << 1.0 << "23:00-23:58 200-280";
}

void TestCompareWindow::sideBySideHalvesAreTheDaysCharts() {
    QFETCH(qreal, scale);
    QFETCH(QString, view);
    const Days days;
    Compare compare(days.path("261207.log"), scale);
    QCOMPARE(compare.window().mode(), CompareWindow::Mode::SideBySide);
    QCOMPARE(compare.referenceName(), "261206.log"); // 前のログ by default
    // The window follows a zoom made after it opened.
    compare.form.view().setChartView(ViewOf(view));
    QCOMPARE(compare.window().upperChart->surface().image(),
             ChartOf(days.path("261207.log"), scale, ViewOf(view)));
    QCOMPARE(compare.window().lowerChart->surface().image(),
             ChartOf(days.path("261206.log"), scale, ViewOf(view)));
    // Colours follow the view state in both.
    compare.form.view().setColours({0, 500, Stretch::Sqrt, ColourMapId::Viridis});
    QCOMPARE(compare.window().upperChart->surface().image(),
             compare.form.Picture1->surface().image());
}

void TestCompareWindow::blinkingShowsOnlyTheTwoDays_data() {
    QTest::addColumn<QString>("view");
    QTest::newRow("whole day") << QString();
    QTest::newRow("zoomed") << "6:00-9:00 340-20";
}

void TestCompareWindow::blinkingShowsOnlyTheTwoDays() {
    // Every frame painted while blinking, by hand and by the timer, is the
    // shown day's chart or the reference's as 並べる paints them: never a
    // blank or a mixture, neither painted anew nor as the screen holds it
    // after the swap's partial repaints.
    QFETCH(QString, view);
    const Days days;
    Compare compare(days.path("261208.log"));
    compare.form.view().setChartView(ViewOf(view));
    CompareWindow& window = compare.window();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage shown = window.upperChart->grab().toImage();
    const QImage reference = window.lowerChart->grab().toImage();
    QVERIFY(shown != reference);
    window.setMode(CompareWindow::Mode::Blink);
    QVERIFY(!window.lowerChart->isVisible());
    QCoreApplication::processEvents();
    for (int i = 0; i < 6; ++i) {
        const QImage& expected = window.showingReference() ? reference : shown;
        QCOMPARE(OnScreen(*window.upperChart), expected);
        QCOMPARE(window.upperChart->grab().toImage(), expected);
        QTest::keyClick(&window, Qt::Key_B);
        QCoreApplication::processEvents();
    }
    window.setBlinkInterval(250);
    window.setBlinking(true);
    for (int i = 0; i < 8; ++i) {
        QTest::qWait(60);
        const QImage frame = OnScreen(*window.upperChart);
        QVERIFY(frame == shown || frame == reference);
    }
    window.setBlinking(false);
}

void TestCompareWindow::differenceAndReadout() {
    const Days days;
    // 261206 is short: from slot 300, bin 17 on its cells are black in the
    // difference and read 記録なし.
    Compare compare(days.path("261207.log"));
    CompareWindow& window = compare.window();
    compare.form.loader().stepDay(-1);
    window.setMode(CompareWindow::Mode::Difference);
    compare.form.view().setReference({ReferenceChoice::Kind::Fixed, days.path("261207.log"), {}});
    const QImage image = window.upperChart->surface().image();
    QCOMPARE(image.pixel(30 + 300, 230 - 17), 0xff000000u);
    QVERIFY(image.pixel(30 + 300, 230 - 16) != 0xff000000u);
    QVERIFY(image.pixel(30 + 299, 230 - 100) != 0xff000000u);

    const ObservationGrid shown = Pattern(200), reference = Pattern(300);
    const auto text = [](int v) { return QString::number(v); };
    QCOMPARE(window.readoutText(10, 5), QStringLiteral("0:20  10°  %1 / 基準 %2 / 差 %3")
                                            .arg(text(shown(10, 5)), text(reference(10, 5)),
                                                 (shown(10, 5) > reference(10, 5) ? "+" : "") +
                                                     text(shown(10, 5) - reference(10, 5))));
    QCOMPARE(window.readoutText(300, 17),
             QStringLiteral("10:00  34°  記録なし / 基準 %1 / 差 記録なし")
                 .arg(text(reference(300, 17))));

    // A day against itself: every cell the centre colour, the range 1.
    compare.form.view().setReference({ReferenceChoice::Kind::Fixed, days.path("261206.log"), {}});
    QCOMPARE(window.differenceRange(), 1);
    QCOMPARE(window.upperChart->surface().image().pixel(30 + 100, 230 - 100), 0xfff7f7f7u);
    QVERIFY(window.readoutText(100, 100).endsWith(" / 差 0"));
    // Zoomed to 9:00-11:00: the plot's first column is slot 270, centre
    // colour; its last is slot 330, past the short day's end, black.
    compare.form.view().setChartView(*TimeRangeView("9:00-11:00"));
    const QImage zoomed = window.upperChart->surface().image();
    QCOMPARE(zoomed.pixel(30, 230 - 100), 0xfff7f7f7u);
    QCOMPARE(zoomed.pixel(30 + 719, 230 - 100), 0xff000000u);
}

void TestCompareWindow::profileOfATypedSector() {
    const Days days;
    Compare compare(days.path("261208.log"));
    CompareWindow& window = compare.window();
    QVERIFY(!window.setSector("north"));
    QVERIFY(window.setSector("340-20"));
    const QStringList lines = window.profileValuesText().split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 721);
    QCOMPARE(lines[0], "time\t2026/12/08\t2026/12/07");
    // 10:38 is slot 319: the highest of bins 170..179 and 0..10 in each day.
    const auto highest = [](const ObservationGrid& grid) {
        int best = -32768;
        for (int d = 0; d < 180; ++d)
            if (d >= 170 || d <= 10)
                best = std::max(best, int(grid(319, d)));
        return QString::number(best);
    };
    QCOMPARE(lines[320], "10:38\t" + highest(Pattern(400)) + '\t' + highest(Pattern(300)));

    // Zoomed, the profile runs over the view's time window only.
    compare.form.view().setChartView(*TimeRangeView("9:00-11:00"));
    const QStringList zoomed = window.profileValuesText().split('\n', Qt::SkipEmptyParts);
    QCOMPARE(zoomed.size(), 1 + 61);
    QCOMPARE(zoomed[0], lines[0]);
    QCOMPARE(zoomed[1], lines[1 + 270]);
    QCOMPARE(zoomed[61], lines[1 + 330]);
}

void TestCompareWindow::fitsTheScreen() {
    const Days days;
    Compare compare(days.path("261208.log"));
    for (auto mode : {CompareWindow::Mode::SideBySide, CompareWindow::Mode::Blink,
                      CompareWindow::Mode::Difference}) {
        compare.window().setMode(mode);
        const QSize size =
            compare.window().frameGeometry().size().expandedTo(compare.window().sizeHint());
        QVERIFY2(size.width() <= 1280 && size.height() <= 800,
                 qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
    }
}

QTEST_MAIN(TestCompareWindow)
#include "tst_comparewindow.moc"
