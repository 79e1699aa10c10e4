// SPDX-License-Identifier: MIT
// Marks: their file's text, and keeping them on disk without losing any.
#include "MarkFile.h"
#include "Marks.h"
#include "PathText.h"
#include "PlainMarks.h"
#include "TestFiles.h"
#include "TestMarks.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

// Two marks as the window writes them: a label in kana, a comment of two
// lines with a quote and a backslash, a sector across north, until midnight.
std::string WrittenMarks() {
    MarksDocument document;
    document.marks.push_back(TestMark("a", 10, 20, 170, 5, "バースト"));
    document.marks.back().setComment("line 1\nsaid \"loud\" \\ 2");
    document.marks.push_back(TestMark("b", 700, 719, 0, 179));
    document.marks.back().setCreated({});
    return MarksJson(document);
}

// The general parser's reading, with the same reason when it refuses.
void CompareWithJson(const std::string& text) {
    std::string why, jsonWhy;
    const std::optional<MarksDocument> read = ParseMarks(text, &why);
    const std::optional<MarksDocument> json = ParseMarksJson(text, &jsonWhy);
    QVERIFY2(read == json, text.c_str());
    QCOMPARE(why, jsonWhy);
}

std::vector<std::string> Ids(const MarksDocument& document) {
    std::vector<std::string> ids;
    for (const Mark& mark : document.marks)
        ids.emplace_back(mark.id());
    return ids;
}

} // namespace

class TestMarks : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void extents_data();
    void extents();
    void textsKeptApart();
    void wholeDegreesRoundedAlike();
    void damagedText_data();
    void damagedText();
    void plainTextReadAsJson_data();
    void plainTextReadAsJson();
    void alteredTextReadAsJson();
    void roundTripKeepsOtherKeys();
    void twoWritersKeepEachOthersMarks();
    void damagedFileIsNeverOverwritten();
    void unwritableFolders();
    void folderMarksBesideAndAside_data();
    void folderMarksBesideAndAside();
    void largeFileThenSmallOneReadWhole();
    void listLines();

  private:
    QString logIn(const QString& folder);
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestMarks::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // Reachable by the unprivileged user the permission test runs as.
    QVERIFY(::chmod(QFile::encodeName(m_dir->path()).constData(), 0755) == 0);
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir->filePath("data")));
}

QString TestMarks::logIn(const QString& folder) {
    QDir().mkpath(m_dir->filePath(folder));
    return WriteTestFile(m_dir->filePath(folder + "/261208.log"), LogBytes(ObservationGrid()));
}

// A mark's time and sector as the file writes them, read back into slots and
// bins, and written again the same.
void TestMarks::extents_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<QList<int>>("cells"); // first slot, last slot, first bin, last bin
    QTest::addColumn<QString>("written");  // start,end,from,to as written back
    QTest::newRow("one slot, all directions")
        << "10:38"
        << "10:40" << 0.0 << 360.0 << QList<int>{319, 319, 0, 179} << "10:38,10:40,0,360";
    QTest::newRow("across north") << "06:00"
                                  << "09:00" << 340.0 << 12.0 << QList<int>{180, 269, 170, 5}
                                  << "06:00,09:00,340,12";
    QTest::newRow("until midnight")
        << "23:58"
        << "24:00" << 100.0 << 102.0 << QList<int>{719, 719, 50, 50} << "23:58,24:00,100,102";
    QTest::newRow("ending at north")
        << "0:00"
        << "0:02" << 350.0 << 360.0 << QList<int>{0, 0, 175, 179} << "00:00,00:02,350,360";
    QTest::newRow("odd minutes and degrees widen to whole cells")
        << "10:39"
        << "10:41" << 3.0 << 7.5 << QList<int>{319, 320, 1, 3} << "10:38,10:42,2,8";
    QTest::newRow("from equal to to is the whole circle")
        << "12:00"
        << "13:00" << 90.0 << 90.0 << QList<int>{360, 389, 45, 44} << "12:00,13:00,90,90";
}

void TestMarks::extents() {
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(QList<int>, cells);
    QFETCH(QString, written);
    const std::string text = QStringLiteral(R"({"dirchart_marks": 1, "marks": [{"id": "a",
        "start": "%1", "end": "%2", "from": %3, "to": %4}]})")
                                 .arg(start, end)
                                 .arg(from)
                                 .arg(to)
                                 .toStdString();
    std::string why;
    const std::optional<MarksDocument> document = ParseMarks(text, &why);
    QVERIFY2(document, why.c_str());
    const Mark& mark = document->marks.at(0);
    QCOMPARE((QList<int>{mark.firstSlot, mark.lastSlot, mark.firstBin, mark.lastBin}), cells);
    QCOMPARE(QString::fromStdString(mark.startText() + ',' + mark.endText() + ',' +
                                    std::to_string(mark.fromDegrees()) + ',' +
                                    std::to_string(mark.toDegrees())),
             written);
    // Every bin of the sector, and only those, belongs to the mark.
    int held = 0;
    for (int d = 0; d < ObservationGrid::Bins; ++d)
        held += mark.holdsBin(d);
    QCOMPARE(held, mark.binCount());
    QVERIFY(mark.holdsBin(cells[2]) && mark.holdsBin(cells[3]));
}

// A mark's texts stay apart whatever is set, in any order and length, and
// from the mark's own texts too.
void TestMarks::textsKeptApart() {
    Mark mark = TestMark("id-1", 0, 1, 0, 1, "label");
    mark.setComment("a comment longer than a string holds in place");
    mark.setOtherKeys(R"({"x":1})");
    mark.setLabel("");
    mark.setId(mark.comment());
    mark.setComment("c");
    const auto texts = [](const Mark& m) {
        return std::vector<std::string_view>{m.id(), m.label(), m.comment(), m.created(),
                                             m.otherKeys()};
    };
    QCOMPARE(texts(mark),
             (std::vector<std::string_view>{"a comment longer than a string holds in place", "",
                                            "c", "2026-12-08T10:00:00Z", R"({"x":1})"}));
    Mark swapped = mark;
    swapped.setTexts(mark.otherKeys(), mark.created(), mark.comment(), mark.label(), mark.id());
    swapped.setTexts(swapped.otherKeys(), swapped.created(), swapped.comment(), swapped.label(),
                     swapped.id());
    QCOMPARE(swapped, mark);
    // Marks read from one file share their texts; a change to one, or to a
    // copy, leaves the others.
    const std::vector<Mark> read = ParseMarks(WrittenMarks())->marks;
    std::vector<Mark> changed = read;
    changed[0].setLabel("changed");
    changed[1].setComment("changed");
    QCOMPARE(read[0].label(), "バースト");
    QCOMPARE(read[1].comment(), "");
    QCOMPARE(changed[0].id(), "a");
    QCOMPARE(changed[1].label(), "");
    QCOMPARE(changed[0].comment(), read[0].comment());
}

// The quick reader's whole degrees take the bins the general reader gives
// them, across the circle and just beyond it.
void TestMarks::wholeDegreesRoundedAlike() {
    for (int from = -1; from <= 361; ++from) {
        for (int to = -1; to <= 361; ++to) {
            Mark whole, general;
            QCOMPARE(SetMarkBins(whole, from, to), SetMarkSector(general, from, to, nullptr));
            QCOMPARE(whole, general);
        }
    }
}

void TestMarks::damagedText_data() {
    QTest::addColumn<QByteArray>("text");
    const auto mark = [](const char* fields) {
        return QByteArray(R"({"dirchart_marks": 1, "marks": [{)") + fields + "}]}";
    };
    QTest::newRow("not JSON") << QByteArray(R"({"dirchart_marks": 1, "marks": [)");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("a list") << QByteArray("[]");
    QTest::newRow("no version") << QByteArray(R"({"marks": []})");
    QTest::newRow("a later version") << QByteArray(R"({"dirchart_marks": 2, "marks": []})");
    QTest::newRow("marks not a list") << QByteArray(R"({"dirchart_marks": 1, "marks": {}})");
    QTest::newRow("no id") << mark(R"("start": "1:00", "end": "2:00", "from": 0, "to": 360)");
    QTest::newRow("end before start")
        << mark(R"("id": "a", "start": "2:00", "end": "1:00", "from": 0, "to": 360)");
    QTest::newRow("past midnight")
        << mark(R"("id": "a", "start": "23:00", "end": "24:02", "from": 0, "to": 360)");
    QTest::newRow("degrees out of the circle")
        << mark(R"("id": "a", "start": "1:00", "end": "2:00", "from": -2, "to": 360)");
    QTest::newRow("label not text")
        << mark(R"("id": "a", "start": "1:00", "end": "2:00", "from": 0, "to": 360, "label": 5)");
}

void TestMarks::damagedText() {
    QFETCH(QByteArray, text);
    std::string why;
    QVERIFY(!ParseMarks(text.toStdString(), &why));
    QVERIFY(!why.empty());
}

// The quick reader takes the files dirchart writes and reads them as the
// general parser does; every other text, valid or not, it leaves to that one.
void TestMarks::plainTextReadAsJson_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("plain"); // read by the quick reader
    const auto mark = [](const char* fields) {
        return QByteArray(R"({"dirchart_marks": 1, "marks": [{"id": "a", )") + fields + "}]}";
    };
    const QByteArray times = R"("start": "1:00", "end": "2:00")";
    QTest::newRow("as written") << QByteArray::fromStdString(WrittenMarks()) << true;
    QTest::newRow("on one line, keys in any order")
        << QByteArray(R"({"marks":[{"to":360,"from":0,"end":"24:00","start":"23:58","id":"x",)"
                      R"("label":"\/\t\r\b\f"}],"dirchart_marks":1})")
        << true;
    QTest::newRow("escapes in every text")
        << QByteArray(R"({"dirchart_marks":1,"marks":[{"created":"2026\/12","label":"x\\y",)"
                      R"("comment":"two\nlines, \"quoted\", past eight bytes","id":"i\td",)"
                      R"("start":"01:00","end":"02:00","from":0,"to":360}]})")
        << true;
    QTest::newRow("no marks") << QByteArray(R"({"dirchart_marks": 1})") << true;
    QTest::newRow("empty list") << QByteArray("\r\n{ \"marks\" : [ ] , \"dirchart_marks\" : 1 }\n")
                                << true;
    // Times as dirchart writes them have two-digit hours; others are the
    // general parser's, read alike.
    QTest::newRow("a one-digit hour") << mark(times + R"(, "from": 0, "to": 360)") << false;
    QTest::newRow("another key") << QByteArray(R"({"dirchart_marks": 1, "x": 1, "marks": []})")
                                 << false;
    QTest::newRow("a mark's other key")
        << mark(times + R"(, "from": 0, "to": 360, "tag": 1)") << false;
    QTest::newRow("\\u escape") << mark(times + R"(, "from": 0, "to": 360, "label": "\u00e9")")
                                << false;
    QTest::newRow("fractional degrees") << mark(times + R"(, "from": 7.5, "to": 360)") << false;
    QTest::newRow("degrees with an exponent")
        << mark(times + R"(, "from": 1e2, "to": 360)") << false;
    QTest::newRow("a key twice") << mark(times + R"(, "from": 0, "to": 360, "to": 20)") << false;
    QTest::newRow("leading zero") << mark(times + R"(, "from": 020, "to": 360)") << false;
    QTest::newRow("version 1.0") << QByteArray(R"({"dirchart_marks": 1.0, "marks": []})") << false;
    QTest::newRow("version 01") << QByteArray(R"({"dirchart_marks": 01, "marks": []})") << false;
    QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbf{\"dirchart_marks\": 1}") << false;
    QTest::newRow("text after the end") << QByteArray(R"({"dirchart_marks": 1} x)") << false;
    QTest::newRow("a raw tab in text")
        << mark(times + ", \"from\": 0, \"to\": 360, \"label\": \"\t\"") << false;
    QTest::newRow("overlong UTF-8")
        << mark(times + ", \"from\": 0, \"to\": 360, \"label\": \"\xc0\x80\"") << false;
    QTest::newRow("a surrogate in UTF-8")
        << mark(times + ", \"from\": 0, \"to\": 360, \"label\": \"\xed\xa0\x80\"") << false;
    QTest::newRow("cut UTF-8") << mark(times +
                                       ", \"from\": 0, \"to\": 360, \"label\": \"\xe3\x81\"")
                               << false;
    QTest::newRow("past U+10FFFF")
        << mark(times + ", \"from\": 0, \"to\": 360, \"label\": \"\xf4\x90\x80\x80\"") << false;
    QTest::newRow("degrees past the circle") << mark(times + R"(, "from": 0, "to": 362)") << false;
    QTest::newRow("empty id")
        << QByteArray(R"({"dirchart_marks": 1, "marks": [{"id": "", "start": "1:00", "end": "2:00",
                      "from": 0, "to": 360}]})")
        << false;
    QTest::newRow("no start") << mark(R"("end": "2:00", "from": 0, "to": 360)") << false;
    QTest::newRow("label not text")
        << mark(times + R"(, "from": 0, "to": 360, "label": null)") << false;
}

void TestMarks::plainTextReadAsJson() {
    QFETCH(QByteArray, text);
    QFETCH(bool, plain);
    QCOMPARE(ParsePlainMarks(text.toStdString()).has_value(), plain);
    CompareWithJson(text.toStdString());
}

// Written text with one byte changed or dropped anywhere, read alike.
void TestMarks::alteredTextReadAsJson() {
    const std::string written = WrittenMarks();
    for (std::size_t i = 0; i < written.size(); ++i) {
        std::string dropped = written;
        dropped.erase(i, 1);
        CompareWithJson(dropped);
        for (const char c : {'"', '\\', '}', ']', ',', ':', ' ', '0', '9', 'x', '\x80', '\0'}) {
            std::string changed = written;
            changed[i] = c;
            CompareWithJson(changed);
        }
    }
}

void TestMarks::roundTripKeepsOtherKeys() {
    const QString log = logIn("day");
    const QString path = MarksFileBeside(log);
    QCOMPARE(path, m_dir->filePath("day/261208.marks.json"));
    QCOMPARE(MarksFileBeside("/x/notes"), "/x/notes.marks.json");
    WriteTestFile(path, R"({"dirchart_marks": 1, "station": {"name": "北", "gain": 1.5},
        "marks": [{"id": "b", "start": "06:00", "end": "09:00", "from": 340, "to": 12,
                   "label": "burst, \"loud\"", "comment": "line 1\nline 2",
                   "created": "2026-12-08T06:00:00Z", "colour": "#ff0000", "tags": [1, "x"]}]})");
    MarkChanges changes;
    changes.saved.push_back(TestMark("a", 10, 20, 0, 179, "早朝"));
    const MarksSave save = SaveMarkChanges(log, changes);
    QCOMPARE(save.status, MarksSave::Status::Saved);
    QCOMPARE(save.path, path);

    const MarksRead read = ReadMarks(log);
    QCOMPARE(read.status, MarksRead::Status::Read);
    QCOMPARE(read.document.marks, save.document.marks);
    QCOMPARE(Ids(read.document), (std::vector<std::string>{"a", "b"})); // by start
    const Mark& b = read.document.marks[1];
    QCOMPARE(b.label(), "burst, \"loud\"");
    QCOMPARE(b.comment(), "line 1\nline 2");
    QCOMPARE(read.document.marks[0].label(), "早朝");
    const QByteArray text = ReadTestFile(path);
    // The keys this program does not know, with their values and order.
    QVERIFY2(text.contains(R"("station": {
    "name": "北",
    "gain": 1.5
  })"),
             text.constData());
    QVERIFY(text.indexOf(R"("colour": "#ff0000")") < text.indexOf(R"("tags": [)"));
    QVERIFY(
        text.startsWith("{\n  \"dirchart_marks\": 1,\n  \"marks\": [\n    {\n      \"id\": \"a\""));
    QVERIFY(text.endsWith("}\n"));
    // Nothing else beside the log than the marks and their hidden lock file.
    QCOMPARE(QDir(m_dir->filePath("day")).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

// Two windows on one day, each knowing only what it did: both additions
// stay, and a deletion in one is not undone by the other's later save.
void TestMarks::twoWritersKeepEachOthersMarks() {
    const QString log = logIn("day");
    MarkChanges first, second;
    first.saved.push_back(TestMark("a", 100, 110, 0, 179, "first"));
    second.saved.push_back(TestMark("b", 50, 60, 10, 20, "second"));
    QCOMPARE(SaveMarkChanges(log, first).status, MarksSave::Status::Saved);
    QCOMPARE(Ids(SaveMarkChanges(log, second).document), (std::vector<std::string>{"b", "a"}));

    MarkChanges deletion;
    deletion.deleted.push_back("a");
    QCOMPARE(Ids(SaveMarkChanges(log, deletion).document), std::vector<std::string>{"b"});
    // The second window edits its own mark, with its old copy of the file.
    MarkChanges edit;
    edit.saved.push_back(TestMark("b", 50, 60, 10, 20, "second, edited"));
    const MarksSave save = SaveMarkChanges(log, edit);
    QCOMPARE(Ids(save.document), std::vector<std::string>{"b"});
    QCOMPARE(ReadMarks(log).document.marks.at(0).label(), "second, edited");
}

void TestMarks::damagedFileIsNeverOverwritten() {
    const QString log = logIn("day");
    const QByteArray damaged = R"({"dirchart_marks": 1, "marks": [{"id": "a", "start": )";
    WriteTestFile(MarksFileBeside(log), damaged);
    QCOMPARE(ReadMarks(log).status, MarksRead::Status::Damaged);
    MarkChanges changes;
    changes.saved.push_back(TestMark("b", 1, 2, 0, 179));
    const MarksSave save = SaveMarkChanges(log, changes);
    QCOMPARE(save.status, MarksSave::Status::Damaged);
    QVERIFY(!save.why.isEmpty());
    QCOMPARE(ReadTestFile(MarksFileBeside(log)), damaged);
}

// A log in a folder the user cannot write keeps its marks in the data
// folder; where that cannot be written either, the save says so and leaves
// no file behind.
void TestMarks::unwritableFolders() {
    const QString log = logIn("installed");
    const QString folder = m_dir->filePath("installed");
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0555) == 0);
    const QString fallback = FallbackMarksFile(log);
    QCOMPARE(fallback,
             m_dir->filePath("data/dirchart/marks") + AbsolutePath(log).chopped(4) + ".marks.json");
    WriteTestFile(m_dir->filePath("not-a-folder"), "x");
    QVERIFY(::chmod(QFile::encodeName(m_dir->path()).constData(), 0777) == 0);

    const std::optional<std::array<int, 4>> answer = RunAsUnprivileged<4>([&] {
        MarkChanges changes;
        changes.saved.push_back(TestMark("a", 1, 2, 0, 179));
        const MarksSave saved = SaveMarkChanges(log, changes);
        const int savedThere =
            saved.path == FallbackMarksFile(log) && ReadMarks(log).document.marks.size() == 1;
        // The data folder is a file: nowhere to keep a mark.
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir->filePath("not-a-folder/data")));
        const MarksSave refused = SaveMarkChanges(log, changes);
        return std::array<int, 4>{int(saved.status), savedThere, int(refused.status),
                                  refused.errorNumber};
    });
    QVERIFY2(answer, "could not give up root");
    QCOMPARE(MarksSave::Status((*answer)[0]), MarksSave::Status::Saved);
    QCOMPARE((*answer)[1], 1);
    QCOMPARE(MarksSave::Status((*answer)[2]), MarksSave::Status::CannotWrite);
    QCOMPARE((*answer)[3], ENOTDIR);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1); // the log alone
    QCOMPARE(ReadTestFile(m_dir->filePath("not-a-folder")), "x");
}

void TestMarks::folderMarksBesideAndAside_data() {
    QTest::addColumn<int>("earlierDays");
    QTest::newRow("a few days") << 0;
    // Enough days with marks for the files to be read on two threads, the
    // few days above in the second one's half.
    QTest::newRow("a third of a year before them") << 120;
}

// A folder's days with marks, in date order: beside the log, damaged, or in
// the data folder for a log without marks beside it; days without marks and
// marks files without a log are left out.
void TestMarks::folderMarksBesideAndAside() {
    QFETCH(int, earlierDays);
    const QString folder = m_dir->filePath("days");
    QDir().mkpath(folder);
    const QByteArray one = R"({"dirchart_marks": 1, "marks": [
        {"id": "a", "start": "01:00", "end": "02:00", "from": 0, "to": 360}]})";
    QStringList earlier;
    for (int i = 0; i < earlierDays; ++i) {
        const QString day = QDate(2025, 1, 1).addDays(i).toString("yyMMdd");
        WriteTestFile(folder + "/" + day + ".log", {});
        WriteTestFile(folder + "/" + day + ".marks.json", one);
        earlier.append(day + ".log " + day + ".marks.json " +
                       QString::number(int(MarksRead::Status::Read)) + " 1");
    }
    for (const char* day : {"261206", "261207", "261208", "261209"})
        WriteTestFile(folder + "/" + day + ".log", LogBytes(ObservationGrid()));
    WriteTestFile(folder + "/261209.marks.json", one);
    WriteTestFile(folder + "/261208.marks.json", "{");
    WriteTestFile(folder + "/261210.marks.json", one);
    QDir().mkpath(folder + "/261211.log");
    // A link to a log is a log (the listing's entry says link, not file).
    QVERIFY(QFile::link(folder + "/261209.log", folder + "/261212.log"));
    WriteTestFile(folder + "/261212.marks.json", one);
    const QString aside = FallbackMarksFile(folder + "/261206.log");
    QDir().mkpath(QFileInfo(aside).path());
    WriteTestFile(aside, one);

    const std::vector<LogMarks> days = FolderMarks(folder);
    QStringList found;
    for (const LogMarks& day : days)
        found.append(QFileInfo(day.log).fileName() + ' ' + QFileInfo(day.read.path).fileName() +
                     ' ' + QString::number(int(day.read.status)) + ' ' +
                     QString::number(day.read.document.marks.size()));
    const auto status = [](MarksRead::Status s) { return QString::number(int(s)); };
    QCOMPARE(found,
             earlier +
                 (QStringList{
                     "261206.log 261206.marks.json " + status(MarksRead::Status::Read) + " 1",
                     "261208.log 261208.marks.json " + status(MarksRead::Status::Damaged) + " 0",
                     "261209.log 261209.marks.json " + status(MarksRead::Status::Read) + " 1",
                     "261212.log 261212.marks.json " + status(MarksRead::Status::Read) + " 1"}));
    QCOMPARE(days[std::size_t(earlierDays)].read.path, aside);
    QCOMPARE(days.back().read.path, folder + "/261212.marks.json");
    QCOMPARE(days.back().log, folder + "/261212.log");
}

// Files are read into room kept from file to file: a file larger than the
// room is read whole, and a smaller one after it is only its own bytes.
void TestMarks::largeFileThenSmallOneReadWhole() {
    const QString large = logIn("large"), small = logIn("small");
    MarksDocument many;
    for (int i = 0; i < 400; ++i)
        many.marks.push_back(
            TestMark(("id" + std::to_string(1000 + i)).c_str(), i, i + 1, i % 180, 3, "label"));
    QVERIFY(MarksJson(many).size() > 65536);
    WriteTestFile(MarksFileBeside(large), QByteArray::fromStdString(MarksJson(many)));
    WriteTestFile(MarksFileBeside(small), QByteArray::fromStdString(WrittenMarks()));
    for (int time = 0; time < 2; ++time) {
        const MarksRead read = ReadMarks(large);
        QCOMPARE(int(read.status), int(MarksRead::Status::Read));
        QVERIFY(read.document == many);
        const MarksRead after = ReadMarks(small);
        QCOMPARE(int(after.status), int(MarksRead::Status::Read));
        QCOMPARE(Ids(after.document), (std::vector<std::string>{"a", "b"}));
    }
}

void TestMarks::listLines() {
    Mark quoted = TestMark("a", 180, 269, 170, 5, "burst, \"loud\"");
    quoted.setComment("two\nlines");
    const std::string lines =
        MarkListLines("/data/26 12,08.log", {quoted, TestMark("b", 719, 719, 0, 179)});
    QCOMPARE(QString::fromStdString(lines),
             "\"/data/26 12,08.log\",06:00,09:00,340,12,\"burst, \"\"loud\"\"\",\"two\nlines\"\n"
             "\"/data/26 12,08.log\",23:58,24:00,0,360,,\n");
}

QTEST_GUILESS_MAIN(TestMarks)
#include "tst_markfile.moc"
