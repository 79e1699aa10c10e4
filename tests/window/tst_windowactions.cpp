// SPDX-License-Identifier: MIT
// Every command of the window is one action, found by its name, with its
// text and key; the pictures' menus show those very actions, so the key a
// menu shows is the key that works, and an entry is greyed out where it
// cannot act.
#include "WindowActions.h"
#include "WindowFixture.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

class TestWindowActions : public QObject {
    Q_OBJECT
  private slots:
    void textsAndKeys_data();
    void textsAndKeys();
    void menusAreTheActions();
};

void TestWindowActions::textsAndKeys_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QKeySequence>("key");
    const auto row = [](const char* name, const char* text, QKeySequence key) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(text) << key;
    };
    row("load", "読み込み", QKeySequence(Qt::CTRL | Qt::Key_O));
    row("quit", "終了", QKeySequence(Qt::CTRL | Qt::Key_Q));
    row("previousDay", "前の日", QKeySequence(Qt::ALT | Qt::Key_Left));
    row("nextDay", "次の日", QKeySequence(Qt::ALT | Qt::Key_Right));
    row("play", "再生", QKeySequence(Qt::CTRL | Qt::Key_Space));
    row("faster", "速く", QKeySequence(Qt::Key_BracketRight));
    row("slower", "遅く", QKeySequence(Qt::Key_BracketLeft));
    row("editColours", "色の設定...", QKeySequence(Qt::CTRL | Qt::Key_K));
    row("showOverview", "一覧...", QKeySequence(Qt::CTRL | Qt::Key_L));
    row("showEvents", "イベント...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    row("copyDayValues", "値をコピー", QKeySequence());
    row("saveDirectionValues", "この方向を書き出す...", QKeySequence());
}

void TestWindowActions::textsAndKeys() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QKeySequence, key);
    WindowFixture f;
    auto* action = f.form.findChild<QAction*>(name);
    QVERIFY(action);
    QCOMPARE(action->text(), text);
    QCOMPARE(action->shortcut(), key);
    // A shortcut of the window, whichever control has the focus.
    QVERIFY(f.form.actions().contains(action));
    QCOMPARE(action->shortcutContext(), Qt::WindowShortcut);
}

void TestWindowActions::menusAreTheActions() {
    WindowFixture f;
    const auto menu = [&](PictureBox* picture, std::optional<QPointF> at = std::nullopt) {
        QMenu shown;
        picture->addPictureActions(&shown, at);
        return shown.actions();
    };
    const QList<QAction*> chart = menu(f.form.Picture1);
    for (QAction* action : {f.form.windowActions().editColours, f.form.windowActions().showOverview,
                            f.form.windowActions().showEvents, f.form.windowActions().play,
                            f.form.windowActions().copyDayValues})
        QVERIFY2(chart.contains(action), qPrintable(action->objectName()));
    QVERIFY(menu(f.form.Picture2).contains(f.form.windowActions().copySlotValues));
    // Values need a log.
    QVERIFY(!f.form.windowActions().copyDayValues->isEnabled());
    QTemporaryDir dir;
    f.form.loadLog(WriteTestFile(dir.filePath("261208.log"), LogBytes(Filled(5))));
    QVERIFY(f.form.windowActions().copyDayValues->isEnabled());
    QVERIFY(f.form.windowActions().copySlotValues->isEnabled());
    // Playing turns 再生 into 停止.
    f.form.windowActions().play->trigger();
    QCOMPARE(f.form.windowActions().play->text(), "停止");
    f.form.windowActions().play->trigger();
    QCOMPARE(f.form.windowActions().play->text(), "再生");
}

QTEST_MAIN(TestWindowActions)
#include "tst_windowactions.moc"
