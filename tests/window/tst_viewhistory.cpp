// SPDX-License-Identifier: MIT
// Back and Forward through the chart's views, driven by a fake clock.
#include "ViewHistory.h"

#include <QTest>

namespace {

// View k: the 30 slots from slot k.
ChartView ViewNo(int k) {
    return {k, k + 29, 0, 179};
}

} // namespace

class TestViewHistory : public QObject {
    Q_OBJECT
  private slots:
    void steps_data();
    void steps();
    void keepsFiftyViews();
};

void TestViewHistory::steps_data() {
    // A script of words: "g5" a gesture showing view 5, "n5@100" a wheel
    // notch to view 5 at 100 ms, "b" Back, "f" Forward. Each Back or
    // Forward that acts shows its view; "-" in `shown` marks one refused.
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("canBack");
    QTest::addColumn<bool>("canForward");
    QTest::newRow("back returns the exact previous view") << "g1 g2 b"
                                                          << "1" << true << true;
    QTest::newRow("back to the first") << "g1 g2 b b"
                                       << "1 0" << false << true;
    QTest::newRow("forward the one after") << "g1 g2 b b f f"
                                           << "1 0 1 2" << true << false;
    QTest::newRow("at the ends nothing") << "b g1 f"
                                         << "- -" << true << false;
    QTest::newRow("a gesture forgets what lay ahead") << "g1 g2 b g3 f b"
                                                      << "1 - 1" << true << true;
    QTest::newRow("a wheel burst is one step") << "n1@0 n2@100 n3@450 b"
                                               << "0" << false << true;
    QTest::newRow("a pause starts a new burst") << "n1@0 n2@100 n3@600 b b"
                                                << "2 0" << false << true;
    QTest::newRow("a gesture between notches splits the burst") << "n1@0 g2 n3@100 b b"
                                                                << "2 1" << true << true;
}

void TestViewHistory::steps() {
    QFETCH(QString, script);
    QFETCH(QString, shown);
    QFETCH(bool, canBack);
    QFETCH(bool, canForward);
    std::chrono::milliseconds now{0};
    ViewHistory history([&now] { return now; });
    ChartView view = ViewNo(0);
    QStringList seen;
    for (const QString& word : script.split(QLatin1Char(' '))) {
        if (word == QLatin1String("b") || word == QLatin1String("f")) {
            const auto next =
                word == QLatin1String("b") ? history.back(view) : history.forward(view);
            seen << (next ? QString::number(next->firstSlot) : QStringLiteral("-"));
            if (next)
                view = *next;
        } else if (word.startsWith(QLatin1Char('g'))) {
            history.leave(view);
            view = ViewNo(word.mid(1).toInt());
        } else {
            const QStringList parts = word.mid(1).split(QLatin1Char('@'));
            now = std::chrono::milliseconds(parts[1].toInt());
            history.leaveByNotch(view);
            view = ViewNo(parts[0].toInt());
        }
    }
    QCOMPARE(seen.join(QLatin1Char(' ')), shown);
    QCOMPARE(history.canGoBack(), canBack);
    QCOMPARE(history.canGoForward(), canForward);
}

void TestViewHistory::keepsFiftyViews() {
    ViewHistory history;
    ChartView view = ViewNo(0);
    for (int k = 1; k <= 60; ++k) {
        history.leave(view);
        view = ViewNo(k);
    }
    int steps = 0;
    while (const auto previous = history.back(view)) {
        view = *previous;
        ++steps;
    }
    QCOMPARE(steps, ViewHistory::Depth);
    QCOMPARE(view, ViewNo(60 - ViewHistory::Depth));
}

QTEST_GUILESS_MAIN(TestViewHistory)
#include "tst_viewhistory.moc"
