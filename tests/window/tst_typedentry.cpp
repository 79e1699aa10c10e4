// SPDX-License-Identifier: MIT
// What the time box and the gain box take when a user types into them, and
// how an entry box behaves on Enter, Escape and leaving it.
#include "WindowFixture.h"
#include "PolarPlot.h"
#include "TypedEntry.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

class TestTypedEntry : public QObject {
    Q_OBJECT
  private slots:
    void playingAndTypingMoveTheView();
    void typed_data();
    void typed();
    void entryBox_data();
    void entryBox();
    void shownWhileTyping();
};

void TestTypedEntry::typed_data() {
    QTest::addColumn<bool>("time"); // the time box, else the gain box
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value"); // -1 for an entry that is not taken

    const auto row = [](bool time, const char* text, int value) {
        QTest::addRow("%s '%s'", time ? "time" : "gain", text)
            << time << QString::fromUtf8(text) << value;
    };
    row(true, "15:01", 450);
    row(true, "9:06", 273);
    row(true, "09:07", 273);
    row(true, "23:59", 719);
    row(true, " １５：０１ ", 450);
    for (const char* text : {"", "24:00", "15:60", "1500", "15:0", "-1:00", "15:00x", "15.00"})
        row(true, text, -1);
    row(false, "1", 1);
    row(false, "50", 50);
    row(false, " １０ ", 10);
    for (const char* text : {"", "0", "51", "-1", "+5", "2.5", "x", "99999999999"})
        row(false, text, -1);
}

void TestTypedEntry::typed() {
    QFETCH(bool, time);
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE((time ? TypedSlot(text) : TypedGain(text)).value_or(-1), value);
}

namespace {

// A time box, shown at 10:38, beside another control to leave it for.
struct Boxes {
    QWidget window;
    QLineEdit* time = new QLineEdit(QStringLiteral("10:38"));
    QLineEdit* other = new QLineEdit;
    QList<int> committed;
    int bells = 0;
    TypedEntry entry{time,
                     [this](const QString& typed) -> std::optional<QString> {
                         const std::optional<int> slot = TypedSlot(typed);
                         if (!slot)
                             return std::nullopt;
                         committed.append(*slot);
                         return SlotTimeText(*slot);
                     },
                     [this] { ++bells; }};

    Boxes() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(time);
        layout->addWidget(other);
        window.show();
        window.activateWindow();
        time->setFocus();
    }
    void type(const QString& text) {
        time->selectAll();
        QTest::keyClick(time, Qt::Key_Backspace);
        QTest::keyClicks(time, text);
    }
};

} // namespace

void TestTypedEntry::entryBox_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key"); // how the edit ends; Tab leaves the box
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QList<int>>("committed");
    QTest::addColumn<int>("bells");

    QTest::newRow("Enter: rewritten as the slot's start")
        << "15:01" << int(Qt::Key_Return) << "15:00" << QList{450} << 0;
    QTest::newRow("Enter: not a time")
        << "25:00" << int(Qt::Key_Return) << "10:38" << QList<int>{} << 1;
    QTest::newRow("Enter: empty") << "" << int(Qt::Key_Return) << "10:38" << QList<int>{} << 1;
    QTest::newRow("Escape") << "15:01" << int(Qt::Key_Escape) << "10:38" << QList<int>{} << 0;
    QTest::newRow("leaving the box") << "15:01" << int(Qt::Key_Tab) << "10:38" << QList<int>{} << 0;
}

void TestTypedEntry::entryBox() {
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(QString, shown);
    QFETCH(QList<int>, committed);
    QFETCH(int, bells);

    Boxes boxes;
    QVERIFY(QTest::qWaitForWindowActive(&boxes.window));
    QVERIFY(boxes.time->hasFocus());
    boxes.type(typed);
    QTest::keyClick(boxes.time, Qt::Key(key));
    QCOMPARE(boxes.time->text(), shown);
    QCOMPARE(boxes.committed, committed);
    QCOMPARE(boxes.bells, bells);
    // The text put back or rewritten is the box's own again: leaving keeps it.
    boxes.other->setFocus();
    QCOMPARE(boxes.time->text(), shown);
}

void TestTypedEntry::shownWhileTyping() {
    Boxes boxes;
    QVERIFY(QTest::qWaitForWindowActive(&boxes.window));
    // Playing moves the time on while the user types: the typing stays ...
    boxes.type("15:");
    boxes.entry.show("10:40");
    QCOMPARE(boxes.time->text(), "15:");
    // ... and the new time is what leaving the box puts back.
    boxes.other->setFocus();
    QCOMPARE(boxes.time->text(), "10:40");
    boxes.entry.show("10:42");
    QCOMPARE(boxes.time->text(), "10:42");
    // An invalid Enter after that puts back the latest time.
    boxes.time->setFocus();
    boxes.type("x");
    QTest::keyClick(boxes.time, Qt::Key_Return);
    QCOMPARE(boxes.time->text(), "10:42");
}

// The window's keys and text boxes reach the view state: Space on a slider
// and Ctrl+Space play and stop, a time typed into Text2 moves the slider, a
// gain out of range is refused.
void TestTypedEntry::playingAndTypingMoveTheView() {
    WindowFixture f;
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

QTEST_MAIN(TestTypedEntry)
#include "tst_typedentry.moc"
