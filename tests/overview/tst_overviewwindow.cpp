// SPDX-License-Identifier: MIT
// The overview window on a small archive: thumbnails and stack rows arrive
// from the worker threads, clicks and keys choose days, and the folder is
// followed as logs appear and grow.
#include "DayMarks.h"
#include "Form1.h"
#include "MarkCommands.h"
#include "HScrollBar.h"
#include "OverviewWindow.h"
#include "PictureBox.h"
#include "SignalColour.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"

#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QScrollBar>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

namespace fs = std::filesystem;

namespace {

// A day whose every cell holds `value`, so that its thumbnail is one colour.
QByteArray FlatDay(int value) {
    ObservationGrid grid;
    std::fill(grid.cells.begin(), grid.cells.end(), std::int16_t(value));
    return LogBytes(grid);
}

Day D(const char* yymmdd) {
    return *LogDate(std::string(yymmdd) + ".log");
}

struct Choice {
    QString log;
    int slot = -1; // -1 for none
};

} // namespace

class TestOverviewWindow : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void thumbnailsArrive();
    void clicksAndKeysChooseDays();
    void followsTheFolder();
    void mainWindowShowsTheChosenDay();
    void unrecordedCellsSaySo();
    void weekFitsANarrowWindow();

  private:
    QString log(const char* yymmdd) const { return m_dir->filePath(yymmdd + QStringLiteral(".log")); }
    // Opens the window on the folder with 261208 shown, and waits for every day.
    std::unique_ptr<OverviewWindow> open() {
        auto window = std::make_unique<OverviewWindow>(m_dir->path().toStdString(),
                                                       log("261208").toStdString());
        window->resize(1500, 900); // every day in view
        window->show();
        connect(window.get(), &OverviewWindow::dayChosen, this,
                [this](const fs::path& path, std::optional<int> slot) {
                    m_chosen.append({QString::fromStdString(path.filename()), slot.value_or(-1)});
                });
        if (!QTest::qWaitFor([&] { return window->allRead(); }, 5000))
            qFatal("the overview did not read its logs");
        return window;
    }
    QPoint cellCentre(OverviewWindow& window, Day day) const {
        return window.calendar()->cellRect(day).center() + QPoint(0, 8);
    }

    std::optional<QTemporaryDir> m_dir;
    QList<Choice> m_chosen;
};

void TestOverviewWindow::init() {
    m_dir.emplace();
    m_chosen.clear();
    // December 1 to 10, 2026, without the 5th; the 6th is a folder, which
    // day stepping passes by; 260230 is no date.
    for (int day = 1; day <= 10; ++day)
        if (day != 5 && day != 6)
            WriteTestFile(log(qPrintable(QStringLiteral("2612%1").arg(day, 2, 10, QChar('0')))),
                          FlatDay(100 * day));
    QVERIFY(QDir(m_dir->path()).mkdir("261206.log"));
    WriteTestFile(log("260230"), FlatDay(1));
}

void TestOverviewWindow::thumbnailsArrive() {
    WriteTestFile(m_dir->filePath("261203.marks.json"), R"({"dirchart_marks": 1, "marks": [
        {"id": "a", "start": "01:00", "end": "02:00", "from": 0, "to": 360}]})");
    const auto window = open();
    QVERIFY(window->windowTitle().contains(QStringLiteral("一覧")));
    QVERIFY(window->windowTitle().contains(QDir(m_dir->path()).dirName()));
    OverviewCalendar& calendar = *window->calendar();
    QCOMPARE(calendar.shownDay(), std::optional(D("261208")));
    QCOMPARE(calendar.selectedDay(), std::optional(D("261208")));

    const QImage shot = calendar.viewport()->grab().toImage();
    for (const auto& [day, value] : {std::pair{"261203", 300}, std::pair{"261210", 1000}}) {
        const QRect cell = calendar.cellRect(D(day));
        QCOMPARE(shot.pixel(cell.center() + QPoint(0, 8)), CellArgb(value));
        // A day with marks has a flag in its thumbnail's corner.
        const QRgb corner = shot.pixel(cell.right() - 3, cell.bottom() - 47 + 3);
        QCOMPARE(corner == qRgb(0xe0, 0x10, 0x90), value == 300);
    }
    // The day without a log is an empty frame.
    QCOMPARE(shot.pixel(calendar.cellRect(D("261205")).center() + QPoint(0, 8)),
             calendar.palette().color(QPalette::Base).rgb());
    // Its stack band is hatched; the others show the day's row.
    const ImageSurface& time = window->stack(DayStack::Time)->surface();
    QCOMPARE(time.pixel(StackGeometry::BandRect(DayStack::Time, 8, 10).center().x(),
                        StackGeometry::BandRect(DayStack::Time, 8, 10).center().y()),
             CellArgb(900));
    const QRect missing = StackGeometry::BandRect(DayStack::Time, 4, 10);
    QVERIFY(time.pixel(missing.center().x(), missing.center().y()) !=
            time.pixel(missing.center().x() + 3, missing.center().y()));

    QStringList labels;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        labels.append(label->text());
        // One font for the kana and the digits of a line.
        const QString family = QFontInfo(label->font()).family();
        QVERIFY2(QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese),
                 qPrintable(family));
    }
    QVERIFY2(labels.filter("260230.log").size() == 1, qPrintable(labels.join('|')));
}

void TestOverviewWindow::clicksAndKeysChooseDays() {
    const auto window = open();
    OverviewCalendar& calendar = *window->calendar();
    QTest::mouseClick(calendar.viewport(), Qt::LeftButton, {}, cellCentre(*window, D("261203")));
    QTest::mouseClick(calendar.viewport(), Qt::LeftButton, {}, cellCentre(*window, D("261205")));
    QCOMPARE(calendar.selectedDay(), std::optional(D("261205"))); // selected, nothing to show

    // Slot 319 of December 8 on the time stack; any column of the direction stack.
    PictureBox& time = *window->stack(DayStack::Time);
    const QRect band = StackGeometry::BandRect(DayStack::Time, 7, 10);
    QTest::mouseClick(&time, Qt::LeftButton, {},
                      time.contentsRect().topLeft() + QPoint(band.left() + 319, band.center().y()));
    PictureBox& direction = *window->stack(DayStack::Direction);
    QTest::mouseClick(&direction, Qt::LeftButton, {},
                      direction.contentsRect().topLeft() +
                          StackGeometry::BandRect(DayStack::Direction, 0, 10).center());

    // From December 1, Right goes a day on, Down a week; past either end the
    // selection stays.
    calendar.setFocus();
    QTest::keyClick(&calendar, Qt::Key_Right);
    QTest::keyClick(&calendar, Qt::Key_Return);
    QTest::keyClick(&calendar, Qt::Key_Up);
    QTest::keyClick(&calendar, Qt::Key_Down);
    QTest::keyClick(&calendar, Qt::Key_Down); // past the last day: stays
    QTest::keyClick(&calendar, Qt::Key_Enter);

    const QList<std::pair<QString, int>> expected{
        {"261203.log", -1}, {"261208.log", 319}, {"261201.log", -1}, {"261202.log", -1},
        {"261209.log", -1}};
    QCOMPARE(m_chosen.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QCOMPARE(m_chosen[i].log, expected[i].first);
        QCOMPARE(m_chosen[i].slot, expected[i].second);
    }

    window->setShownLog(log("261202").toStdString());
    QCOMPARE(calendar.shownDay(), std::optional(D("261202")));
    window->setShownLog("/elsewhere/261203.log");
    QCOMPARE(calendar.shownDay(), std::nullopt);

    QTest::keyClick(&calendar, Qt::Key_Escape);
    QVERIFY(!window->isVisible());
}

void TestOverviewWindow::followsTheFolder() {
    const auto window = open();
    // A new day after the last, and a day still being written.
    WriteTestFile(log("261211"), FlatDay(700));
    WriteTestFile(log("261212"), FlatDay(200).left(1000));
    QTRY_VERIFY_WITH_TIMEOUT(window->calendar()->calendar().last() == D("261212") &&
                                 window->allRead(),
                             2500);
    const QImage before = window->stack(DayStack::Direction)->surface().image();
    WriteTestFile(log("261212"), FlatDay(200).left(1000) + FlatDay(600).mid(1000));
    const QRect band = StackGeometry::BandRect(DayStack::Time, 11, 12);
    const ImageSurface& time = window->stack(DayStack::Time)->surface();
    QTRY_COMPARE_WITH_TIMEOUT(time.pixel(band.right(), band.center().y()), CellArgb(600), 2500);
    QCOMPARE(time.pixel(band.left() + 1, band.center().y()), CellArgb(200));
    QVERIFY(window->stack(DayStack::Direction)->surface().image() != before);
}

// From the main window: Ctrl+L opens the shown log's folder (a folder dialog
// without a log), a thumbnail shows its day there, the time stack its day and
// slot, and the colour settings recolour the thumbnails.
void TestOverviewWindow::mainWindowShowsTheChosenDay() {
    auto* dialogs = new ScriptedDialogs;
    Form1 form{std::unique_ptr<LoadDialogs>(dialogs)};
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(dialogs->folderQuestions, 1);
    QVERIFY(!form.findChild<OverviewWindow*>());

    form.loadLog(log("261208"));
    form.HScroll4->setValue(3);
    QTest::keyClick(&form, Qt::Key_L, Qt::ControlModifier);
    auto* window = form.findChild<OverviewWindow*>();
    QVERIFY(window);
    window->resize(1500, 900);
    QVERIFY(QTest::qWaitFor([&] { return window->allRead(); }, 5000));
    OverviewCalendar& calendar = *window->calendar();
    QTest::mouseClick(calendar.viewport(), Qt::LeftButton, {}, cellCentre(*window, D("261203")));
    QCOMPARE(form.shownLog(), log("261203"));
    QCOMPARE(calendar.shownDay(), std::optional(D("261203")));
    PictureBox& time = *window->stack(DayStack::Time);
    const QRect band = StackGeometry::BandRect(DayStack::Time, 7, 10);
    QTest::mouseClick(&time, Qt::LeftButton, {},
                      time.contentsRect().topLeft() + QPoint(band.left() + 319, band.center().y()));
    QCOMPARE(form.shownLog(), log("261208"));
    QCOMPARE(form.HScroll1->value(), 319);
    QCOMPARE(form.HScroll4->value(), 3);
    QCOMPARE(dialogs->questionsAsked, 0);
    QCOMPARE(window->focusWidget(), &calendar); // the click left the keys there

    form.view().setColours({0, 1023, Stretch::Linear, ColourMapId::Grey});
    const QImage shot = calendar.viewport()->grab().toImage();
    QCOMPARE(shot.pixel(cellCentre(*window, D("261203"))),
             form.view().colourTable().CellArgb(300));
    // Ctrl+L again: the same window, to the front.
    QTest::keyClick(&form, Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(form.findChildren<OverviewWindow*>().size(), 1);

    // Closed, the day before shown, and opened again: on the day shown now,
    // the keys on the calendar.
    QTest::keyClick(&calendar, Qt::Key_Escape);
    QVERIFY(!window->isVisible());
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(form.HScroll1, Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(form.shownLog(), log("261207"));
    QTest::keyClick(&form, Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(calendar.selectedDay(), std::optional(D("261207")));
    QCOMPARE(window->focusWidget(), &calendar);
    QTest::keyClick(&calendar, Qt::Key_Right);
    QCOMPARE(calendar.selectedDay(), std::optional(D("261208")));

    // The day's flag follows marks made and deleted in the window.
    const auto flagged = [&] {
        const QRect cell = calendar.cellRect(D("261207"));
        return calendar.viewport()->grab().toImage().pixel(cell.right() - 3, cell.bottom() - 44) ==
               qRgb(0xe0, 0x10, 0x90);
    };
    QVERIFY(!flagged());
    QVERIFY(form.marks().markCells(100, 200, 170, 179));
    QVERIFY(flagged());
    QVERIFY(form.marks().deleteMark(std::string(form.marks().marks().marks().at(0).id())));
    QVERIFY(!flagged());
}

// Where a log recorded nothing (an empty file, the slots past a short log's
// end), the tooltips say so rather than reading a 0; a name that is no
// regular file is a log that cannot be read.
void TestOverviewWindow::unrecordedCellsSaySo() {
    WriteTestFile(log("261211"), QByteArray());
    WriteTestFile(log("261212"), FlatDay(200).left(100 * 360)); // slots 0 to 99
    // Names that are no regular file are logs that cannot be read, as on the
    // archive's page: the folder of the 6th, a dangling link.
    QVERIFY(QFile::link(m_dir->filePath("nowhere"), log("261213")));
    const auto window = open();
    OverviewCalendar& calendar = *window->calendar();
    const auto calendarTip = [&](const char* day) {
        const QPoint at = cellCentre(*window, D(day));
        QHelpEvent help(QEvent::ToolTip, at, calendar.viewport()->mapToGlobal(at));
        QApplication::sendEvent(calendar.viewport(), &help);
        return QToolTip::text();
    };
    QVERIFY2(calendarTip("261211").endsWith("\n記録なし"), qPrintable(calendarTip("261211")));
    QVERIFY2(calendarTip("261212").contains("最大 200"), qPrintable(calendarTip("261212")));
    for (const char* day : {"261206", "261213"})
        QVERIFY2(calendarTip(day).contains("読み込めません"), qPrintable(calendarTip(day)));

    const auto stackTip = [&](DayStack kind, int day, int column) {
        PictureBox& stack = *window->stack(kind);
        const QRect band = StackGeometry::BandRect(kind, day, 13);
        return stack.toolTipAt(stack.contentsRect().topLeft() +
                               QPointF(band.left() + column + 0.5, band.center().y()));
    };
    struct Row {
        DayStack kind;
        int day, column;
        const char* ends;
    };
    for (const Row& row : {Row{DayStack::Time, 11, 99, "　200"}, Row{DayStack::Time, 11, 100, "　記録なし"},
                           Row{DayStack::Time, 10, 0, "　記録なし"},
                           Row{DayStack::Direction, 10, 5, "　記録なし"},
                           Row{DayStack::Direction, 11, 179, "　200"}}) {
        const QString tip = stackTip(row.kind, row.day, row.column);
        QVERIFY2(tip.endsWith(QString::fromUtf8(row.ends)), qPrintable(tip));
    }
}

// In a window narrower than a week of full-size thumbnails (a 1280 x 800
// laptop screen at 150 %, say) the thumbnails are smaller, every weekday
// stays in view and nothing scrolls sideways.
void TestOverviewWindow::weekFitsANarrowWindow() {
    const auto window = open();
    OverviewCalendar& calendar = *window->calendar();
    const int fullWidth = calendar.cellRect(D("261201")).width();
    window->resize(900, 700);
    QTRY_VERIFY(calendar.viewport()->width() < 900);
    QCOMPARE(calendar.horizontalScrollBar()->maximum(), 0);
    const QImage shot = calendar.viewport()->grab().toImage();
    for (int day = 1; day <= 7; ++day) {
        const QRect cell = calendar.cellRect(D(qPrintable(QStringLiteral("26120%1").arg(day))));
        QVERIFY2(cell.left() >= 0 && cell.right() < calendar.viewport()->width(),
                 qPrintable(QStringLiteral("day %1 at %2..%3").arg(day).arg(cell.left()).arg(cell.right())));
        QVERIFY(cell.width() < fullWidth);
        if (day != 5 && day != 6)
            QCOMPARE(shot.pixel(cell.center() + QPoint(0, 6)), CellArgb(100 * day));
    }
}

QTEST_MAIN(TestOverviewWindow)
#include "tst_overviewwindow.moc"
