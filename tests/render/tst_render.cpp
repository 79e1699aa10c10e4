// SPDX-License-Identifier: MIT
// `dirchart --render`, run as cron runs it: the built program, without any
// display, checked against the pictures of the window's own load command.
#include "ChartFrame.h"
#include "ChartView.h"
#include "ColourTable.h"
#include "CompareCommands.h"
#include "CompareWindow.h"
#include "DayChart.h"
#include "DayThumbnail.h"
#include "Events.h"
#include "FileNames.h"
#include "Form1.h"
#include "GifFile.h"
#include "HScrollBar.h"
#include "ImageSurface.h"
#include "LogFile.h"
#include "DayThumbnail.h"
#include "Form1.h"
#include "HScrollBar.h"
#include "Marks.h"
#include "LogLoader.h"
#include "OverviewWindow.h"
#include "DirectionTimePlot.h"
#include "PolarFrame.h"
#include "PictureBox.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "ValueTables.h"
#include "ViewCommands.h"

#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <gif_lib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <functional>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QStringList errLines;
};

// Runs the built dirchart with no display, no platform and no runtime folder
// in its environment, as a cron job does; `configHome` stands for the user's
// configuration folder.
Run RunDirchart(const QStringList& arguments, std::function<void()> childModifier = {},
                const QString& configHome = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        env.remove(QString::fromLatin1(name));
    if (!configHome.isEmpty())
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
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

// An animated GIF decoded with giflib: each frame as shown, its rectangle
// drawn over the frame before; the frames' delays and disposal; the loop
// count of the application extension, -1 for none.
struct Animation {
    QList<QImage> frames;
    QList<int> delays;
    QList<int> disposals;
    int loops = -1;
};

Animation DecodeGif(const QString& path) {
    Animation animation;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(QFile::encodeName(path).constData(), &error);
    if (!gif || DGifSlurp(gif) != GIF_OK) {
        DGifCloseFile(gif, &error);
        return animation;
    }
    QImage canvas(gif->SWidth, gif->SHeight, QImage::Format_RGB32);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        for (int b = 0; b + 1 < image.ExtensionBlockCount; ++b) {
            const ExtensionBlock& block = image.ExtensionBlocks[b];
            if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
                std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0) {
                const GifByteType* loop = image.ExtensionBlocks[b + 1].Bytes;
                animation.loops = loop[1] | loop[2] << 8;
            }
        }
        GraphicsControlBlock control;
        DGifSavedExtensionToGCB(gif, i, &control);
        animation.delays.append(control.DelayTime);
        animation.disposals.append(control.DisposalMode);
        const GifImageDesc& at = image.ImageDesc;
        const ColorMapObject* colours = at.ColorMap ? at.ColorMap : gif->SColorMap;
        for (int y = 0; y < at.Height; ++y)
            for (int x = 0; x < at.Width; ++x) {
                const int index = image.RasterBits[y * at.Width + x];
                if (index == control.TransparentColor)
                    continue;
                const GifColorType& c = colours->Colors[index];
                canvas.setPixel(at.Left + x, at.Top + y, qRgb(c.Red, c.Green, c.Blue));
            }
        animation.frames.append(canvas.copy());
    }
    DGifCloseFile(gif, &error);
    return animation;
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
    void animationIsThePolarPlots();
    void gifFrames_data();
    void gifFrames();
    void coloursAsAsked_data();
    void coloursAsAsked();
    void unreadableLogAmongGoodOnes();
    void differencesAgainstRelativeDays_data();
    void differencesAgainstRelativeDays();
    void eventsOfABatch();
    void marksOfABatch();
    void valuesAreTheExport();
    void failedWriteLeavesNoFile();
    void archiveIsTheOverviewWindows();
    void archiveWithoutADatedLog_data();
    void archiveWithoutADatedLog();
    void pageNamesItsFolder_data();
    void pageNamesItsFolder();

  private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QString out() const { return path("out"); }
    QStringList written() const { return QDir(out()).entryList(QDir::Files | QDir::Hidden); }
    QString log(const QString& name, int seed) {
        return WriteTestFile(path(name), LogBytes(SeededDay(seed)));
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

    const QStringList animate{"--render", "@OUT", "--animate"};
    row("animation",
        animate + QStringList{"--from", "10:00", "--to", "10:10", "--gain", "5", "@LOG"}, 0,
        {"261208-polar.gif", "261208.png"});
    row("animation of one slot", animate + QStringList{"--from", "9:06", "--to", "09:06", "@LOG"},
        0, {"261208-polar.gif", "261208.png"});
    row("animate without render", {"--animate", "@LOG"}, 2);
    row("from without animate", {"--render", "@OUT", "--from", "10:00", "@LOG"}, 2);
    row("from after to", animate + QStringList{"--from", "10:02", "--to", "10:00", "@LOG"}, 2);
    row("from not a slot's start", animate + QStringList{"--from", "10:01", "@LOG"}, 2);
    row("to not a time", animate + QStringList{"--to", "24:00", "@LOG"}, 2);
    row("animation gain 51", animate + QStringList{"--gain", "51", "@LOG"}, 2);
    row("colours without render", {"--colormap", "viridis", "@LOG"}, 2);
    row("colours",
        {"--render", "@OUT", "--range", "-10:400", "--stretch", "sqrt", "--colormap", "grey",
         "@LOG"},
        0, {"261208.png"});
    for (const char* range : {"5:5", "400:0", "0:32768", "-32769:0", "1:2:3", "a:4", "400", ":4"})
        row(qPrintable(QStringLiteral("range %1").arg(range)),
            {"--render", "@OUT", "--range", range, "@LOG"}, 2);
    row("stretch cubic", {"--render", "@OUT", "--stretch", "cubic", "@LOG"}, 2);
    row("colour map jet", {"--render", "@OUT", "--colormap", "jet", "@LOG"}, 2);
    row("overview without render", {"--overview", "@LOG"}, 2);
    row("html without render", {"--html", "@LOG"}, 2);
    row("a log named like a stack", {"--render", "@OUT", "--overview", "@DIR/overview-time.log"},
        2);
    row("overview", {"--render", "@OUT", "--overview", "@LOG"}, 0,
        {"261208.png", "overview-direction.png", "overview-time.png"});
    row("html", {"--render", "@OUT", "--html", "@LOG"}, 0,
        {"261208.png", "index.html", "overview-direction.png", "overview-time.png"});
    row("csv", {"--render", "@OUT", "--csv", "@LOG"}, 0, {"261208.csv", "261208.png"});
    row("csv and polar", {"--render", "@OUT", "--csv", "--polar", "9:06", "@LOG"}, 0,
        {"261208-0906-x1.png", "261208-0906.csv", "261208.csv", "261208.png"});
    row("csv without render", {"--csv", "@LOG"}, 2);
    row("csv: a day's name taken by a slot's",
        {"--render", "@OUT", "--csv", "--polar", "9:06", "@LOG", "@DIR/again/261208-0906.log"}, 2);
    row("window", {"--render", "@OUT", "--window", "6:00-9:00", "@LOG"}, 0,
        {"261208-0600-0900.png"});
    row("window widened, sector across 0",
        {"--render", "@OUT", "--window", "12:00-12:10", "--sector", "340-20", "@LOG"}, 0,
        {"261208-1136-1234-340-020.png"});
    row("sector only", {"--render", "@OUT", "--sector", "200-280", "@LOG"}, 0,
        {"261208-0000-2358-200-280.png"});
    for (const char* range : {"9:00-6:00", "6:00-6:00", "6:00-24:00", "6:00", "x"})
        row(qPrintable(QStringLiteral("window %1").arg(range)),
            {"--render", "@OUT", "--window", range, "@LOG"}, 2);
    for (const char* range : {"20-20", "300-360", "-20-20", "20"})
        row(qPrintable(QStringLiteral("sector %1").arg(range)),
            {"--render", "@OUT", "--sector", range, "@LOG"}, 2);
    row("window without render", {"--window", "6:00-9:00", "@LOG"}, 2);
    row("events and sector", {"--events", "--sector", "200-280", "@LOG"}, 2);
    row("events", {"--events", "@LOG"}, 0);
    row("events at threshold 1", {"--events", "--threshold", "1", "@LOG"}, 0);
    row("events without log", {"--events"}, 2);
    row("threshold without events", {"--threshold", "600", "@LOG"}, 2);
    row("events and render", {"--events", "--render", "@OUT", "@LOG"}, 2);
    row("events and csv", {"--events", "--csv", "@LOG"}, 2);
    row("events and html", {"--events", "--html", "@LOG"}, 2);
    row("events and a colour map", {"--events", "--colormap", "viridis", "@LOG"}, 2);
    row("marks", {"--list-marks", "@LOG"}, 0);
    row("marks without log", {"--list-marks"}, 2);
    row("marks and render", {"--list-marks", "--render", "@OUT", "@LOG"}, 2);
    row("marks and events", {"--list-marks", "--events", "@LOG"}, 2);
    row("marks drawn without render", {"--marks", "@LOG"}, 2);
    row("marks drawn with events", {"--events", "--marks", "@LOG"}, 2);
    row("chart with marks", {"--render", "@OUT", "--marks", "@LOG"}, 0, {"261208.png"});
    for (const char* threshold : {"0", "32768", "-5", "x", "1.5"})
        row(qPrintable(QStringLiteral("threshold %1").arg(threshold)),
            {"--events", "--threshold", threshold, "@LOG"}, 2);

    const QStringList diff{"--render", "@OUT", "--diff"};
    const QString other = "@DIR/again/261208.log";
    row("difference", diff + QStringList{"--reference", other, "@LOG"}, 0,
        {"261208-diff.png", "261208.png"});
    row("difference at a fixed range",
        diff + QStringList{"--reference", other, "--diff-range", "65535", "@LOG"}, 0,
        {"261208-diff.png", "261208.png"});
    row("diff without a reference", diff + QStringList{"@LOG"}, 2);
    row("diff with two references",
        diff + QStringList{"--reference", other, "--reference-offset", "week", "@LOG"}, 2);
    row("reference without diff", {"--render", "@OUT", "--reference", other, "@LOG"}, 2);
    row("diff-range without diff", {"--render", "@OUT", "--diff-range", "5", "@LOG"}, 2);
    row("diff without render", {"--diff", "--reference", other, "@LOG"}, 2);
    row("events and diff", {"--events", "--diff", "--reference", other, "@LOG"}, 2);
    row("offset fortnight", diff + QStringList{"--reference-offset", "fortnight", "@LOG"}, 2);
    row("reference missing", diff + QStringList{"--reference", "@DIR/none.log", "@LOG"}, 2);
    row("reference a folder", diff + QStringList{"--reference", "@DIR/again", "@LOG"}, 2);
    for (const char* range : {"0", "65536", "-3", "+5", "1.5", "x", ""})
        row(qPrintable(QStringLiteral("diff-range '%1'").arg(range)),
            diff + QStringList{"--reference", other, "--diff-range", range, "@LOG"}, 2);
    row("a log named like another's difference",
        diff + QStringList{"--reference", other, "@LOG", "@DIR/again/261208-diff.log"}, 2);
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
    if (exitCode == 0 && arguments.contains("--events"))
        QVERIFY(run.out.startsWith(QString::fromLatin1(EventListHeader) + good + ','));
}

void TestRender::imagesAreTheWindowsPictures_data() {
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<QString>("window"); // with the sector, empty for the whole day
    QTest::addColumn<QString>("sector");
    QTest::addColumn<bool>("marks"); // a marks file beside the log, and --marks
    QTest::newRow("100 %") << 1.0 << "" << "" << false;
    QTest::newRow("150 %") << 1.5 << "" << "" << false;
    QTest::newRow("200 %") << 2.0 << "" << "" << false;
    QTest::newRow("zoomed, 100 %") << 1.0 << "6:00-9:00" << "340-20" << false;
    QTest::newRow("zoomed, 150 %") << 1.5 << "6:00-9:00" << "340-20" << false;
    QTest::newRow("zoomed, 200 %") << 2.0 << "23:00-23:58" << "200-280" << false;
    QTest::newRow("marks, 100 %") << 1.0 << "" << "" << true;
    QTest::newRow("marks, 150 %") << 1.5 << "" << "" << true;
    QTest::newRow("zoomed marks, 100 %") << 1.0 << "6:00-9:00" << "340-20" << true;
    QTest::newRow("zoomed marks cut, 150 %") << 1.5 << "5:00-8:00" << "300-358" << true;
    QTest::newRow("zoomed marks cut, 200 %") << 2.0 << "7:00-10:00" << "0-40" << true;
}

void TestRender::imagesAreTheWindowsPictures() {
    QFETCH(qreal, scale);
    QFETCH(QString, window);
    QFETCH(QString, sector);
    QFETCH(bool, marks);
    const QString day = log("261208.log", 3);
    ChartView view;
    QStringList zoom;
    if (!window.isEmpty()) {
        view = *SectorView(sector.toStdString(), *TimeRangeView(window.toStdString()));
        zoom = {"--window", window, "--sector", sector};
    }
    const QString chartName = ChartImageName(day, view);
    // An older image of the same name is replaced.
    WriteTestFile(QDir(out()).filePath(chartName), "old");
    if (marks) {
        WriteTestFile(path("261208.marks.json"), R"({"dirchart_marks": 1, "marks": [
            {"id": "a", "start": "06:00", "end": "09:00", "from": 340, "to": 12, "label": "北"},
            {"id": "b", "start": "10:38", "end": "10:40", "from": 0, "to": 360, "label": "x"}]})");
        zoom.append("--marks");
    }
    const Run run = RunDirchart(QStringList{"--render", out(), "--polar", "10:38", "--gain", "2",
                                            "--scale", QString::number(scale), day} +
                                zoom);
    QCOMPARE(run.exitCode, 0);
    Window shown(day, 319, 2, scale);
    shown.form.view().setChartView(view);
    const QImage chart = Png(QDir(out()).filePath(chartName), scale);
    QCOMPARE(chart.size(), QSize(813, 277) * scale);
    QCOMPARE(chart, shown.chart());
    QCOMPARE(Png(QDir(out()).filePath("261208-1038-x2.png"), scale), shown.polar());
}

void TestRender::animationIsThePolarPlots() {
    const QString day = log("261208.log", 3);
    const Run run = RunDirchart({"--render", out(), "--animate", "--gain", "2", day});
    QCOMPARE(run.exitCode, 0);
    const Animation animation = DecodeGif(QDir(out()).filePath("261208-polar.gif"));
    // The whole day, ten frames a second, each left in place for the next
    // one to be drawn over, looping for ever.
    QCOMPARE(animation.frames.size(), 720);
    QCOMPARE(animation.delays, QList<int>(720, 10));
    QCOMPARE(animation.disposals, QList<int>(720, DISPOSE_DO_NOT));
    QCOMPARE(animation.loops, 0);

    // Each frame is the window's polar plot of its slot, but for the time and
    // date in the top-left corner ...
    const QRect caption(0, 0, 64, 30);
    for (int slot : {0, 319, 719}) {
        QImage frame = animation.frames[slot];
        QImage polar = Window(day, slot, 2).polar();
        QCOMPARE(frame.size(), polar.size());
        QVERIFY(frame.copy(caption) != polar.copy(caption));
        QPainter(&frame).fillRect(caption, Qt::white);
        QPainter(&polar).fillRect(caption, Qt::white);
        QCOMPARE(frame, polar);
    }
    // ... and every frame, caption and all, is the frame as drawn, however
    // the frames were shared out among threads.
    ObservationGrid grid;
    QVERIFY(ReadLogFile(day, grid).ok());
    ImageSurface drawn(PolarPictureSize);
    for (int slot = 0; slot < ObservationGrid::Slots; ++slot) {
        drawn.Cls();
        DrawPolarFrame(drawn, grid, slot, 2, DateLabelText(day));
        if (animation.frames[slot] != drawn.pixels())
            QFAIL(qPrintable(QString("frame %1 differs").arg(slot)));
    }
}

void TestRender::gifFrames_data() {
    QTest::addColumn<QList<QRgb>>("palette");
    QTest::addColumn<QList<QImage>>("frames");
    // The frames as the animation should show them.
    QTest::addColumn<QList<QImage>>("shown");

    const QList<QRgb> four{qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(128, 128, 128),
                           qRgb(255, 0, 0)};
    const QSize size(37, 23);
    const auto blank = [&](QRgb colour) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    };
    const auto with = [](QImage image, QPoint at, QRgb colour) {
        image.setPixel(at, colour);
        return image;
    };
    // Rectangles of palette colours drawn over the frame before, some frames
    // left as they were.
    const auto random = [&](const QList<QRgb>& palette, int count, quint32 seed) {
        QRandomGenerator random(seed);
        QList<QImage> frames{blank(palette[0])};
        while (frames.size() < count) {
            QImage next = frames.last();
            for (int k = int(random.bounded(4)); k > 0; --k)
                QPainter(&next).fillRect(
                    QRect(int(random.bounded(size.width())), int(random.bounded(size.height())),
                          int(random.bounded(1, 12)), int(random.bounded(1, 8))),
                    QColor::fromRgb(palette[int(random.bounded(int(palette.size())))]));
            frames.append(next);
        }
        return frames;
    };

    const QImage white = blank(four[0]);
    const QPoint last(size.width() - 1, size.height() - 1);
    const QList<QImage> corners{white, with(white, {0, 0}, four[1]), with(white, last, four[3]),
                                with(white, {size.width() - 1, 0}, four[2]), white};
    QTest::newRow("one frame") << four << QList<QImage>{with(white, {3, 4}, four[3])}
                               << QList<QImage>{with(white, {3, 4}, four[3])};
    QTest::newRow("frames unchanged") << four << QList<QImage>(5, white) << QList<QImage>(5, white);
    QTest::newRow("changes in the corners") << four << corners << corners;
    // Off-palette colours land on the nearest; a frame in another format is
    // read as its colours.
    const QImage nearly = with(with(white, {5, 5}, qRgb(250, 10, 0)), {6, 5}, qRgb(20, 20, 20));
    QTest::newRow("colours outside the palette")
        << four << QList<QImage>{white, nearly, nearly.convertToFormat(QImage::Format_RGB888)}
        << QList<QImage>{white, with(with(white, {5, 5}, four[3]), {6, 5}, four[1]),
                         with(with(white, {5, 5}, four[3]), {6, 5}, four[1])};
    const QList<QImage> busy = random(four, 90, 1);
    QTest::newRow("many frames") << four << busy << busy;
    QList<QRgb> wide;
    for (int i = 0; i < 40; ++i)
        wide.append(qRgb(i * 6, 255 - i * 5, (i * 37) % 256));
    const QList<QImage> wideFrames = random(wide, 40, 2);
    QTest::newRow("a palette of 40") << wide << wideFrames << wideFrames;
    // Palettes that fill their colour table, with transparency's index.
    const QList<QRgb> seven = wide.mid(0, 7), most = [] {
        QList<QRgb> colours;
        for (int i = 0; i < 255; ++i)
            colours.append(qRgb(i, 255 - i, (i * 91) % 256));
        return colours;
    }();
    const QList<QImage> sevenFrames = random(seven, 30, 3), mostFrames = random(most, 30, 4);
    QTest::newRow("a palette of 7") << seven << sevenFrames << sevenFrames;
    QTest::newRow("a palette of 255") << most << mostFrames << mostFrames;
    const QList<QImage> plain(3, blank(four[2]));
    QTest::newRow("one colour") << QList<QRgb>{four[2]} << plain << plain;
}

// Animations written on one thread and on several: the same bytes, showing
// each frame in the palette's colours.
void TestRender::gifFrames() {
    QFETCH(QList<QRgb>, palette);
    QFETCH(QList<QImage>, frames);
    QFETCH(QList<QImage>, shown);

    struct Frames final : GifFrameSource {
        const QList<QImage>* frames;
        const QImage& frame(int index) override { return (*frames)[index]; }
    };
    QByteArray first;
    for (int threads : {1, 2, 5}) {
        const QString name = path(QString("t%1.gif").arg(threads));
        const FileWriteResult result = WriteGifAnimation(
            name, {frames[0].size(), palette, 7}, int(frames.size()),
            [&] {
                auto source = std::make_unique<Frames>();
                source->frames = &frames;
                return source;
            },
            threads);
        QVERIFY(result.ok());
        const Animation animation = DecodeGif(name);
        QCOMPARE(animation.frames.size(), shown.size());
        for (qsizetype i = 0; i < shown.size(); ++i)
            QCOMPARE(animation.frames[i], shown[i].convertToFormat(QImage::Format_RGB32));
        QCOMPARE(animation.delays, QList<int>(shown.size(), 7));
        QCOMPARE(animation.loops, 0);
        const QByteArray bytes = ReadTestFile(name);
        if (first.isEmpty())
            first = bytes;
        QCOMPARE(bytes, first);
    }
}

void TestRender::coloursAsAsked_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<ColourSettings>("colours");
    using enum Stretch;
    using enum ColourMapId;
    QTest::newRow("standard") << QStringList{"--range", "100:600", "--stretch", "log"}
                              << ColourSettings{100, 600, Log, Standard};
    QTest::newRow("viridis") << QStringList{"--colormap=viridis", "--range=0:400", "--stretch=sqrt"}
                             << ColourSettings{0, 400, Sqrt, Viridis};
    QTest::newRow("cividis") << QStringList{"--colormap", "cividis"}
                             << ColourSettings{0, 1023, Linear, Cividis};
    QTest::newRow("turbo") << QStringList{"--colormap", "turbo", "--range=-50:900"}
                           << ColourSettings{-50, 900, Linear, Turbo};
    QTest::newRow("grey") << QStringList{"--colormap", "grey", "--stretch", "log"}
                          << ColourSettings{0, 1023, Log, Grey};
}

// The chart in the colours of the command line, as the chart functions draw
// it with those settings, whatever the user's own settings say.
void TestRender::coloursAsAsked() {
    QFETCH(QStringList, options);
    QFETCH(ColourSettings, colours);
    const QString day = log("261208.log", 5);
    QVERIFY(QDir(m_dir->path()).mkpath("config/dirchart"));
    WriteTestFile(path("config/dirchart/dirchart.conf"),
                  "[colour]\nminimum=5\nmaximum=50\nstretch=log\nmap=turbo\n");
    const Run run = RunDirchart(QStringList{"--render", out()} + options + QStringList{day}, {},
                                path("config"));
    QCOMPARE(run.exitCode, 0);

    ImageSurface chart(ChartPictureSize);
    ObservationGrid grid;
    QVERIFY(ReadLogFile(day, grid).ok());
    DrawChart(chart, grid, day, ColourTable(colours));
    const QImage image = Png(QDir(out()).filePath("261208.png"));
    QCOMPARE(image, chart.image());
    QVERIFY(image != Window(day).chart());
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

void TestRender::differencesAgainstRelativeDays_data() {
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<QString>("times"); // with the sector, empty for the whole day
    QTest::addColumn<QString>("sector");
    QTest::newRow("100 %") << 1.0 << QString() << QString();
    QTest::newRow("200 %") << 2.0 << QString() << QString();
    // Across the short log's end (10:00) and across 0 degrees.
    QTest::newRow("zoomed, 150 %") << 1.5 << QString("9:00-11:00") << QString("340-20");
    QTest::newRow("zoomed, 200 %") << 2.0 << QString("9:50-10:30") << QString("200-280");
}

void TestRender::differencesAgainstRelativeDays() {
    // Three logs, the first without an earlier one: it is only reported.
    // The others are each the difference chart of the window's compare
    // window, at the same scale and view.
    QFETCH(qreal, scale);
    QFETCH(QString, times);
    QFETCH(QString, sector);
    QStringList logs;
    for (int day = 5; day <= 7; ++day)
        logs.append(log(QStringLiteral("26120%1.log").arg(day), day));
    // A short log: the cells past its end are black in its difference.
    WriteTestFile(logs[1], LogBytes(SeededDay(6)).left(2 * 180 * 300 + 7));
    ChartView view;
    QStringList zoom;
    if (!times.isEmpty()) {
        view = *SectorView(sector.toStdString(), *TimeRangeView(times.toStdString()));
        zoom = {"--window", times, "--sector", sector};
    }
    {
        const Run run = RunDirchart(QStringList{"--render", out(), "--reference-offset", "previous",
                                                "--diff", "--scale", QString::number(scale)} +
                                    zoom + logs);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.errLines.size(), 1);
        QVERIFY(run.errLines[0].startsWith("dirchart: " + logs[0] + ": "));
        QVERIFY(!QFile::exists(QDir(out()).filePath("261205-diff.png")));
        // The window's 差, on 前のログ as the compare window starts.
        Window window(logs[0], -1, 1, scale);
        window.form.commands().compare().showCompare();
        CompareWindow& compare = *window.form.commands().compare().compareWindow();
        compare.upperChart->setDevicePixelRatio(scale);
        compare.setMode(CompareWindow::Mode::Difference);
        window.form.view().setChartView(view);
        for (int i = 1; i <= 2; ++i) {
            window.form.loader().stepDay(+1);
            const QString name = QStringLiteral("26120%1-diff.png").arg(5 + i);
            QCOMPARE(Png(QDir(out()).filePath(name), scale), compare.upperChart->surface().image());
        }
    }
}

void TestRender::eventsOfABatch() {
    // The logs in the order given, an unreadable one reported and passed over.
    const QString bad = path("261203.log");
    QVERIFY(QDir().mkdir(bad));
    const QStringList logs{log("261202.log", 2), bad, log("261201.log", 1)};
    const Run run = RunDirchart(QStringList{"--events", "--threshold", "1000"} + logs);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.errLines.size(), 1);
    QVERIFY2(run.errLines[0].startsWith("dirchart: " + bad + ": "), qPrintable(run.errLines[0]));
    const std::string expected =
        std::string(EventListHeader) +
        EventListLines(logs[0].toStdString(), FindEvents(SeededDay(2), 1000)) +
        EventListLines(logs[2].toStdString(), FindEvents(SeededDay(1), 1000));
    QCOMPARE(run.out, QString::fromStdString(expected));
}

void TestRender::marksOfABatch() {
    // The logs in the order given, each log's marks in its file's order; a
    // damaged marks file and a missing log reported and passed over.
    const QStringList logs{log("261202.log", 2), log("261203.log", 3), path("261204.log"),
                           log("261201.log", 1)};
    const QByteArray marks = R"({"dirchart_marks": 1, "marks": [
        {"id": "2", "start": "10:00", "end": "10:10", "from": 340, "to": 12, "label": "a, b"},
        {"id": "1", "start": "09:00", "end": "24:00", "from": 0, "to": 360,
         "comment": "say \"hi\"\nthere", "extra": 1}]})";
    WriteTestFile(path("261202.marks.json"), marks);
    WriteTestFile(path("261203.marks.json"), "{\"dirchart_marks\": 1, \"marks\": [");
    const Run run = RunDirchart(QStringList{"--list-marks"} + logs);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.errLines.size(), 2);
    QVERIFY2(run.errLines[0].startsWith("dirchart: " + path("261203.marks.json") + ": damaged"),
             qPrintable(run.errLines[0]));
    QVERIFY2(run.errLines[1].startsWith("dirchart: " + logs[2] + ": "),
             qPrintable(run.errLines[1]));
    QCOMPARE(run.out, QString::fromLatin1(MarkListHeader) + logs[0] +
                          ",10:00,10:10,340,12,\"a, b\",\n" + logs[0] +
                          ",09:00,24:00,0,360,,\"say \"\"hi\"\"\nthere\"\n");
    // Listing never touches the files.
    QCOMPARE(ReadTestFile(path("261202.marks.json")), marks);
}

void TestRender::valuesAreTheExport() {
    // A log still being written, ending inside a slot and with an odd byte.
    const QString day =
        WriteTestFile(path("261208.log"), LogBytes(SeededDay(5)).left(300 * 360 + 15));
    const Run run = RunDirchart({"--render", out(), "--csv", "--polar", "10:38", day});
    QCOMPARE(run.exitCode, 0);
    ObservationGrid grid;
    const LogReadResult read = ReadObservationLog(day.toStdString(), grid);
    const auto file = [this](const char* name) {
        QFile csv(QDir(out()).filePath(name));
        return csv.open(QIODevice::ReadOnly) ? csv.readAll().toStdString() : std::string();
    };
    QCOMPARE(file("261208.csv"), DayTable(grid, read.cellsCovered()));
    QCOMPARE(file("261208-1038.csv"), SlotTable(grid, 319, read.cellsCovered()));
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

void TestRender::archiveIsTheOverviewWindows() {
    // Three days, one of them unreadable, at a screen's 150 %: the stacks and thumbnails
    // written are the window's, and an unreadable day is marked on the page.
    QStringList logs;
    for (const int day : {1, 2, 4})
        logs.append(log(QStringLiteral("26120%1.log").arg(day), day));
    const QString bad = path("261203.log");
    QVERIFY(QDir().mkdir(bad));
    const Run run = RunDirchart(QStringList{"--render", out(), "--scale", "1.5", "--html"} + logs +
                                QStringList{bad});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.errLines.size(), 1);

    OverviewWindow window(m_dir->path().toStdString(), {});
    QVERIFY(QTest::qWaitFor([&] { return window.allRead(); }, 5000));
    for (const auto& [kind, name] : {std::pair{DayStack::Time, "overview-time.png"},
                                     std::pair{DayStack::Direction, "overview-direction.png"}}) {
        window.stack(kind)->setDevicePixelRatio(1.5);
        QCOMPARE(Png(QDir(out()).filePath(name), 1.5), window.stack(kind)->surface().image());
    }
    ObservationGrid grid = SeededDay(2);
    ImageSurface thumbnail(ThumbnailSize, 1.5);
    DrawDayThumbnail(thumbnail, SummariseDay(grid), OverviewColours{});
    QCOMPARE(Png(QDir(out()).filePath("thumbs/261202.png"), 1.5), thumbnail.image());
    QCOMPARE(QDir(QDir(out()).filePath("thumbs")).entryList(QDir::Files),
             (QStringList{"261201.png", "261202.png", "261204.png"}));

    QFile page(QDir(out()).filePath("index.html"));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    QVERIFY(html.contains("<a class=\"thumb\" href=\"261202.png\"><img src=\"thumbs/261202.png\" "
                          "width=\"180\" height=\"45\""));
    QVERIFY(html.contains("<td class=\"bad\" title=\"2026/12/03: "));
    QVERIFY(!html.contains("href=\"261203.png\""));
}

// Logs none of which is named by a date: the page still says so and lists
// them; stacks alone cannot be drawn, which is a failure.
void TestRender::archiveWithoutADatedLog_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("page");
    QTest::newRow("page") << QStringList{"--html"} << 0 << true;
    QTest::newRow("page and stacks") << QStringList{"--overview", "--html"} << 0 << true;
    QTest::newRow("stacks alone") << QStringList{"--overview"} << 1 << false;
}

void TestRender::archiveWithoutADatedLog() {
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(bool, page);
    const Run run =
        RunDirchart(QStringList{"--render", out()} + options + QStringList{log("station.log", 1)});
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.errLines.size(), 1);
    QVERIFY2(run.errLines[0].startsWith("dirchart: " + out() + ": ") &&
                 run.errLines[0].contains("no day stacks were written"),
             qPrintable(run.errLines[0]));
    QFile index(QDir(out()).filePath("index.html"));
    QCOMPARE(index.open(QIODevice::ReadOnly), page);
    const QString html = QString::fromUtf8(index.readAll());
    QCOMPARE(html.contains("日付のある観測ログはありません。"), page);
    QCOMPARE(html.contains("一覧に入らないログ: station.log"), page);
    QVERIFY(!QFile::exists(QDir(out()).filePath("overview-time.png")));
}

void TestRender::pageNamesItsFolder_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("shown"); // the name as the page's source holds it
    QTest::newRow("plain") << "観測所 1" << "観測所 1";
    QTest::newRow("markup") << "<i>R&D" << "&lt;i&gt;R&amp;D";
    QTest::newRow("script") << "<img src=x onerror=alert(1)>"
                            << "&lt;img src=x onerror=alert(1)&gt;";
}

// The page's title and heading name the logs' folder as text, whatever it
// holds: a name is never read as markup.
void TestRender::pageNamesItsFolder() {
    QFETCH(QString, folder);
    QFETCH(QString, shown);
    QVERIFY(QDir(m_dir->path()).mkdir(folder));
    const QString day = log(folder + "/261208.log", 1);
    const Run run = RunDirchart({"--render", out(), "--quiet", "--html", day});
    QCOMPARE(run.exitCode, 0);
    const QString html = QString::fromUtf8(ReadTestFile(QDir(out()).filePath("index.html")));
    QVERIFY2(html.contains("<title>一覧 – " + shown + "</title>"), qPrintable(html.left(400)));
    QVERIFY(html.contains("<h1>一覧 – " + shown + "</h1>"));
}

QTEST_MAIN(TestRender)
#include "tst_render.moc"
