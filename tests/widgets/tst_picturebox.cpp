// SPDX-License-Identifier: MIT
// The picture box shows its surface's image, repainted once per burst of
// drawing rather than once per operation.
#include "PictureBox.h"

#include <QEvent>
#include <QTest>

#include <utility>

namespace {

constexpr QRgb Red = 0xffff0000;

// Counts the paint events of the widget it watches.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class TestPictureBox : public QObject {
    Q_OBJECT
  private slots:
    void pictureBoxRepaintsAfterEachBurst();
};

void TestPictureBox::pictureBoxRepaintsAfterEachBurst() {
    PictureBox box(QSize(40, 40));
    PaintCounter counter;
    box.installEventFilter(&counter);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTRY_VERIFY(counter.paints > 0);

    // Each burst of drawing after a repaint schedules one more repaint, and
    // the repaint shows what was drawn.
    for (const auto& [x, y] : {std::pair{3, 4}, std::pair{10, 20}, std::pair{30, 31}}) {
        const int before = counter.paints;
        box.surface().PSet(float(x), float(y), Red);
        box.surface().PSet(float(x + 1), float(y), Red);
        QTRY_VERIFY(counter.paints > before);
        const QImage shown = box.grab().toImage();
        QCOMPARE(shown.pixel(2 + x, 2 + y), Red);
        QCOMPARE(shown.pixel(2 + x + 1, 2 + y), Red);
    }
}

QTEST_MAIN(TestPictureBox)
#include "tst_picturebox.moc"
