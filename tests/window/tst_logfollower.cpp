// SPDX-License-Identifier: MIT
// Following the shown log on disk: replotted while a recorder writes it, through
// a rename, greyed out while it is gone and followed again when it is back.
#include "ChartFrame.h"
#include "ColourDialog.h"
#include "DirectionTimePlot.h"
#include "EventsWindow.h"
#include "Form1.h"
#include "HScrollBar.h"
#include "LogFollower.h"
#include "PathText.h"
#include "PictureBox.h"
#include "PolarPlot.h"
#include "RememberedSettings.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "ViewCommands.h"
#include "WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestLogFollower : public QObject {
    Q_OBJECT
  private slots:
    void steadyWriterIsShownWhileItWrites();
    void vanishedLogIsGreyedOut();
    void followsTheShownLogOnDisk();
};

// A recorder that appends every 100 ms is shown within half a second of its
// first write, long before it stops.
void TestLogFollower::steadyWriterIsShownWhileItWrites() {
    QTemporaryDir dir;
    const QByteArray day = LogBytes(Filled(500));
    const QString path = WriteTestFile(dir.filePath("261208.log"), day.left(2 * 180));
    WindowFixture f;
    f.form.loadLog(path);
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

void TestLogFollower::vanishedLogIsGreyedOut() {
    QTemporaryDir dir;
    const QString path = WriteTestFile(dir.filePath("261208.log"), LogBytes(Filled(500)));
    WindowFixture f;
    f.form.loadLog(path);
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

void TestLogFollower::followsTheShownLogOnDisk() {
    QTemporaryDir folder;
    ObservationGrid day = Pattern(30);
    const QString path =
        WriteTestFile(folder.filePath("261208.log"), LogBytes(day).left(2 * 180 * 10));
    WindowFixture f;
    f.form.loadLog(path);
    f.form.HScroll1->setValue(5); // the polar plot follows too
    const auto shows = [&](const ObservationGrid& grid) {
        ImageSurface polar(QSize(261, 261));
        DrawPolarPlot(polar, grid, 5, f.form.RadPerDeg, 1);
        return f.form.SignalGrid == grid &&
               f.form.Picture1->surface().image() == ExpectedChart(grid, path) &&
               f.form.Picture2->surface().image() == polar.image();
    };

    // Appended to in small pieces: a few replots, not one per write. Each
    // burst of drawing reports one change until it is taken as presented.
    int replots = 0;
    ImageSurface& chart = f.form.Picture1->surface();
    chart.setChangedCallback([&] {
        ++replots;
        QTimer::singleShot(0, [&chart] { chart.markPresented(); });
    });
    chart.markPresented();
    QElapsedTimer writing;
    writing.start();
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        const QByteArray rest = LogBytes(day).mid(2 * 180 * 10);
        for (qsizetype at = 0; at < rest.size(); at += rest.size() / 40) {
            file.write(rest.mid(at, rest.size() / 40));
            file.flush();
            QTest::qWait(10);
        }
    }
    QTRY_VERIFY_WITH_TIMEOUT(shows(day), 1000);
    // At most a few a second, however slowly the machine ran the writes.
    QVERIFY2(replots <= 2 + writing.elapsed() / 200, qPrintable(QString::number(replots)));

    // Replaced through a rename, while another reader still holds the old
    // file open, and then written on.
    QFile reader(path);
    QVERIFY(reader.open(QIODevice::ReadOnly));
    day = Pattern(31);
    const QByteArray whole = LogBytes(day);
    ObservationGrid half;
    std::copy_n(day.cells.begin(), half.cells.size() / 2, half.cells.begin());
    WriteTestFile(folder.filePath("new.tmp"), whole.left(whole.size() / 2));
    // rename(2) replaces the old file in one step, as a recorder would.
    QCOMPARE(std::rename(QFile::encodeName(folder.filePath("new.tmp")).constData(),
                         QFile::encodeName(path).constData()),
             0);
    QTRY_VERIFY_WITH_TIMEOUT(shows(half), 1000);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write(whole.mid(whole.size() / 2));
    }
    QTRY_VERIFY_WITH_TIMEOUT(shows(day), 1000);

    // Gone: the last picture stays, without a warning; written again: followed.
    QVERIFY(QFile::remove(path));
    QTest::qWait(400);
    QVERIFY(shows(day));
    QCOMPARE(f.dialogs->warnings, 0);
    day = Pattern(32);
    WriteTestFile(path, LogBytes(day));
    QTRY_VERIFY_WITH_TIMEOUT(shows(day), 1000);
    QCOMPARE(f.form.Text1->text(), path);
}

QTEST_MAIN(TestLogFollower)
#include "tst_logfollower.moc"
