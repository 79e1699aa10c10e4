// SPDX-License-Identifier: MIT
// The window's commands on the pictures' menus and keys.
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

class TestViewCommands : public QObject {
    Q_OBJECT
  private slots:
    void valuesOutOfTheMenus();
};

// The chart's menu: the day's numbers on the clipboard as a table, the
// direction under the pointer written as CSV, greyed out from the keyboard.
void TestViewCommands::valuesOutOfTheMenus() {
    QTemporaryDir dir;
    ObservationGrid grid = Filled(5);
    grid(0, 120) = -7;
    WindowFixture f;
    f.form.loadLog(WriteTestFile(dir.filePath("261208.log"), LogBytes(grid)));
    const auto entry = [&](QMenu& menu, const QString& text) {
        for (QAction* action : menu.actions())
            if (action->text() == text)
                return action;
        qFatal("no menu entry %s", qPrintable(text));
    };
    // One menu at a time, as on screen: the entries are the window's actions.
    QMenu fromKeys, fromPoint;
    f.form.Picture1->addPictureActions(&fromKeys);
    QVERIFY(!entry(fromKeys, "この方向を書き出す...")->isEnabled());
    f.form.Picture1->addPictureActions(&fromPoint, QPointF(30 + 10.5, 230 - 120 + 0.5));
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

QTEST_MAIN(TestViewCommands)
#include "tst_viewcommands.moc"
