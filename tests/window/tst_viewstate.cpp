// SPDX-License-Identifier: MIT
// The window's state and the ways a log reaches it: what is shown changes
// once per change, the day keys get past a day they cannot read, a drop is
// finished before its warning, a followed log is replotted while it is
// written and says when it has vanished, and names that are not UTF-8 work.
#include "ColourDialog.h"
#include "EventsWindow.h"
#include "Form1.h"
#include "ChartFrame.h"
#include "LogFile.h"
#include "DayChart.h"
#include "LogLoader.h"
#include "RememberedSettings.h"
#include "ViewCommands.h"
#include "HScrollBar.h"
#include "LogFollower.h"
#include "PathText.h"
#include "PictureBox.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "WindowFixture.h"

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
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <sys/stat.h>

#include <filesystem>


class TestViewState : public QObject {
    Q_OBJECT
  private slots:
    void unchangedValuesAreIgnored();
    void dayKeysGoOnFromADayTheyCannotRead();
    void dropIsFinishedBeforeItsWarning();
    void cellsPastTheEndAreNotRecorded();
    void namesThatAreNotUtf8();
};

void TestViewState::unchangedValuesAreIgnored() {
    WindowFixture f;
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
    f.form.loadLog(log);
    f.form.loadLog(log);
    QCOMPARE(loads.count(), 2);
}

void TestViewState::dayKeysGoOnFromADayTheyCannotRead() {
    QTemporaryDir days;
    const QString first = WriteTestFile(days.filePath("261207.log"), LogBytes(Filled(100)));
    // A regular file whose read fails with an I/O error, whoever runs the test.
    QVERIFY(QFile::link("/proc/self/mem", days.filePath("261208.log")));
    const QString third = WriteTestFile(days.filePath("261209.log"), LogBytes(Filled(900)));
    WindowFixture f;
    f.form.loadLog(first);
    const QImage shown = f.form.Picture1->surface().image();
    const auto key = [&](Qt::Key k) { QTest::keyClick(f.form.HScroll1, k, Qt::AltModifier); };
    f.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));

    key(Qt::Key_Right);
    QCOMPARE(f.dialogs->warnings, 1);
    QCOMPARE(f.form.shownLog(), first);
    QCOMPARE(f.form.Text1->text(), first);
    QCOMPARE(f.form.Picture1->surface().image(), shown);
    key(Qt::Key_Right); // on from the day that failed
    QCOMPARE(f.form.shownLog(), third);
    key(Qt::Key_Left);
    QCOMPARE(f.dialogs->warnings, 2);
    // Any other load starts the keys from the shown day again.
    f.form.loadLog(third);
    key(Qt::Key_Left);
    QCOMPARE(f.dialogs->warnings, 3);
    f.form.loadLog(third);
    key(Qt::Key_Right);
    QCOMPARE(f.form.shownLog(), third);
    QCOMPARE(f.dialogs->warnings, 3);

    // A start on the day that cannot be read: the keys go on from it.
    WindowFixture start;
    start.form.loadLog(days.filePath("261208.log"));
    QCOMPARE(start.dialogs->warnings, 1);
    start.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&start.form));
    QTest::keyClick(start.form.HScroll1, Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(start.form.shownLog(), third);
}

void TestViewState::dropIsFinishedBeforeItsWarning() {
    QTemporaryDir dir;
    QVERIFY(QFile::link("/proc/self/mem", dir.filePath("261208.log")));
    WindowFixture f;
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(dir.filePath("261208.log"))});
    QDragEnterEvent enter({10, 10}, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&f.form, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&f.form, &drop);
    QCOMPARE(f.dialogs->warnings, 0);
    QTRY_COMPARE(f.dialogs->warnings, 1);
}



void TestViewState::cellsPastTheEndAreNotRecorded() {
    QTemporaryDir dir;
    ObservationGrid grid; // slot 0 all 0, slot 1 all 7; the file ends there
    std::fill_n(grid.cells.begin() + 180, 180, std::int16_t(7));
    WindowFixture f;
    f.form.loadLog(WriteTestFile(dir.filePath("261208.log"), LogBytes(grid).left(2 * 360)));
    const auto tip = [&](int slot) { return f.form.Picture1->toolTipAt(QPoint(2 + 30 + slot, 2 + 200)); };
    QCOMPARE(tip(0), "0:00  60°  0");
    QCOMPARE(tip(1), "0:02  60°  7");
    QCOMPARE(tip(2), "0:04  60°  記録なし");
    f.form.HScroll1->setValue(2);
    QCOMPARE(f.form.Picture2->toolTipAt({2 + 132, 2 + 100}), "0°  記録なし");
}



// A folder and logs whose names are not UTF-8: loaded, stepped through and
// followed by their bytes, shown with replacement characters.
void TestViewState::namesThatAreNotUtf8() {
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/') + PathFromBytes("\xff\xfe");
    QCOMPARE(::mkdir(PathBytes(folder).c_str(), 0700), 0);
    const QString first = WriteLog(folder, "\xe9t\xe9-261227.log", LogBytes(Filled(100)));
    const QString second = WriteLog(folder, "261228.log", LogBytes(Filled(200)).left(360));
    WindowFixture f;
    f.form.loadLog(first);
    QCOMPARE(f.dialogs->warnings, 0);
    QCOMPARE(f.form.shownLog(), first);
    QCOMPARE(f.form.Text1->text(), PathForDisplay(first));
    QVERIFY(f.form.SignalGrid == Filled(100));
    f.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    QTest::keyClick(f.form.HScroll1, Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(f.form.shownLog(), second);
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





QTEST_MAIN(TestViewState)
#include "tst_viewstate.moc"
