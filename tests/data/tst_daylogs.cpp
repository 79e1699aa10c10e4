// SPDX-License-Identifier: MIT
#include "DayLogs.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestDayLogs : public QObject {
    Q_OBJECT
  private slots:
    void dateKeys_data();
    void dateKeys();
    void neighbours_data();
    void neighbours();
    void relativeDays_data();
    void relativeDays();
};

void TestDayLogs::dateKeys_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key"); // -1: no date
    QTest::newRow("plain") << "261208.log" << 261208;
    QTest::newRow("year 00") << "000101.log" << 101;
    QTest::newRow("upper case") << "991231.LOG" << 991231;
    QTest::newRow("mixed case") << "030115.Log" << 30115;
    QTest::newRow("prefix") << "station_261208.log" << 261208;
    QTest::newRow("five digits") << "61208.log" << -1;
    QTest::newRow("letter inside") << "26120a.log" << -1;
    QTest::newRow("other extension") << "261208.dat" << -1;
    QTest::newRow("suffix after .log") << "261208.log~" << -1;
    QTest::newRow("extension only") << ".log" << -1;
}

void TestDayLogs::dateKeys() {
    QFETCH(QString, name);
    QFETCH(int, key);
    const std::optional<int> got = LogDateKey(name.toStdString());
    QCOMPARE(got.value_or(-1), key);
}

void TestDayLogs::neighbours_data() {
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("previous");
    QTest::addColumn<QString>("next");
    // The folder: days with gaps, a year boundary, foreign names, a folder
    // and a FIFO named like logs.
    // clang-format off
    QTest::newRow("middle") << "261208.log" << "a-261205.log" << "261210.log";
    QTest::newRow("over a gap") << "261210.log" << "261208.log" << "270101.log";
    QTest::newRow("first, year 2000") << "000101.log" << QString() << "261205.log";
    QTest::newRow("last, year 2099") << "991231.LOG" << "270101.log" << QString();
    QTest::newRow("same day, by name") << "a-261205.log"
                                       << "261205.log"
                                       << "261208.log";
    QTest::newRow("shown has no date") << "notes.log" << QString() << QString();
    // clang-format on
}

void TestDayLogs::neighbours() {
    QFETCH(QString, shown);
    QFETCH(QString, previous);
    QFETCH(QString, next);
    QTemporaryDir dir;
    for (const char* name :
         {"261205.log", "a-261205.log", "261208.log", "261210.log", "270101.log", "000101.log",
          "991231.LOG", "notes.log", "261209.txt", "261207.log.bak"}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(dir.path()).mkdir("261209.log"));
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("261207.log")).constData(), 0600), 0);

    const auto neighbour = [&](int step) {
        const auto found =
            NeighbourDayLog(QFile::encodeName(dir.filePath(shown)).toStdString(), step);
        return found ? QFile::decodeName(found->filename().c_str()) : QString();
    };
    QCOMPARE(neighbour(-1), previous);
    QCOMPARE(neighbour(+1), next);
}

void TestDayLogs::relativeDays_data() {
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("previous");
    QTest::addColumn<QString>("week");
    QTest::addColumn<QString>("year");
    // The folder: a week's days with a gap, the same dates a year apart,
    // a second station, and a folder named like a log. Empty: missing.
    // clang-format off
    QTest::newRow("all three") << "261208.log" << "261206.log" << "261201.log" << "251208.log";
    QTest::newRow("gap: the earlier log, no log a week before")
        << "261206.log" << "b-261201.log" << QString() << QString();
    QTest::newRow("a week back over the month's start") << "261201.log" << "261124.log"
                                                        << "261124.log" << QString();
    QTest::newRow("same station's name first") << "b-261208.log" << "a-261208.log"
                                               << "b-261201.log" << "251208.log";
    QTest::newRow("a week back over a leap day") << "240306.log" << "240229.log"
                                                 << "240228.log" << QString();
    QTest::newRow("29 February has no year before") << "240229.log" << "240228.log"
                                                    << "240222.log" << QString();
    QTest::newRow("a year back lands on a folder") << "270301.log" << "b-261208.log" << QString()
                                                   << QString();
    QTest::newRow("year 2000 has no year before") << "000101.log" << QString() << QString()
                                                  << QString();
    QTest::newRow("no date") << "notes.log" << QString() << QString() << QString();
    // clang-format on
}

void TestDayLogs::relativeDays() {
    QFETCH(QString, shown);
    QFETCH(QString, previous);
    QFETCH(QString, week);
    QFETCH(QString, year);
    QTemporaryDir dir;
    for (const char* name :
         {"261208.log", "261206.log", "261201.log", "261124.log", "251208.log", "b-261208.log",
          "a-261208.log", "b-261201.log", "a-261201.log", "a-251208.log", "240306.log",
          "240229.log", "240228.log", "240222.log", "270301.log", "000101.log"}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(dir.path()).mkdir("260301.log"));

    const auto relative = [&](RelativeDay which) {
        const auto found =
            RelativeDayLog(QFile::encodeName(dir.filePath(shown)).toStdString(), which);
        return found ? QFile::decodeName(found->filename().c_str()) : QString();
    };
    QCOMPARE(relative(RelativeDay::PreviousLog), previous);
    QCOMPARE(relative(RelativeDay::WeekBefore), week);
    QCOMPARE(relative(RelativeDay::YearBefore), year);
}

QTEST_GUILESS_MAIN(TestDayLogs)
#include "tst_daylogs.moc"
