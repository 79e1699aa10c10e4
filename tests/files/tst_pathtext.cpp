// SPDX-License-Identifier: MIT
// Paths carried by their bytes: every byte comes back for the file system,
// and what does not decode is shown as U+FFFD.
#include "PathText.h"

#include <QTest>

class TestPathText : public QObject {
    Q_OBJECT
  private slots:
    void pathBytesRoundTrip_data();
    void pathBytesRoundTrip();
};

void TestPathText::pathBytesRoundTrip_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ascii") << QByteArray("/logs/261208.log") << "/logs/261208.log";
    QTest::newRow("japanese") << QByteArray("/観測/261208.log") << "/観測/261208.log";
    QTest::newRow("latin-1 bytes") << QByteArray("/\xff\xfe"
                                                 "261227.log")
                                   << "/\ufffd\ufffd261227.log";
    QTest::newRow("cut sequence") << QByteArray("/\xe8\xa6"
                                                "a")
                                  << "/\ufffd\ufffda";
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << "\ufffd\ufffd";
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xb2\x80") << "\ufffd\ufffd\ufffd";
    QTest::newRow("astral") << QByteArray("\xf0\x9f\x93\x88") << "\U0001f4c8";
}

void TestPathText::pathBytesRoundTrip() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    const QString path = PathFromBytes(bytes.toStdString());
    QCOMPARE(QByteArray::fromStdString(PathBytes(path)), bytes);
    QCOMPARE(PathForDisplay(path), shown);
}

QTEST_GUILESS_MAIN(TestPathText)
#include "tst_pathtext.moc"
