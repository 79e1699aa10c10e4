// SPDX-License-Identifier: MIT
// Marks in the window: made by key, by Ctrl+drag and from an event, shown on
// the chart and in its copies, kept through a damaged file and a growing
// log, listed, and stepped through across days.
#include "DayMarks.h"
#include "MarkCommands.h"
#include "MarkFile.h"
#include "MarksOverlay.h"
#include "MarksWindow.h"
#include "WindowActions.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace ChartGeometry;

namespace {

// Widget point of a surface point: picture boxes have a 2-pixel border.
QPoint At(int x, int y) {
    return {2 + x, 2 + y};
}

QPoint CellPoint(int slot, int bin) {
    return At(SlotColumn(slot), BinRow(bin));
}

std::vector<Mark> MarksOnDisk(const QString& log) {
    return ReadMarks(log).document.marks;
}

QList<int> Extent(const Mark& mark) {
    return {mark.firstSlot, mark.lastSlot, mark.firstBin, mark.lastBin};
}

QImage Chart(Form1& form) {
    return form.Picture1->surface().image().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestMarkCommands : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void makingAMark_data();
    void makingAMark();
    void shownInCopiesAndHidden();
    void editAndDeleteKeepOthers();
    void damagedFileIsRefused();
    void growingLogKeepsMarks();
    void listShowsDayAndSlot();
    void stepAcrossDays();

  private:
    QString day(const char* name, std::int16_t value = 300) {
        return WriteTestFile(m_dir->filePath(name), LogBytes(Filled(value)));
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestMarkCommands::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestMarkCommands::makingAMark_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("kept"); // the dialog's OK, or Escape
    QTest::addColumn<QList<int>>("extent");
    QTest::newRow("M marks the slot") << "key" << true << QList<int>{319, 319, 0, 179};
    QTest::newRow("M, dropped") << "key" << false << QList<int>{};
    QTest::newRow("Ctrl+drag, any direction") << "drag" << true << QList<int>{100, 160, 20, 90};
    QTest::newRow("Ctrl+drag past the plot's edge")
        << "drag past" << true << QList<int>{700, 719, 150, 179};
    QTest::newRow("an event's row") << "event" << true << QList<int>{300, 309, 170, 5};
    QTest::newRow("the menu's cell") << "menu" << true << QList<int>{200, 200, 45, 45};
}

void TestMarkCommands::makingAMark() {
    QFETCH(QString, way);
    QFETCH(bool, kept);
    QFETCH(QList<int>, extent);
    const QString log = day("261208.log");
    WindowFixture f;
    f.form.loadLog(log);
    f.form.view().setSlot(319);
    f.dialogs->markChoice =
        kept ? std::optional(MarkTexts{QStringLiteral("バースト"), QStringLiteral("強い\n2行")})
             : std::nullopt;
    f.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    PictureBox* chart = f.form.Picture1;
    if (way == "key") {
        chart->setFocus();
        QTest::keyClick(chart, Qt::Key_M);
    } else if (way.startsWith("drag")) {
        const bool past = way == "drag past";
        QTest::mousePress(chart, Qt::LeftButton, Qt::ControlModifier,
                          past ? CellPoint(700, 150) : CellPoint(160, 20));
        QTest::mouseMove(chart, past ? At(790, 20) : CellPoint(100, 90));
        QTest::mouseRelease(chart, Qt::LeftButton, Qt::ControlModifier,
                            past ? At(790, 20) : CellPoint(100, 90));
        // The plain drag's slot is left alone.
        QCOMPARE(f.form.view().slot(), 319);
    } else if (way == "menu") {
        // As the chart's menu opens over a cell, then its entry.
        WindowActions& actions = f.form.windowActions();
        actions.setPointedCell(QPoint(200, 45));
        QVERIFY(actions.markCell->isEnabled());
        QVERIFY(!actions.editMark->isEnabled());
        actions.markCell->trigger();
        actions.setPointedCell(QPoint(200, 45));
        QVERIFY(actions.editMark->isEnabled() && actions.deleteMark->isEnabled());
    } else {
        SignalEvent event;
        event.firstSlot = 300;
        event.endSlot = 310;
        f.form.marks().markEvent(event, {170, 5});
    }
    QCOMPARE(f.dialogs->markQuestions, 1);
    const std::vector<Mark> marks = MarksOnDisk(log);
    if (!kept) {
        QVERIFY(marks.empty());
        QVERIFY(!QFile::exists(MarksFileBeside(log)));
        return;
    }
    QCOMPARE(marks.size(), std::size_t(1));
    QCOMPARE(Extent(marks[0]), extent);
    QCOMPARE(marks[0].label(), "バースト");
    QCOMPARE(marks[0].comment(), "強い\n2行");
    QCOMPARE(marks[0].id().size(), std::size_t(36));
    QVERIFY(marks[0].created().ends_with("Z"));
    // On the chart, and in the tooltip of a cell it holds.
    QCOMPARE(Chart(f.form).pixel(SlotColumn(extent[1]), BinRow(extent[3])), qRgb(255, 255, 255));
    const QString tip = chart->toolTipAt(CellPoint(extent[1], extent[3]));
    QVERIFY2(tip.contains("印: バースト  ") && tip.endsWith("強い\n2行"), qPrintable(tip));
}

// Copies hold the marks as shown; with marks hidden the chart is the plain
// day's, and the setting is the view state's.
void TestMarkCommands::shownInCopiesAndHidden() {
    const QString log = day("261208.log");
    WindowFixture f;
    f.form.loadLog(log);
    const QImage plain = Chart(f.form);
    QVERIFY(f.form.marks().markCells(100, 200, 170, 179));
    const QImage marked = Chart(f.form);
    QVERIFY(marked != plain);
    f.form.Picture1->copyAction()->trigger();
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), marked);
    QAction* show = f.form.marks().showMarksAction();
    QVERIFY(show->isChecked());
    show->trigger();
    QVERIFY(!f.form.view().marksShown());
    QCOMPARE(Chart(f.form), plain);
    QCOMPARE(f.form.Picture1->toolTipAt(CellPoint(150, 175)).count('\n'), 0);
    // A new mark shows the marks again rather than seem lost.
    QVERIFY(f.form.marks().markSlot());
    QVERIFY(show->isChecked());
}

// Two windows on one day: each sees the other's marks after its own save,
// and a deletion in one is not undone by the other.
void TestMarkCommands::editAndDeleteKeepOthers() {
    const QString log = day("261208.log");
    WindowFixture a, b;
    a.form.loadLog(log);
    b.form.loadLog(log);
    QVERIFY(a.form.marks().markCells(10, 20, 0, 179));
    QVERIFY(b.form.marks().markCells(30, 40, 0, 179));
    QCOMPARE(b.form.marks().marks().marks().size(), std::size_t(2));
    const std::string first(MarksOnDisk(log)[0].id());
    b.dialogs->markChoice = MarkTexts{QStringLiteral("renamed"), QString()};
    QVERIFY(b.form.marks().editMark(first));
    QVERIFY(a.form.marks().deleteMark(first));
    QCOMPARE(a.dialogs->lastQuestion.section('|', 1).startsWith("印「mark」"), true);
    b.form.marks().marks().refresh();
    QCOMPARE(b.form.marks().marks().marks().size(), std::size_t(1));
    QCOMPARE(MarksOnDisk(log).size(), std::size_t(1));
    QCOMPARE(MarksOnDisk(log)[0].firstSlot, 30);
}

void TestMarkCommands::damagedFileIsRefused() {
    const QString log = day("261208.log");
    const QByteArray damaged = "{\"dirchart_marks\": 1, \"marks\": [";
    WriteTestFile(MarksFileBeside(log), damaged);
    WindowFixture f;
    f.form.loadLog(log);
    QCOMPARE(f.dialogs->warnings, 1);
    QVERIFY2(f.dialogs->lastWarning.contains("壊れている"), qPrintable(f.dialogs->lastWarning));
    f.form.loadLog(log); // said once
    QCOMPARE(f.dialogs->warnings, 1);
    QVERIFY(!f.form.marks().markSlot());
    QCOMPARE(f.dialogs->markQuestions, 0); // refused before asking
    QCOMPARE(f.dialogs->warnings, 2);
    QCOMPARE(ReadTestFile(MarksFileBeside(log)), damaged);
}

// A followed log that grows is drawn again with its marks on it.
void TestMarkCommands::growingLogKeepsMarks() {
    const QString log = day("261208.log");
    WindowFixture f;
    f.form.loadLog(log);
    QVERIFY(f.form.marks().markCells(100, 200, 50, 60));
    const QPoint corner(SlotColumn(100), BinRow(50));
    QCOMPARE(Chart(f.form).pixel(corner), qRgb(255, 255, 255));
    WriteTestFile(log, LogBytes(Filled(900)));
    QTRY_VERIFY(Chart(f.form).pixel(SlotColumn(400), BinRow(90)) !=
                Chart(f.form).pixel(corner - QPoint(1, -1)));
    QCOMPARE(Chart(f.form).pixel(corner), qRgb(255, 255, 255));
    QCOMPARE(Chart(f.form).pixel(corner - QPoint(1, 0)), qRgb(0, 0, 0));
}

void TestMarkCommands::listShowsDayAndSlot() {
    const QString first = day("261207.log"), second = day("261208.log");
    {
        WindowFixture other;
        other.form.loadLog(first);
        other.dialogs->markChoice = MarkTexts{QStringLiteral("early burst"), QStringLiteral("x")};
        QVERIFY(other.form.marks().markCells(100, 110, 0, 179));
        other.dialogs->markChoice = MarkTexts{QStringLiteral("late"), QStringLiteral("noise")};
        QVERIFY(other.form.marks().markCells(600, 610, 170, 5));
    }
    WindowFixture f;
    f.form.loadLog(second);
    f.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    QTest::keyClick(&f.form, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
    MarksWindow* list = f.form.marks().listWindow();
    QVERIFY(list && list->isVisible());
    QTableView* table = list->table;
    QCOMPARE(table->model()->rowCount(), 2);
    // Filtered on label and comment; a click shows that day at the mark's slot,
    // zoomed to its box (widened to 30 slots) as one step back from the whole.
    list->filter->setText("NOISE");
    QCOMPARE(table->model()->rowCount(), 1);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(table->model()->index(0, 3)).center());
    QCOMPARE(f.form.view().path(), first);
    QCOMPARE(f.form.view().slot(), 600);
    QCOMPARE(f.form.view().chartView(), (ChartView{591, 620, 170, 5}));
    QVERIFY(f.form.windowActions().viewBack->isEnabled());
    f.form.windowActions().viewBack->trigger();
    QVERIFY(f.form.view().chartView().whole());
    // The list follows a mark added while it is open.
    list->filter->clear();
    QVERIFY(f.form.marks().markCells(5, 6, 0, 179));
    QCOMPARE(table->model()->rowCount(), 3);
    // A row's menu edits and deletes marks of a day not shown.
    f.form.loadLog(second);
    const auto [log, mark] = list->rowMark(0);
    QCOMPARE(log, first);
    f.dialogs->markChoice = MarkTexts{QStringLiteral("renamed"), QString()};
    QVERIFY(f.form.marks().editMarkOf(log, std::string(mark.id())));
    QCOMPARE(list->rowMark(0).second.label(), "renamed");
    QVERIFY(f.form.marks().deleteMarkOf(log, std::string(mark.id())));
    QCOMPARE(table->model()->rowCount(), 2);
    QCOMPARE(MarksOnDisk(first).size(), std::size_t(2));
}

void TestMarkCommands::stepAcrossDays() {
    const QString a = day("261206.log"), b = day("261207.log"), c = day("261208.log");
    WindowFixture f;
    f.form.loadLog(a);
    QVERIFY(f.form.marks().markCells(500, 510, 0, 179));
    f.form.loadLog(c);
    QVERIFY(f.form.marks().markCells(50, 60, 0, 179));
    QVERIFY(f.form.marks().markCells(40, 45, 0, 10));
    f.form.loadLog(b); // no marks of its own
    f.form.view().setSlot(0);
    const struct {
        int step;
        QString log;
        int slot;
    } steps[] = {{+1, c, 40}, {+1, c, 50}, {+1, c, 50}, {-1, c, 40}, {-1, a, 500}, {-1, a, 500}};
    for (const auto& s : steps) {
        f.form.marks().stepMark(s.step);
        QCOMPARE(f.form.view().path(), s.log);
        QCOMPARE(f.form.view().slot(), s.slot);
    }
}

QTEST_MAIN(TestMarkCommands)
#include "tst_markcommands.moc"
