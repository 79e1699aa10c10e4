// SPDX-License-Identifier: MIT
#include "ObservationLog.h"
#include "TestFiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

QByteArray Repeated(char low, char high, qsizetype pairs) {
    QByteArray bytes;
    bytes.reserve(2 * pairs);
    for (qsizetype i = 0; i < pairs; ++i)
        bytes.append(low).append(high);
    return bytes;
}

// A grid with a recognisable value in every cell.
ObservationGrid Previous() {
    ObservationGrid grid;
    for (std::size_t i = 0; i < grid.cells.size(); ++i)
        grid.cells[i] = static_cast<std::int16_t>(i % 1000 + 7);
    return grid;
}

} // namespace

class TestObservationLog : public QObject {
    Q_OBJECT
  private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void byteCases_data();
    void byteCases();
    void cellOrderIsSlotMajor();
    void shortLogZeroesTheRest_data();
    void shortLogZeroesTheRest();
    void bytesPastTheLogAreNotRead();
    void hugeSparseFileLoads();
    void failuresLeaveTheGridWhole_data();
    void failuresLeaveTheGridWhole();
    void fifoDoesNotHang();
    void noPermission();
    void nonAsciiPath();

  private:
    std::string write(const QString& name, const QByteArray& bytes) {
        return QFile::encodeName(WriteTestFile(m_dir.filePath(name), bytes)).toStdString();
    }
    QTemporaryDir m_dir;
};

void TestObservationLog::byteCases_data() {
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::addColumn<int>("value");
    QTest::newRow("00 04 is 1024") << 0x00 << 0x04 << 1024;
    QTest::newRow("FF 03 is 1023") << 0xFF << 0x03 << 1023;
    QTest::newRow("01 00 is 1") << 0x01 << 0x00 << 1;
    QTest::newRow("FF FF is -1") << 0xFF << 0xFF << -1;
    QTest::newRow("00 80 is -32768") << 0x00 << 0x80 << -32768;
    QTest::newRow("FF 7F is 32767") << 0xFF << 0x7F << 32767;
}

void TestObservationLog::byteCases() {
    QFETCH(int, low);
    QFETCH(int, high);
    QFETCH(int, value);
    ObservationGrid grid = Previous();
    const LogReadResult result =
        ReadObservationLog(write("full.log", Repeated(char(low), char(high), 129600)), grid);
    QVERIFY(result.ok());
    QCOMPARE(result.bytesRead, 259200);
    for (std::int16_t cell : grid.cells)
        QCOMPARE(int(cell), value);
}

void TestObservationLog::cellOrderIsSlotMajor() {
    QByteArray bytes(259200, '\0');
    bytes[1814] = char(0xFF); // 2 * (180 * 5 + 7)
    bytes[1815] = char(0x03);
    bytes[259198] = char(0x2A); // the last cell, (719, 179)
    ObservationGrid grid = Previous();
    QVERIFY(ReadObservationLog(write("one.log", bytes), grid).ok());
    QCOMPARE(grid(5, 7), 1023);
    QCOMPARE(grid(719, 179), 42);
    QCOMPARE(grid(5, 6), 0);
    QCOMPARE(grid(7, 5), 0);
}

void TestObservationLog::shortLogZeroesTheRest_data() {
    QTest::addColumn<int>("size");
    QTest::newRow("empty") << 0;
    QTest::newRow("one byte") << 1;
    QTest::newRow("one slot") << 360;
    QTest::newRow("odd length") << 1001;
    QTest::newRow("one byte short") << 259199;
}

void TestObservationLog::shortLogZeroesTheRest() {
    QFETCH(int, size);
    ObservationGrid grid = Previous();
    const LogReadResult result =
        ReadObservationLog(write("short.log", Repeated(0x00, 0x02, 129600).left(size)), grid);
    QVERIFY(result.ok());
    QCOMPARE(result.bytesRead, size);
    const int covered = size / 2; // a trailing odd byte is ignored
    for (int i = 0; i < ObservationGrid::CellCount; ++i)
        QCOMPARE(int(grid.cells[std::size_t(i)]), i < covered ? 512 : 0);
}

void TestObservationLog::bytesPastTheLogAreNotRead() {
    QByteArray bytes = Repeated(0x10, 0x00, 129600);
    bytes.append(Repeated(char(0xFF), char(0xFF), 5000));
    ObservationGrid grid;
    const LogReadResult result = ReadObservationLog(write("long.log", bytes), grid);
    QVERIFY(result.ok());
    QCOMPARE(result.bytesRead, 259200);
    for (std::int16_t cell : grid.cells)
        QCOMPARE(int(cell), 16);
}

void TestObservationLog::hugeSparseFileLoads() {
    // Eight gigabytes that take no disk space: only the start is read.
    const std::string path = write("huge.log", Repeated(0x05, 0x00, 129600));
    QVERIFY(::truncate(path.c_str(), 8LL << 30) == 0);
    ObservationGrid grid;
    QVERIFY(ReadObservationLog(path, grid).ok());
    QCOMPARE(grid(719, 179), 5);
}

void TestObservationLog::failuresLeaveTheGridWhole_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("errorNumber");
    QTest::newRow("missing") << "missing.log" << int(LogReadStatus::CannotOpen) << ENOENT;
    QTest::newRow("directory") << "." << int(LogReadStatus::NotRegularFile) << EISDIR;
    QTest::newRow("device") << "/dev/null" << int(LogReadStatus::NotRegularFile) << 0;
    QTest::newRow("I/O error") << "/proc/self/mem" << int(LogReadStatus::ReadFailed) << EIO;
    QTest::newRow("socket") << "sock.log" << -1 << 0;
}

void TestObservationLog::failuresLeaveTheGridWhole() {
    QFETCH(QString, path);
    QFETCH(int, status);
    QFETCH(int, errorNumber);
    std::string target =
        QFile::encodeName(path.startsWith('/') ? path : m_dir.filePath(path)).toStdString();
    int socketFd = -1;
    if (status == -1) { // a UNIX socket bound in the file system
        socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, target.c_str(), sizeof address.sun_path - 1);
        QVERIFY(::bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
    }
    const ObservationGrid before = Previous();
    ObservationGrid grid = before;
    const LogReadResult result = ReadObservationLog(target, grid);
    if (socketFd >= 0)
        ::close(socketFd);
    QVERIFY(!result.ok());
    if (status >= 0) {
        QCOMPARE(int(result.status), status);
        QCOMPARE(result.errorNumber, errorNumber);
    }
    QVERIFY(grid == before);
}

void TestObservationLog::fifoDoesNotHang() {
    const QString path = m_dir.filePath("pipe.log");
    QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    ObservationGrid grid = Previous();
    const LogReadResult result = ReadObservationLog(QFile::encodeName(path).toStdString(), grid);
    QCOMPARE(result.status, LogReadStatus::NotRegularFile);
    QVERIFY(grid == Previous());
}

void TestObservationLog::noPermission() {
    const std::string path = write("secret.log", Repeated(0x00, 0x01, 129600));
    QVERIFY(::chmod(path.c_str(), 0) == 0);
    if (::geteuid() != 0) {
        ObservationGrid grid = Previous();
        const LogReadResult result = ReadObservationLog(path, grid);
        QCOMPARE(result.status, LogReadStatus::CannotOpen);
        QCOMPARE(result.errorNumber, EACCES);
        QVERIFY(grid == Previous());
        return;
    }
    // Root reads any file, so the read runs in a child that has given up
    // root for the unprivileged "nobody", in a folder it may pass through.
    QVERIFY(::chmod(QFile::encodeName(m_dir.path()).constData(), 0711) == 0);
    int results[2];
    QVERIFY(::pipe(results) == 0);
    const pid_t child = ::fork();
    if (child == 0) {
        int answer[3] = {-1, -1, -1};
        if (::setresgid(65534, 65534, 65534) == 0 && ::setresuid(65534, 65534, 65534) == 0) {
            ObservationGrid grid = Previous();
            const LogReadResult result = ReadObservationLog(path, grid);
            answer[0] = int(result.status);
            answer[1] = result.errorNumber;
            answer[2] = grid == Previous();
        }
        const bool sent = ::write(results[1], answer, sizeof answer) == sizeof answer;
        ::_exit(sent ? 0 : 1);
    }
    ::close(results[1]);
    int answer[3] = {};
    const bool received = ::read(results[0], answer, sizeof answer) == sizeof answer;
    ::close(results[0]);
    ::waitpid(child, nullptr, 0);
    QVERIFY(received);
    QVERIFY2(answer[0] != -1, "could not give up root");
    QCOMPARE(LogReadStatus(answer[0]), LogReadStatus::CannotOpen);
    QCOMPARE(answer[1], EACCES);
    QCOMPARE(answer[2], 1);
}

void TestObservationLog::nonAsciiPath() {
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("観測データ")));
    const std::string path =
        write(QStringLiteral("観測データ/261208.log"), Repeated(0x00, 0x01, 129600));
    ObservationGrid grid;
    QVERIFY(ReadObservationLog(path, grid).ok());
    QCOMPARE(grid(300, 90), 256);
}

QTEST_GUILESS_MAIN(TestObservationLog)
#include "tst_observationlog.moc"
