// SPDX-License-Identifier: MIT
// The events window: rows to peaks, a day without events, the saved list.
#include "WindowFixture.h"
#include "EventsWindow.h"
#include "FileSaver.h"
#include "NumberBox.h"
#include "PathText.h"
#include "ScriptedDialogs.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Three events: at 1:00 peaking at 1:04, at 10:36 peaking at 10:38, and at
// 10:36 again, further round, peaking at 10:40.
ObservationGrid ThreeEvents() {
    ObservationGrid grid;
    grid(30, 10) = 600;
    grid(32, 11) = 700;
    grid(31, 10) = 600;
    grid(318, 100) = 600;
    grid(319, 100) = 800;
    grid(318, 150) = 600;
    grid(320, 151) = 900;
    grid(319, 150) = 600;
    return grid;
}

} // namespace

class TestEventsWindow : public QObject {
    Q_OBJECT
  private slots:
    void eventRowMovesTheSlider();
    void rowsReportTheirPeaks();
    void dayWithoutEvents();
    void savedListIsTheCommandLines_data();
    void savedListIsTheCommandLines();
};

void TestEventsWindow::rowsReportTheirPeaks() {
    ScriptedDialogs dialogs;
    FileSaver saver(dialogs, [] { return QStringLiteral("/logs/261208.log"); });
    EventsWindow window(saver);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy peaks(&window, &EventsWindow::peakSelected);
    window.showDay(ThreeEvents(), "/logs/261208.log");
    QCOMPARE(window.table->model()->rowCount(), 3);
    QCOMPARE(window.table->model()->index(1, 0).data().toString(), "10:36");

    const auto click = [&](int row) {
        const QRect cell = window.table->visualRect(window.table->model()->index(row, 3));
        QTest::mouseClick(window.table->viewport(), Qt::LeftButton, {}, cell.center());
    };
    click(1);
    QCOMPARE(peaks.size(), 1);
    QCOMPARE(peaks.last().at(0).toInt(), 319);
    QTest::keyClick(window.table, Qt::Key_Down);
    QCOMPARE(peaks.last().at(0).toInt(), 320);
    QTest::keyClick(window.table, Qt::Key_Up);
    QTest::keyClick(window.table, Qt::Key_Up);
    QCOMPARE(peaks.last().at(0).toInt(), 32);
    QCOMPARE(peaks.size(), 4);

    // The day again (a log that grew): the selection stays and is not reported.
    window.showDay(ThreeEvents(), "/logs/261208.log");
    QCOMPARE(window.table->currentIndex().row(), 0);
    QCOMPARE(peaks.size(), 4);
    // A row chosen again with Enter is reported again.
    QTest::keyClick(window.table, Qt::Key_Return);
    QCOMPARE(peaks.size(), 5);
}

void TestEventsWindow::dayWithoutEvents() {
    ScriptedDialogs dialogs;
    FileSaver saver(dialogs, [] { return QStringLiteral("/logs/261208.log"); });
    EventsWindow window(saver);
    window.showDay(ObservationGrid(), "/logs/261208.log");
    QCOMPARE(window.table->model()->rowCount(), 0);
    QVERIFY(window.summary->text().contains("イベントはありません"));
    window.showDay(ThreeEvents(), "/logs/261208.log");
    QCOMPARE(window.table->model()->rowCount(), 3);
    window.threshold->setValue(850);
    QCOMPARE(window.table->model()->rowCount(), 1);
    QCOMPARE(dialogs.warnings, 0);

    // A threshold past the values' range is refused with the bell.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy bell(window.threshold, &NumberBox::refused);
    window.threshold->setFocus();
    window.threshold->selectAll();
    QTest::keyClicks(window.threshold, "40000");
    QCOMPARE(window.threshold->value(), 4000);
    QCOMPARE(bell.size(), 1);
}

// The same lines as `dirchart --events`, whose first column is the path's
// bytes, UTF-8 or not.
void TestEventsWindow::savedListIsTheCommandLines_data() {
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QString>("suggested");
    QTest::newRow("UTF-8") << QByteArray("/logs/261208.log") << QString("261208-events.csv");
    QTest::newRow("not UTF-8") << QByteArray("/logs/\xff"
                                             "a261208.log")
                               << PathFromBytes("\xff"
                                                "a261208-events.csv");
}

void TestEventsWindow::savedListIsTheCommandLines() {
    QFETCH(QByteArray, log);
    QFETCH(QString, suggested);
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    dialogs.saveChoice = dir.filePath("events.csv");
    const QString path = PathFromBytes(log.toStdString());
    FileSaver saver(dialogs, [path] { return path; });
    EventsWindow window(saver);
    window.showDay(ThreeEvents(), path);
    QTest::mouseClick(window.exportButton, Qt::LeftButton);
    QCOMPARE(dialogs.lastSaveRequest.fileName, suggested);
    QCOMPARE(dialogs.lastSaveRequest.folder, "/logs");
    QFile file(*dialogs.saveChoice);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), "log,start,end,peak_time,peak_direction,peak_value,cells\n" + log +
                                 ",01:00,01:06,01:04,22,700,3\n" + log +
                                 ",10:36,10:40,10:38,200,800,2\n" + log +
                                 ",10:36,10:42,10:40,302,900,3\n");
}

// Ctrl+Shift+E shows the day's events; choosing one moves the time slider to
// its peak, and the table follows the next day loaded.
void TestEventsWindow::eventRowMovesTheSlider() {
    QTemporaryDir dir;
    ObservationGrid grid;
    grid(300, 40) = 600;
    grid(301, 41) = 900;
    grid(500, 10) = 700;
    WindowFixture f;
    f.form.loadLog(WriteTestFile(dir.filePath("261208.log"), LogBytes(grid)));
    f.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    QTest::keyClick(&f.form, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    auto* events = f.form.findChild<EventsWindow*>();
    QVERIFY(events && events->isVisible());
    QCOMPARE(events->table->model()->rowCount(), 2);
    events->table->selectRow(1);
    QCOMPARE(f.form.HScroll1->value(), 500);
    events->table->selectRow(0);
    QCOMPARE(f.form.HScroll1->value(), 301);
    f.form.loadLog(WriteTestFile(dir.filePath("261209.log"), LogBytes(Filled(0))));
    QCOMPARE(events->table->model()->rowCount(), 0);

    // Closed, it does no work; shown again, it has the day shown now.
    events->close();
    f.form.loadLog(dir.filePath("261208.log"));
    f.form.view().replaceGrid(grid, ObservationGrid::CellCount);
    QCOMPARE(events->table->model()->rowCount(), 0);
    QCOMPARE(events->windowTitle(), "イベント - 261209.log");
    QTest::keyClick(&f.form, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(events->windowTitle(), "イベント - 261208.log");
    QCOMPARE(events->table->model()->rowCount(), 2);
}

QTEST_MAIN(TestEventsWindow)
#include "tst_eventswindow.moc"
