// SPDX-License-Identifier: MIT
// A long session: a thousand loads of good, short and unreadable logs, and
// ten thousand steps of the time slider. Memory must not grow with use.

#include "Form1.h"
#include "HScrollBar.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include <fstream>

namespace {

// Resident set size in bytes, from /proc/self/statm.
long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

} // namespace

class TestEndurance : public QObject {
    Q_OBJECT
  private slots:
    void memoryDoesNotGrowWithUse();
};

void TestEndurance::memoryDoesNotGrowWithUse() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const auto write = [&dir](const QString& name, int size, char fill) {
        return WriteTestFile(dir.filePath(name), QByteArray(size, fill));
    };
    auto* dialogs = new ScriptedDialogs;
    dialogs->choices = {write("030115.log", 259200, '\x01'), write("030116.log", 259200, '\x02'),
                        write("030117.log", 1000, '\x03'), dir.filePath("missing.log")};
    Form1 form{std::unique_ptr<LoadDialogs>(dialogs)};

    const auto loads = [&](int count) {
        for (int i = 0; i < count; ++i)
            form.cmd1->click();
    };
    loads(100);
    const long afterFirstLoads = ResidentBytes();
    loads(900);
    for (int i = 0; i < 10000; ++i)
        form.HScroll1->setValue((form.HScroll1->value() + 7) % 720);
    const long afterRun = ResidentBytes();

    QCOMPARE(dialogs->opens, 1000);
    QCOMPARE(dialogs->warnings, 250);
    QCOMPARE(form.Text1->text(), dir.filePath("030117.log"));
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer keeps freed memory in quarantine; it checks for leaks
    // itself at exit instead.
    Q_UNUSED(afterFirstLoads);
    Q_UNUSED(afterRun);
#else
    qInfo("resident set: %ld KiB after 100 loads, %ld KiB after the run", afterFirstLoads / 1024,
          afterRun / 1024);
    QVERIFY2(afterRun - afterFirstLoads <= 1024 * 1024,
             qPrintable(QStringLiteral("grew by %1 KiB").arg((afterRun - afterFirstLoads) / 1024)));
#endif
}

QTEST_MAIN(TestEndurance)
#include "tst_endurance.moc"
