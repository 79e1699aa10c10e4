// SPDX-License-Identifier: MIT
#include "ChartFrame.h"
#include "Form1.h"
#include "HScrollBar.h"
#include "PictureBox.h"
#include "Translations.h"

#include <QMessageBox>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TestForm1 : public QObject {
    Q_OBJECT
  private slots:
    void controlGeometry_data();
    void controlGeometry();
    void initialTextsAndRanges();
    void startUpDrawsTheChartFrameOnly();
    void tabOrder();
    void label1Font();
    void command1ShowsTheCosine();
    void scrollBarKeys_data();
    void scrollBarKeys();
    void scrollBarReportsOnReleaseNotWhileDragging();
    void japaneseDesktopGetsJapaneseButtons();
};

void TestForm1::controlGeometry_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("Picture1") << "Picture1" << QRect(0, 0, 817, 281);
    QTest::newRow("cmd1") << "cmd1" << QRect(8, 544, 89, 33);
    QTest::newRow("Picture2") << "Picture2" << QRect(112, 368, 265, 265);
    QTest::newRow("HScroll1") << "HScroll1" << QRect(8, 296, 761, 17);
    QTest::newRow("HScroll2") << "HScroll2" << QRect(8, 320, 761, 17);
    QTest::newRow("HScroll3") << "HScroll3" << QRect(8, 344, 761, 17);
    QTest::newRow("Text1") << "Text1" << QRect(432, 400, 249, 25);
    QTest::newRow("Command1") << "Command1" << QRect(32, 424, 41, 49);
    QTest::newRow("Text2") << "Text2" << QRect(432, 432, 249, 25);
    QTest::newRow("Text3") << "Text3" << QRect(464, 504, 41, 25);
    QTest::newRow("HScroll4") << "HScroll4" << QRect(432, 536, 233, 17);
    QTest::newRow("Label1") << "Label1" << QRect(424, 504, 41, 17);
}

namespace {
QWidget* Control(Form1& f, const QString& name) {
    const QHash<QString, QWidget*> controls{
        {"Picture1", f.Picture1}, {"cmd1", f.cmd1},         {"Picture2", f.Picture2},
        {"HScroll1", f.HScroll1}, {"HScroll2", f.HScroll2}, {"HScroll3", f.HScroll3},
        {"Text1", f.Text1},       {"Command1", f.Command1}, {"Text2", f.Text2},
        {"Text3", f.Text3},       {"HScroll4", f.HScroll4}, {"Label1", f.Label1}};
    return controls.value(name);
}
} // namespace

void TestForm1::controlGeometry() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowTitle(), "Form1");
    QCOMPARE(form.size(), QSize(878, 637));
    QCOMPARE(Control(form, name)->geometry(), geometry);
}

void TestForm1::initialTextsAndRanges() {
    Form1 form;
    QCOMPARE(form.Text1->text(), "0.01745329");
    QCOMPARE(form.Text2->text(), "Text2");
    QCOMPARE(form.Text3->text(), "1");
    QCOMPARE(form.cmd1->text(), "読み込み");
    QCOMPARE(form.Command1->text(), "Command1");
    QCOMPARE(form.Label1->text(), "倍率");
    QCOMPARE(form.RadPerDeg, 0.017453292f);
    QCOMPARE(form.PolarGain, 1.f);
    for (HScrollBar* bar : {form.HScroll1, form.HScroll2, form.HScroll3}) {
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 719);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(bar->singleStep(), 1);
        QCOMPARE(bar->pageStep(), 1);
    }
    QCOMPARE(form.HScroll4->minimum(), 1);
    QCOMPARE(form.HScroll4->maximum(), 50);
    QCOMPARE(form.HScroll4->value(), 1);
    QVERIFY(!form.windowIcon().isNull());
}

void TestForm1::startUpDrawsTheChartFrameOnly() {
    Form1 form;
    ImageSurface expected(form.Picture1->surface().size());
    DrawChartFrame(expected);
    QCOMPARE(form.Picture1->surface().image(), expected.image());

    const QImage polar = form.Picture2->surface().image();
    QCOMPARE(polar.size(), QSize(261, 261));
    for (int y = 0; y < polar.height(); ++y)
        for (int x = 0; x < polar.width(); ++x)
            QCOMPARE(polar.pixel(x, y), 0xffffffffu);

    // What was drawn before the window was shown is on screen once it is.
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QImage shown = form.Picture1->grab().toImage();
    QCOMPARE(shown.pixel(2 + 29, 2 + 231), 0xff000000u);
    QCOMPARE(shown.pixel(2 + 781, 2 + 230), 0xff0000ffu);
}

void TestForm1::tabOrder() {
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QList<QWidget*> expected{form.cmd1,     form.HScroll1, form.HScroll2,
                                   form.HScroll3, form.Text1,    form.Command1,
                                   form.Text2,    form.Text3,    form.HScroll4};
    form.cmd1->setFocus();
    for (qsizetype i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), expected[i]);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), form.cmd1);
}

void TestForm1::label1Font() {
    Form1 form;
    const QFont font = form.Label1->font();
    QCOMPARE(font.pointSizeF(), 11.25);
    const QString family = QFontInfo(font).family();
    QVERIFY2(family == "ＭＳ Ｐゴシック" || family == "MS PGothic" || family == "IPAPGothic",
             qPrintable(family));
}

void TestForm1::command1ShowsTheCosine() {
    Form1 form;
    QTest::mouseClick(form.Command1, Qt::LeftButton);
    QCOMPARE(form.Text1->text(), "0.939692621710728");
}

void TestForm1::scrollBarKeys_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    QTest::newRow("Right") << 10 << int(Qt::Key_Right) << 11;
    QTest::newRow("Left") << 10 << int(Qt::Key_Left) << 9;
    QTest::newRow("Home") << 10 << int(Qt::Key_Home) << 0;
    QTest::newRow("End") << 10 << int(Qt::Key_End) << 719;
    QTest::newRow("Left at minimum") << 0 << int(Qt::Key_Left) << 0;
    QTest::newRow("Right at maximum") << 719 << int(Qt::Key_Right) << 719;
}

void TestForm1::scrollBarKeys() {
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, expected);
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    HScrollBar* bar = form.HScroll2;
    bar->setValue(start);
    QSignalSpy changes(bar, &QScrollBar::valueChanged);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, 8));
    QCOMPARE(QApplication::focusWidget(), bar); // a click gives it the focus
    bar->setValue(start);
    changes.clear();
    QTest::keyClick(bar, Qt::Key(key));
    QCOMPARE(bar->value(), expected);
    QCOMPARE(changes.size(), start == expected ? 0 : 1);
}

void TestForm1::scrollBarReportsOnReleaseNotWhileDragging() {
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    HScrollBar* bar = form.HScroll3;
    QSignalSpy changes(bar, &QScrollBar::valueChanged);
    bar->setSliderDown(true);
    bar->setSliderPosition(300);
    bar->setSliderPosition(400);
    QCOMPARE(changes.size(), 0);
    bar->setSliderDown(false);
    QCOMPARE(changes.size(), 1);
    QCOMPARE(bar->value(), 400);
}

void TestForm1::japaneseDesktopGetsJapaneseButtons() {
    QVERIFY(InstallQtTranslations(QLocale(QLocale::Japanese, QLocale::Japan)));
    QMessageBox box(QMessageBox::NoIcon, "dirchart", "?", QMessageBox::Yes | QMessageBox::No);
    QVERIFY2(box.button(QMessageBox::Yes)->text().startsWith("はい"),
             qPrintable(box.button(QMessageBox::Yes)->text()));
    QVERIFY2(box.button(QMessageBox::No)->text().startsWith("いいえ"),
             qPrintable(box.button(QMessageBox::No)->text()));
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
