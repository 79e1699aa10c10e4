// SPDX-License-Identifier: MIT
// Zooming and panning the chart in the window: the wheel, the box, the
// middle button, the keys and Back and Forward, and typed ranges.
#include "ChartViewText.h"
#include "ChartZoom.h"
#include "CompareCommands.h"
#include "CompareWindow.h"
#include "PictureBox.h"
#include "ViewCommands.h"
#include "WindowFixture.h"

#include <QAction>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

namespace {

struct ZoomWindow : WindowFixture {
    QTemporaryDir folder;
    explicit ZoomWindow(qreal ratio = 1) {
        form.Picture1->setDevicePixelRatio(ratio);
        form.loadLog(WriteLog(folder.path(), "261208.log", LogBytes(Pattern(1))));
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            qFatal("window not exposed");
        form.Picture1->setFocus();
    }
    PictureBox& chart() { return *form.Picture1; }
    QString view() const { return Text(const_cast<Form1&>(form).view().chartView()); }
    // A point of the chart's surface as the widget's: the frame is 2 wide.
    static QPointF At(QPointF p) { return p + QPointF(2, 2); }

    // On the main chart, or on another chart of the same view.
    void wheel(QPointF p, QPoint delta, Qt::KeyboardModifiers mods, PictureBox* on = nullptr) {
        PictureBox& target = on ? *on : chart();
        QWheelEvent event(At(p), target.mapToGlobal(At(p)), QPoint(), delta, Qt::NoButton, mods,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&target, &event);
        // A burst is shown once the queued events are handled.
        QCoreApplication::processEvents();
    }
    void drag(Qt::MouseButton button, Qt::KeyboardModifiers mods, QPointF from, QPointF to,
              PictureBox* on = nullptr) {
        PictureBox& target = on ? *on : chart();
        QTest::mousePress(&target, button, mods, At(from).toPoint());
        QMouseEvent move(QEvent::MouseMove, At(to), target.mapToGlobal(At(to)), Qt::NoButton,
                         button, mods);
        QCoreApplication::sendEvent(&target, &move);
        QTest::mouseRelease(&target, button, mods, At(to).toPoint());
        QCoreApplication::processEvents();
    }
    QAction* action(const char* name) { return form.findChild<QAction*>(QLatin1String(name)); }
};

} // namespace

class TestChartZoom : public QObject {
    Q_OBJECT
  private slots:
    void wheelKeepsPointedCell_data();
    void wheelKeepsPointedCell();
    void gestures_data();
    void gestures();
    void typedRange();
    void compareChartsTakeTheGestures_data();
    void compareChartsTakeTheGestures();
};

void TestChartZoom::wheelKeepsPointedCell_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("direction");
    QTest::addColumn<QPointF>("point");
    for (const qreal ratio : {1.0, 1.5, 2.0}) {
        const QByteArray scale = QByteArray::number(qRound(ratio * 100)) + " %";
        QTest::newRow("time, " + scale) << ratio << false << QPointF(300.3, 120.6);
        QTest::newRow("time near the left, " + scale) << ratio << false << QPointF(40.5, 60.5);
        QTest::newRow("direction, " + scale) << ratio << true << QPointF(500.7, 70.2);
    }
}

// Three notches in, each keeping the cell under the pointer, the readout
// naming it all the while; and Ctrl+0 shows the whole day again.
void TestChartZoom::wheelKeepsPointedCell() {
    QFETCH(qreal, ratio);
    QFETCH(bool, direction);
    QFETCH(QPointF, point);
    ZoomWindow w(ratio);
    const QString before = w.chart().toolTipAt(ZoomWindow::At(point));
    QVERIFY(!before.isEmpty());
    const Qt::KeyboardModifiers mods =
        direction ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier;
    for (int notch = 1; notch <= 3; ++notch) {
        w.wheel(point, QPoint(0, 120), mods);
        QCOMPARE(w.chart().toolTipAt(ZoomWindow::At(point)), before);
    }
    const ChartView& zoomed = w.form.view().chartView();
    QCOMPARE(direction ? zoomed.binCount() : zoomed.slotCount(), direction ? 92 : 369);
    QVERIFY(direction ? zoomed.wholeDay() : zoomed.wholeCircle());
    QTest::keyClick(&w.form, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(w.view(), "0-719/0-179");
}

void TestChartZoom::gestures_data() {
    // Words: "in"/"out" (Ctrl+= and Ctrl+-), "whole" (Ctrl+0), "back" and
    // "forward" (Backspace, Shift+Backspace), "mback" (the mouse's Back
    // button), "wheel DX DY MODS" over the plot's middle (MODS: none, shift,
    // ctrl), "box X0 Y0 X1 Y1" (Shift+drag), "pan DX DY" (middle-drag from
    // the plot's middle).
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("view");
    QTest::addColumn<QString>("enabled"); // of in, out, whole, back, forward
    QTest::newRow("key in, centred") << "in"
                                     << "72-647/0-179"
                                     << "11110";
    QTest::newRow("in and out again") << "in out"
                                      << "0-719/0-179"
                                      << "10010";
    QTest::newRow("out at the limit beeps, no step") << "out"
                                                     << "0-719/0-179"
                                                     << "10000";
    QTest::newRow("back returns the exact view") << "in in back"
                                                 << "72-647/0-179"
                                                 << "11111";
    QTest::newRow("mouse back button") << "in mback"
                                       << "0-719/0-179"
                                       << "10001";
    QTest::newRow("box zooms into its cells") << "box 210 100 389 189"
                                              << "180-359/41-130"
                                              << "11110";
    QTest::newRow("plain wheel does nothing on the whole circle") << "wheel 0 120 none"
                                                                  << "0-719/0-179"
                                                                  << "10000";
    QTest::newRow("plain wheel pans a sector") << "box 30 51 749 140 wheel 0 120 none"
                                               << "0-719/99-8"
                                               << "10110";
    QTest::newRow("shift+wheel pans time later") << "in wheel 0 -120 shift"
                                                 << "129-704/0-179"
                                                 << "11110";
    QTest::newRow("a sideways swipe stops at the day's end") << "in wheel -600 0 none"
                                                             << "144-719/0-179"
                                                             << "11110";
    QTest::newRow("a wheel burst is one step") << "wheel 0 120 ctrl wheel 0 120 ctrl back"
                                               << "0-719/0-179"
                                               << "10001";
    QTest::newRow("middle-drag follows the pointer") << "in pan -10 0"
                                                     << "80-655/0-179"
                                                     << "11110";
}

void TestChartZoom::gestures() {
    QFETCH(QString, script);
    QFETCH(QString, view);
    QFETCH(QString, enabled);
    ZoomWindow w;
    const QPointF middle(390, 141);
    const QStringList words = script.split(QLatin1Char(' '));
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        const auto number = [&](qsizetype k) { return words[i + k].toDouble(); };
        if (word == QLatin1String("in"))
            QTest::keyClick(&w.form, Qt::Key_Equal, Qt::ControlModifier);
        else if (word == QLatin1String("out"))
            QTest::keyClick(&w.form, Qt::Key_Minus, Qt::ControlModifier);
        else if (word == QLatin1String("whole"))
            QTest::keyClick(&w.form, Qt::Key_0, Qt::ControlModifier);
        else if (word == QLatin1String("back"))
            QTest::keyClick(&w.chart(), Qt::Key_Backspace);
        else if (word == QLatin1String("forward"))
            QTest::keyClick(&w.chart(), Qt::Key_Backspace, Qt::ShiftModifier);
        else if (word == QLatin1String("mback"))
            QTest::mouseClick(&w.chart(), Qt::BackButton, {}, ZoomWindow::At(middle).toPoint());
        else if (word == QLatin1String("wheel")) {
            const QString mods = words[i + 3];
            w.wheel(middle, QPoint(int(number(1)), int(number(2))),
                    mods == QLatin1String("ctrl")    ? Qt::ControlModifier
                    : mods == QLatin1String("shift") ? Qt::ShiftModifier
                                                     : Qt::NoModifier);
            i += 3;
        } else if (word == QLatin1String("box")) {
            w.drag(Qt::LeftButton, Qt::ShiftModifier, {number(1), number(2)},
                   {number(3), number(4)});
            i += 4;
        } else if (word == QLatin1String("pan")) {
            w.drag(Qt::MiddleButton, Qt::NoModifier, middle,
                   middle + QPointF(number(1), number(2)));
            i += 2;
        }
    }
    QCOMPARE(w.view(), view);
    QString states;
    for (const char* name : {"zoomIn", "zoomOut", "zoomWhole", "viewBack", "viewForward"})
        states += w.action(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    QCOMPARE(states, enabled);
}

// A range typed into Text2 zooms the time to it and the box shows the
// slot's time again; a bad range is refused and zooms nothing.
void TestChartZoom::typedRange() {
    ZoomWindow w;
    w.form.view().setSlot(319);
    for (const auto& [typed, view] :
         {std::pair{"9:00-6:00", "0-719/0-179"}, std::pair{"６:００－９:００", "180-270/0-179"},
          std::pair{"12:00-12:10", "348-377/0-179"}}) {
        w.form.Text2->setFocus();
        w.form.Text2->selectAll();
        w.form.Text2->insert(QString::fromUtf8(typed));
        QTest::keyClick(w.form.Text2, Qt::Key_Return);
        QCOMPARE(w.view(), QString::fromLatin1(view));
        QCOMPARE(w.form.Text2->text(), "10:38");
    }
    w.chart().setFocus();
    QTest::keyClick(&w.chart(), Qt::Key_Backspace);
    QCOMPARE(w.view(), "180-270/0-179");
}

void TestChartZoom::compareChartsTakeTheGestures_data() {
    // The compare window's charts zoom the one view as the main chart does,
    // into its history: Back steps back from it.
    QTest::addColumn<bool>("lower");
    QTest::addColumn<QString>("gesture"); // "box" (Shift+drag) or "wheel" (Ctrl+wheel)
    QTest::addColumn<QString>("view");
    QTest::newRow("box on the upper chart") << false << "box"
                                            << "180-359/41-130";
    QTest::newRow("box on the lower chart") << true << "box"
                                            << "180-359/41-130";
    QTest::newRow("ctrl+wheel on the upper chart") << false << "wheel"
                                                   << "72-647/0-179";
}

void TestChartZoom::compareChartsTakeTheGestures() {
    QFETCH(bool, lower);
    QFETCH(QString, gesture);
    QFETCH(QString, view);
    ZoomWindow w;
    w.form.commands().compare().showCompare();
    CompareWindow& compare = *w.form.commands().compare().compareWindow();
    PictureBox* chart = lower ? compare.lowerChart : compare.upperChart;
    if (gesture == QLatin1String("box"))
        w.drag(Qt::LeftButton, Qt::ShiftModifier, {210, 100}, {389, 189}, chart);
    else
        w.wheel({390, 141}, QPoint(0, 120), Qt::ControlModifier, chart);
    QCOMPARE(w.view(), view);
    // Both charts show the view the gesture made.
    QCOMPARE(compare.upperChart->surface().image(), w.chart().surface().image());
    // One history: Back (the main chart's Backspace) returns to the whole day.
    QVERIFY(w.action("viewBack")->isEnabled());
    w.action("viewBack")->trigger();
    QCOMPARE(w.view(), "0-719/0-179");
}

QTEST_MAIN(TestChartZoom)
#include "tst_chartzoom.moc"
