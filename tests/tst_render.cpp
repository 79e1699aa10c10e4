// SPDX-License-Identifier: MIT
// `dirchart --render`, run as cron runs it: the built program, without any
// display, checked against the pictures of the window's own load command.
#include "Form1.h"
#include "HScrollBar.h"
#include "PictureBox.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <functional>

namespace {

ObservationGrid Pattern(int seed) {
    ObservationGrid grid;
    for (int t = 0; t < ObservationGrid::Slots; ++t)
        for (int d = 0; d < ObservationGrid::Bins; ++d)
            grid(t, d) = static_cast<std::int16_t>((t * 7 + d * 13 + seed * 101) % 1100 - 20);
    return grid;
}

struct Run {
    int exitCode = -1;
    QString out;
    QStringList errLines;
};

// Runs the built dirchart with no display, no platform and no runtime folder
// in its environment, as a cron job does.
Run RunDirchart(const QStringList& arguments, std::function<void()> childModifier = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        env.remove(QString::fromLatin1(name));
    QProcess process;
    process.setProcessEnvironment(env);
    if (childModifier)
        process.setChildProcessModifier(childModifier);
    process.start(QStringLiteral(DIRCHART_BINARY), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError()).split('\n', Qt::SkipEmptyParts)};
}

// The window after its load command loaded `log` and, for a slot, after the
// sliders were moved to the slot and the gain.
struct Window {
    ScriptedDialogs* dialogs = new ScriptedDialogs;
    Form1 form{std::unique_ptr<LoadDialogs>(dialogs)};

    explicit Window(const QString& log, int slot = -1, int gain = 1, qreal scale = 1) {
        // As on a screen of that scale.
        form.Picture1->setDevicePixelRatio(scale);
        form.Picture2->setDevicePixelRatio(scale);
        dialogs->choices = {log};
        QTest::mouseClick(form.cmd1, Qt::LeftButton);
        if (slot >= 0) {
            form.HScroll1->setValue(slot);
            form.HScroll4->setValue(gain);
        }
    }
    QImage chart() const { return form.Picture1->surface().image(); }
    QImage polar() const { return form.Picture2->surface().image(); }
};

QImage Png(const QString& path, qreal scale = 1) {
    QImage image = QImage(path).convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    return image;
}

} // namespace

class TestRender : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        m_dir.emplace();
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir(m_dir->path()).mkdir("out"));
    }

    void commandLine_data();
    void commandLine();
    void imagesAreTheWindowsPictures_data();
    void imagesAreTheWindowsPictures();
    void unreadableLogAmongGoodOnes();
    void failedWriteLeavesNoFile();

  private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QString out() const { return path("out"); }
    QStringList written() const { return QDir(out()).entryList(QDir::Files | QDir::Hidden); }
    QString log(const QString& name, int seed) {
        return WriteTestFile(path(name), LogBytes(Pattern(seed)));
    }
    std::optional<QTemporaryDir> m_dir;
};

void TestRender::commandLine_data() {
    QTest::addColumn<QStringList>("arguments"); // @OUT, @LOG and @DIR are replaced
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("images");

    const auto row = [](const char* name, const QStringList& arguments, int exitCode,
                        const QStringList& images = {}) {
        QTest::newRow(name) << arguments << exitCode << images;
    };
    row("help", {"--help"}, 0);
    row("version", {"--version"}, 0);
    row("unknown option", {"--colour", "@LOG"}, 2);
    row("two logs for the window", {"@LOG", "@LOG"}, 2);
    row("polar without render", {"--polar", "10:38", "@LOG"}, 2);
    row("quiet without render", {"--quiet", "@LOG"}, 2);
    row("Qt's own options", {"-style", "fusion", "-reverse", "-platform=offscreen", "--version"},
        0);
    row("gain without polar", {"--render", "@OUT", "--gain", "2", "@LOG"}, 2);

    row("chart", {"--render", "@OUT", "@LOG"}, 0, {"261208.png"});
    row("polar H:MM", {"--render", "@OUT", "--polar", "9:06", "--gain", "50", "@LOG"}, 0,
        {"261208-0906-x50.png", "261208.png"});
    row("polar HH:MM", {"--render", "@OUT", "--polar", "23:58", "--quiet", "@LOG"}, 0,
        {"261208-2358-x1.png", "261208.png"});
    row("render: unknown option", {"--render", "@OUT", "--colour", "@LOG"}, 2);
    row("no log", {"--render", "@OUT"}, 2);
    row("no folder", {"--render", "@OUT/none", "@LOG"}, 2);
    row("folder is a file", {"--render", "@LOG", "@LOG"}, 2);
    if (::geteuid() != 0) // root writes anywhere
        row("folder not writable", {"--render", "@DIR/locked", "@LOG"}, 2);
    for (const char* time : {"10:37", "24:00", "10:60", "1038", "10:3", "-1:00", "ten"})
        row(qPrintable(QStringLiteral("time %1").arg(time)),
            {"--render", "@OUT", "--polar", time, "@LOG"}, 2);
    for (const char* gain : {"0", "51", "x", "2.5"})
        row(qPrintable(QStringLiteral("gain %1").arg(gain)),
            {"--render", "@OUT", "--polar", "10:38", "--gain", gain, "@LOG"}, 2);
    for (const char* scale : {"0.5", "9", "x"})
        row(qPrintable(QStringLiteral("scale %1").arg(scale)),
            {"--render", "@OUT", "--scale", scale, "@LOG"}, 2);
    row("same name twice", {"--render", "@OUT", "@LOG", "@DIR/again/261208.log"}, 2);
}

void TestRender::commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, images);
    const QString good = log("261208.log", 1);
    QVERIFY(QDir(m_dir->path()).mkpath("again"));
    log("again/261208.log", 2);
    QVERIFY(QDir(m_dir->path()).mkdir("locked"));
    QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner);
    for (QString& argument : arguments)
        argument.replace("@OUT", out()).replace("@LOG", good).replace("@DIR", m_dir->path());

    const Run run = RunDirchart(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(written(), images);
    if (exitCode == 2) {
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.errLines.size(), 2);
        QVERIFY(run.errLines[0].startsWith("dirchart: "));
        QCOMPARE(run.errLines[1], "Try 'dirchart --help'.");
    } else if (!images.isEmpty()) {
        QCOMPARE(run.errLines, QStringList()); // nothing for cron to mail
    }
}

void TestRender::imagesAreTheWindowsPictures_data() {
    QTest::addColumn<qreal>("scale");
    QTest::newRow("100 %") << 1.0;
    QTest::newRow("150 %") << 1.5;
    QTest::newRow("200 %") << 2.0;
}

void TestRender::imagesAreTheWindowsPictures() {
    QFETCH(qreal, scale);
    const QString day = log("261208.log", 3);
    // An older image of the same name is replaced.
    WriteTestFile(QDir(out()).filePath("261208.png"), "old");
    const Run run = RunDirchart({"--render", out(), "--polar", "10:38", "--gain", "2", "--scale",
                                 QString::number(scale), day});
    QCOMPARE(run.exitCode, 0);
    const Window window(day, 319, 2, scale);
    const QImage chart = Png(QDir(out()).filePath("261208.png"), scale);
    QCOMPARE(chart.size(), QSize(813, 277) * scale);
    QCOMPARE(chart, window.chart());
    QCOMPARE(Png(QDir(out()).filePath("261208-1038-x2.png"), scale), window.polar());
}

void TestRender::unreadableLogAmongGoodOnes() {
    // Rendered side by side on every core, each image still the window's.
    QStringList logs;
    for (int day = 1; day <= 5; ++day)
        logs.append(log(QStringLiteral("26120%1.log").arg(day), day));
    const QString bad = path("261206.log");
    QVERIFY(QDir().mkdir(bad)); // a folder: not a regular file
    logs.insert(2, bad);
    const Run run = RunDirchart(QStringList{"--render", out()} + logs);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.errLines.size(), 1);
    QVERIFY2(run.errLines[0].startsWith("dirchart: " + bad + ": "), qPrintable(run.errLines[0]));
    QCOMPARE(written().size(), 5);
    for (int day = 1; day <= 5; ++day) {
        const QString name = QStringLiteral("26120%1").arg(day);
        QCOMPARE(Png(QDir(out()).filePath(name + ".png")), Window(path(name + ".log")).chart());
    }
}

void TestRender::failedWriteLeavesNoFile() {
    // A file size limit stands in for a full disk: writing fails part-way.
    const Run run = RunDirchart({"--render", out(), log("261208.log", 4)}, [] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{2048, 2048};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.errLines.size(), 1);
    QVERIFY(run.errLines[0].contains("261208.png"));
    QCOMPARE(written(), QStringList());
}

QTEST_MAIN(TestRender)
#include "tst_render.moc"
