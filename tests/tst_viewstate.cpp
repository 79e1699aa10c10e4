// SPDX-License-Identifier: MIT
// The window's state and the ways a log reaches it: what is shown changes
// once per change, the day keys get past a day they cannot read, a drop is
// finished before its warning, a followed log is replotted while it is
// written and says when it has vanished, and names that are not UTF-8 work.
#include "ColourDialog.h"
#include "EventsWindow.h"
#include "Form1.h"
#include "ChartFrame.h"
#include "LoadCommand.h"
#include "LogLoader.h"
#include "RememberedSettings.h"
#include "ViewCommands.h"
#include "HScrollBar.h"
#include "LogFollower.h"
#include "PathText.h"
#include "PictureBox.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTableView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QTimer>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <sys/stat.h>

#include <filesystem>

namespace {

ObservationGrid Filled(std::int16_t value) {
    ObservationGrid grid;
    std::fill(grid.cells.begin(), grid.cells.end(), value);
    return grid;
}

// A log written into `folder` under a name given as bytes.
QString WriteLog(const QString& folder, std::string_view name, const QByteArray& bytes) {
    const QString path = folder + QLatin1Char('/') + PathFromBytes(name);
    // QFile cannot name such a file; the system can.
    FILE* out = std::fopen(PathBytes(path).c_str(), "wb");
    if (!out || std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out) != size_t(bytes.size()))
        qFatal("cannot write %s", PathBytes(path).c_str());
    std::fclose(out);
    return path;
}

struct Fixture {
    ScriptedDialogs* dialogs = new ScriptedDialogs;
    Form1 form{std::unique_ptr<LoadDialogs>(dialogs)};
};

} // namespace

class TestViewState : public QObject {
    Q_OBJECT
  private slots:
    void unchangedValuesAreIgnored();
    void dayKeysGoOnFromADayTheyCannotRead();
    void dropIsFinishedBeforeItsWarning();
    void steadyWriterIsShownWhileItWrites();
    void vanishedLogIsGreyedOut();
    void cellsPastTheEndAreNotRecorded();
    void pathBytesRoundTrip_data();
    void pathBytesRoundTrip();
    void namesThatAreNotUtf8();
    void playingAndTypingMoveTheView();
    void coloursPreviewAndAreRemembered();
    void autoTakesTheDayShownWhenPressed();
    void valuesOutOfTheMenus();
    void eventRowMovesTheSlider();
};

void TestViewState::unchangedValuesAreIgnored() {
    Fixture f;
    QTemporaryDir dir;
    const QString log = WriteTestFile(dir.filePath("261208.log"), LogBytes(Filled(300)));
    ViewState& view = f.form.view();
    QSignalSpy slotSpy(&view, &ViewState::slotChanged), gains(&view, &ViewState::gainChanged),
        loads(&view, &ViewState::logChanged);
    view.setSlot(300);
    view.setSlot(300);
    f.form.HScroll1->setValue(300);
    view.setGain(7);
    f.form.HScroll4->setValue(7);
    QCOMPARE(slotSpy.count(), 1);
    QCOMPARE(gains.count(), 1);
    QCOMPARE(f.form.HScroll1->value(), 300);
    QCOMPARE(f.form.Text2->text(), "10:00");
    QCOMPARE(f.form.Text3->text(), "7");
    QCOMPARE(f.form.PolarGain, 7.f);
    // Every load is shown again, the same file too.
    f.form.LoadLog(log);
    f.form.LoadLog(log);
    QCOMPARE(loads.count(), 2);
}

void TestViewState::dayKeysGoOnFromADayTheyCannotRead() {
    QTemporaryDir days;
    const QString first = WriteTestFile(days.filePath("261207.log"), LogBytes(Filled(100)));
    // A regular file whose read fails with an I/O error, whoever runs the test.
    QVERIFY(QFile::link("/proc/self/mem", days.filePath("261208.log")));
    const QString third = WriteTestFile(days.filePath("261209.log"), LogBytes(Filled(900)));
    Fixture f;
    f.form.LoadLog(first);
    const QImage shown = f.form.Picture1->surface().image();
    const auto key = [&](Qt::Key k) { QTest::keyClick(f.form.HScroll1, k, Qt::AltModifier); };
    f.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));

    key(Qt::Key_Right);
    QCOMPARE(f.dialogs->warnings, 1);
    QCOMPARE(f.form.ShownLog(), first);
    QCOMPARE(f.form.Text1->text(), first);
    QCOMPARE(f.form.Picture1->surface().image(), shown);
    key(Qt::Key_Right); // on from the day that failed
    QCOMPARE(f.form.ShownLog(), third);
    key(Qt::Key_Left);
    QCOMPARE(f.dialogs->warnings, 2);
    // Any other load starts the keys from the shown day again.
    f.form.LoadLog(third);
    key(Qt::Key_Left);
    QCOMPARE(f.dialogs->warnings, 3);
    f.form.LoadLog(third);
    key(Qt::Key_Right);
    QCOMPARE(f.form.ShownLog(), third);
    QCOMPARE(f.dialogs->warnings, 3);

    // A start on the day that cannot be read: the keys go on from it.
    Fixture start;
    start.form.LoadLog(days.filePath("261208.log"));
    QCOMPARE(start.dialogs->warnings, 1);
    start.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&start.form));
    QTest::keyClick(start.form.HScroll1, Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(start.form.ShownLog(), third);
}

void TestViewState::dropIsFinishedBeforeItsWarning() {
    QTemporaryDir dir;
    QVERIFY(QFile::link("/proc/self/mem", dir.filePath("261208.log")));
    Fixture f;
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(dir.filePath("261208.log"))});
    QDragEnterEvent enter({10, 10}, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&f.form, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&f.form, &drop);
    QCOMPARE(f.dialogs->warnings, 0);
    QTRY_COMPARE(f.dialogs->warnings, 1);
}

// A recorder that appends every 100 ms is shown within half a second of its
// first write, long before it stops.
void TestViewState::steadyWriterIsShownWhileItWrites() {
    QTemporaryDir dir;
    const QByteArray day = LogBytes(Filled(500));
    const QString path = WriteTestFile(dir.filePath("261208.log"), day.left(2 * 180));
    Fixture f;
    f.form.LoadLog(path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append | QIODevice::Unbuffered));
    QElapsedTimer clock;
    qint64 shownAt = -1;
    clock.start();
    for (int write = 1; write <= 20; ++write) {
        file.write(day.mid(2 * 180 * write, 2 * 180));
        while (clock.elapsed() < 100 * write) {
            QTest::qWait(5);
            if (shownAt < 0 && f.form.view().coveredCells() > 180)
                shownAt = clock.elapsed();
        }
    }
    QVERIFY2(shownAt >= 0 && shownAt <= 500, qPrintable(QString::number(shownAt)));
}

void TestViewState::vanishedLogIsGreyedOut() {
    QTemporaryDir dir;
    const QString path = WriteTestFile(dir.filePath("261208.log"), LogBytes(Filled(500)));
    Fixture f;
    f.form.LoadLog(path);
    const QColor normal = f.form.Text1->palette().color(QPalette::Text);
    QVERIFY(QFile::remove(path));
    QTRY_COMPARE(f.form.Text1->toolTip(), "ファイルがありません");
    QCOMPARE(f.form.Text1->palette().color(QPalette::Text),
             f.form.Text1->palette().color(QPalette::Disabled, QPalette::Text));
    QCOMPARE(f.form.Text1->text(), path);
    WriteTestFile(path, LogBytes(Filled(600)));
    QTRY_COMPARE(f.form.Text1->toolTip(), "");
    QCOMPARE(f.form.Text1->palette().color(QPalette::Text), normal);
}

void TestViewState::cellsPastTheEndAreNotRecorded() {
    QTemporaryDir dir;
    ObservationGrid grid; // slot 0 all 0, slot 1 all 7; the file ends there
    std::fill_n(grid.cells.begin() + 180, 180, std::int16_t(7));
    Fixture f;
    f.form.LoadLog(WriteTestFile(dir.filePath("261208.log"), LogBytes(grid).left(2 * 360)));
    const auto tip = [&](int slot) { return f.form.Picture1->toolTipAt(QPoint(2 + 30 + slot, 2 + 200)); };
    QCOMPARE(tip(0), "0:00  60°  0");
    QCOMPARE(tip(1), "0:02  60°  7");
    QCOMPARE(tip(2), "0:04  60°  記録なし");
    f.form.HScroll1->setValue(2);
    QCOMPARE(f.form.Picture2->toolTipAt({2 + 132, 2 + 100}), "0°  記録なし");
}

void TestViewState::pathBytesRoundTrip_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ascii") << QByteArray("/logs/261208.log") << "/logs/261208.log";
    QTest::newRow("japanese") << QByteArray("/観測/261208.log") << "/観測/261208.log";
    QTest::newRow("latin-1 bytes") << QByteArray("/\xff\xfe" "261227.log") << "/\ufffd\ufffd261227.log";
    QTest::newRow("cut sequence") << QByteArray("/\xe8\xa6" "a") << "/\ufffd\ufffda";
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << "\ufffd\ufffd";
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xb2\x80") << "\ufffd\ufffd\ufffd";
    QTest::newRow("astral") << QByteArray("\xf0\x9f\x93\x88") << "\U0001f4c8";
}

void TestViewState::pathBytesRoundTrip() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    const QString path = PathFromBytes(bytes.toStdString());
    QCOMPARE(QByteArray::fromStdString(PathBytes(path)), bytes);
    QCOMPARE(PathForDisplay(path), shown);
}

// A folder and logs whose names are not UTF-8: loaded, stepped through and
// followed by their bytes, shown with replacement characters.
void TestViewState::namesThatAreNotUtf8() {
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/') + PathFromBytes("\xff\xfe");
    QCOMPARE(::mkdir(PathBytes(folder).c_str(), 0700), 0);
    const QString first = WriteLog(folder, "\xe9t\xe9-261227.log", LogBytes(Filled(100)));
    const QString second = WriteLog(folder, "261228.log", LogBytes(Filled(200)).left(360));
    Fixture f;
    f.form.LoadLog(first);
    QCOMPARE(f.dialogs->warnings, 0);
    QCOMPARE(f.form.ShownLog(), first);
    QCOMPARE(f.form.Text1->text(), PathForDisplay(first));
    QVERIFY(f.form.SignalGrid == Filled(100));
    f.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    QTest::keyClick(f.form.HScroll1, Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(f.form.ShownLog(), second);
    // Followed while it grows.
    FILE* out = std::fopen(PathBytes(second).c_str(), "ab");
    QVERIFY(out);
    const QByteArray rest = LogBytes(Filled(200)).mid(360);
    QCOMPARE(std::fwrite(rest.constData(), 1, size_t(rest.size()), out), size_t(rest.size()));
    std::fclose(out);
    QTRY_VERIFY(f.form.SignalGrid == Filled(200));
    // QTemporaryDir cannot name the folder either.
    std::filesystem::remove_all(FileSystemPath(folder));
}

// The window's keys and text boxes reach the view state: Space on a slider
// and Ctrl+Space play and stop, a time typed into Text2 moves the slider, a
// gain out of range is refused.
void TestViewState::playingAndTypingMoveTheView() {
    Fixture f;
    f.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    f.form.HScroll1->setFocus();
    QTest::keyClick(f.form.HScroll1, Qt::Key_Space);
    QTRY_VERIFY(f.form.HScroll1->value() > 0);
    QTest::keyClick(f.form.Text1, Qt::Key_Space, Qt::ControlModifier);
    const int stoppedAt = f.form.HScroll1->value();
    QTest::qWait(300);
    QCOMPARE(f.form.HScroll1->value(), stoppedAt);

    f.form.Text2->setFocus();
    f.form.Text2->selectAll();
    QTest::keyClicks(f.form.Text2, "15:01");
    QTest::keyClick(f.form.Text2, Qt::Key_Return);
    QCOMPARE(f.form.HScroll1->value(), 450);
    QCOMPARE(f.form.Text2->text(), "15:00");
    f.form.Text3->setFocus();
    f.form.Text3->selectAll();
    QTest::keyClicks(f.form.Text3, "51");
    QTest::keyClick(f.form.Text3, Qt::Key_Return);
    QCOMPARE(f.form.Text3->text(), "1");
    QCOMPARE(f.form.HScroll4->value(), 1);
}

// The colour dialog's settings show on the chart while it is open, Cancel
// goes back, OK keeps them, and a new start of the viewer has them again.
void TestViewState::coloursPreviewAndAreRemembered() {
    QTemporaryDir config, dir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const QString log = WriteTestFile(dir.filePath("261208.log"), LogBytes(Filled(300)));
    const auto chartIn = [&](ColourMapId map) {
        ImageSurface chart(ChartPictureSize);
        ObservationGrid grid;
        ReadLogFile(log, grid);
        DrawChart(chart, grid, log, ColourTable({0, 1023, Stretch::Linear, map}));
        return chart.image();
    };
    {
        Fixture f;
        RememberedSettings remembered(f.form.view(), f.form.loader(), f.form.commands());
        f.form.LoadLog(log);
        QCOMPARE(f.form.Picture1->surface().image(), chartIn(ColourMapId::Standard));
        // A preview is never written, and a cancelled dialog leaves the file
        // as it was.
        QFile file(config.filePath("dirchart/dirchart.conf"));
        const auto stored = [&] {
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const auto closeFile = qScopeGuard([&] { file.close(); });
        for (const bool ok : {false, true}) {
            QImage previewed;
            const QByteArray before = stored();
            file.close();
            QByteArray during;
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<ColourDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                dialog->mapBox->setCurrentIndex(int(ColourMapId::Viridis));
                previewed = f.form.Picture1->surface().image();
                during = stored();
                file.close();
                ok ? dialog->accept() : dialog->reject();
            });
            f.form.commands().EditColours();
            QCOMPARE(previewed, chartIn(ColourMapId::Viridis));
            QCOMPARE(during, before);
            QVERIFY(!before.contains("viridis"));
            QCOMPARE(stored().contains("viridis"), ok);
            file.close();
            QCOMPARE(f.form.Picture1->surface().image(),
                     chartIn(ok ? ColourMapId::Viridis : ColourMapId::Standard));
        }
    }
    Fixture again;
    RememberedSettings remembered(again.form.view(), again.form.loader(), again.form.commands());
    QCOMPARE(again.form.view().colours().map, ColourMapId::Viridis);
    QCOMPARE(again.form.loader().logFolder(), dir.path());
    qunsetenv("XDG_CONFIG_HOME");
}

// 自動 takes the range of the day shown when it is pressed, though the day
// changed under the open dialog: by a load or by a followed log's growth.
void TestViewState::autoTakesTheDayShownWhenPressed() {
    QTemporaryDir dir;
    ObservationGrid later = Filled(0);
    for (std::size_t i = 0; i < later.cells.size(); ++i)
        later.cells[i] = std::int16_t(1000 + i % 1000);
    Fixture f;
    f.form.LoadLog(WriteTestFile(dir.filePath("261207.log"), LogBytes(Filled(300))));
    for (const bool load : {true, false}) {
        std::optional<ColourRange> taken;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<ColourDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            if (load)
                f.form.LoadLog(WriteTestFile(dir.filePath("261208.log"), LogBytes(later)));
            else
                f.form.view().replaceGrid(Filled(700), int(later.cells.size()));
            dialog->autoButton->click();
            taken = ColourRange{dialog->minimumBox->value(), dialog->maximumBox->value()};
            dialog->reject();
        });
        f.form.commands().EditColours();
        QCOMPARE(taken, AutoColourRange(load ? later : Filled(700)));
    }
}

// The chart's menu: the day's numbers on the clipboard as a table, the
// direction under the pointer written as CSV, greyed out from the keyboard.
void TestViewState::valuesOutOfTheMenus() {
    QTemporaryDir dir;
    ObservationGrid grid = Filled(5);
    grid(0, 120) = -7;
    Fixture f;
    f.form.LoadLog(WriteTestFile(dir.filePath("261208.log"), LogBytes(grid)));
    const auto entry = [&](QMenu& menu, const QString& text) {
        for (QAction* action : menu.actions())
            if (action->text() == text)
                return action;
        qFatal("no menu entry %s", qPrintable(text));
    };
    QMenu fromKeys, fromPoint;
    f.form.Picture1->addPictureActions(&fromKeys);
    f.form.Picture1->addPictureActions(&fromPoint, QPointF(30 + 10.5, 230 - 120 + 0.5));
    QVERIFY(!entry(fromKeys, "この方向を書き出す...")->isEnabled());
    QVERIFY(entry(fromPoint, "この方向を書き出す...")->isEnabled());

    entry(fromKeys, "値をコピー")->trigger();
    const QStringList lines = QGuiApplication::clipboard()->text().split('\n');
    QCOMPARE(lines.size(), 1 + 720 + 1); // and the last line's end
    QVERIFY(lines[0].startsWith("time\t0\t2\t4\t"));
    QCOMPARE(lines[1].split('\t').value(1 + 120), "-7");

    f.dialogs->saveChoice = dir.filePath("out.csv");
    entry(fromPoint, "この方向を書き出す...")->trigger();
    QCOMPARE(f.dialogs->lastSaveRequest.fileName, "261208-240deg.csv");
    QFile csv(dir.filePath("out.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QVERIFY(csv.readAll().startsWith("time,value\n00:00,-7\n00:02,5\n"));
}

// Ctrl+Shift+E shows the day's events; choosing one moves the time slider to
// its peak, and the table follows the next day loaded.
void TestViewState::eventRowMovesTheSlider() {
    QTemporaryDir dir;
    ObservationGrid grid;
    grid(300, 40) = 600;
    grid(301, 41) = 900;
    grid(500, 10) = 700;
    Fixture f;
    f.form.LoadLog(WriteTestFile(dir.filePath("261208.log"), LogBytes(grid)));
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
    f.form.LoadLog(WriteTestFile(dir.filePath("261209.log"), LogBytes(Filled(0))));
    QCOMPARE(events->table->model()->rowCount(), 0);

    // Closed, it does no work; shown again, it has the day shown now.
    events->close();
    f.form.LoadLog(dir.filePath("261208.log"));
    f.form.view().replaceGrid(grid, ObservationGrid::CellCount);
    QCOMPARE(events->table->model()->rowCount(), 0);
    QCOMPARE(events->windowTitle(), "イベント - 261209.log");
    QTest::keyClick(&f.form, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(events->windowTitle(), "イベント - 261208.log");
    QCOMPARE(events->table->model()->rowCount(), 2);
}

QTEST_MAIN(TestViewState)
#include "tst_viewstate.moc"
