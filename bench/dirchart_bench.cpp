// SPDX-License-Identifier: MIT
// Each measured operation runs beside a floor: the plainest code that moves
// the same bytes, so that the ratio, not the absolute time, says how much the
// real code costs.

#include "ChartFrame.h"
#include "ChartView.h"
#include "ColourTable.h"
#include "CompareCommands.h"
#include "CompareWindow.h"
#include "DayChart.h"
#include "DayDifference.h"
#include "DifferenceChart.h"
#include "DirectionTimePlot.h"
#include "Events.h"
#include "FileNames.h"
#include "Form1.h"
#include "ImageSurface.h"
#include "MarkFile.h"
#include "MarksOverlay.h"
#include "ObservationLog.h"
#include "OverviewLoader.h"
#include "PictureBox.h"
#include "PngFile.h"
#include "PolarAnimation.h"
#include "PolarFrame.h"
#include "PolarPlot.h"
#include "ProfilePlot.h"
#include "RenderCommand.h"
#include "RenderImages.h"
#include "SignalColour.h"
#include "ValueTables.h"
#include "ViewCommands.h"
#include "WholeFile.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPaintEvent>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <numeric>
#include <thread>
#include <vector>

namespace {

// Mark number i of a day: spread over the day and the circle.
Mark NewBenchMark(int i) {
    Mark mark;
    mark.setId(std::to_string(100000 + i));
    mark.firstSlot = (i * 37) % 700;
    mark.lastSlot = mark.firstSlot + 5 + i % 15;
    mark.firstBin = (i * 53) % 180;
    mark.lastBin = (mark.firstBin + 10 + i % 30) % 180;
    mark.setLabel("mark " + std::to_string(i));
    mark.setComment("seen at the station");
    mark.setCreated("2026-12-08T10:00:00Z");
    return mark;
}

// A full log with every value of the scale, written once and then read from
// the page cache.
const std::string& LogPath() {
    static QTemporaryDir dir;
    static const std::string path = [] {
        const std::string p = dir.filePath(QStringLiteral("261208.log")).toStdString();
        std::ofstream out(p, std::ios::binary);
        for (int i = 0; i < ObservationGrid::CellCount; ++i) {
            const int v = (i * 37) % 1024;
            out.put(static_cast<char>(v & 0xff)).put(static_cast<char>(v >> 8));
        }
        return p;
    }();
    return path;
}

void ReadAndPlotAt(benchmark::State& state, qreal ratio,
                   const ColourTable& colours = StandardColourTable()) {
    ImageSurface surface(ChartPictureSize, ratio);
    ObservationGrid grid;
    for (auto _ : state) {
        if (!ReadObservationLog(LogPath(), grid).ok())
            state.SkipWithError("cannot read the log");
        PlotSignalGrid(surface, grid, colours);
        benchmark::DoNotOptimize(surface.pixel(100, 100));
    }
}

void ReadAndPlot(benchmark::State& state) {
    ReadAndPlotAt(state, 1);
}
BENCHMARK(ReadAndPlot)->Unit(benchmark::kMicrosecond);

// A day with `state.range(0)` marks beside its log: the log and its marks
// file read, the cells plotted and the marks drawn over them, as a load
// with marks shown does. The labels' widths and pixels are kept per thread
// from the first frame on (the window redraws the chart with every slot or
// colour change while the marks stay), so this is a frame with those kept;
// the first frame of a label paints it, as before they were kept.
void ReadAndPlotMarks(benchmark::State& state) {
    static QTemporaryDir dir;
    const int count = int(state.range(0));
    const QString log = dir.filePath(QStringLiteral("%1/261208.log").arg(count));
    QDir().mkpath(QFileInfo(log).absolutePath());
    QFile::remove(log);
    QFile::copy(QString::fromStdString(LogPath()), log);
    MarksDocument document;
    for (int i = 0; i < count; ++i)
        document.marks.push_back(NewBenchMark(i));
    const std::string json = MarksJson(document);
    WriteWholeFile(MarksFileBeside(log), QByteArray::fromStdString(json));
    ImageSurface surface(ChartPictureSize);
    ObservationGrid grid;
    const std::string bytes = log.toStdString();
    for (auto _ : state) {
        if (!ReadObservationLog(bytes, grid).ok())
            state.SkipWithError("cannot read the log");
        const MarksRead marks = ReadMarks(log);
        if (marks.document.marks.size() != std::size_t(count))
            state.SkipWithError("cannot read the marks");
        PlotSignalGrid(surface, grid);
        DrawMarks(surface, marks.document.marks);
        benchmark::DoNotOptimize(surface.pixel(100, 100));
    }
}
BENCHMARK(ReadAndPlotMarks)->Arg(50)->Arg(1000)->Unit(benchmark::kMicrosecond);

// The marks alone, drawn over a plotted chart at a ratio of 1: what each
// redraw of a day with `state.range(0)` marks adds to the plot (their
// outlines and labels, the labels' widths and pixels kept from the first
// frame on), without reading the files.
void MarksRedraw(benchmark::State& state) {
    std::vector<Mark> marks;
    for (int i = 0; i < int(state.range(0)); ++i)
        marks.push_back(NewBenchMark(i));
    ImageSurface surface(ChartPictureSize);
    ObservationGrid grid;
    if (!ReadObservationLog(LogPath(), grid).ok())
        state.SkipWithError("cannot read the log");
    PlotSignalGrid(surface, grid);
    for (auto _ : state) {
        DrawMarks(surface, marks);
        benchmark::DoNotOptimize(surface.pixel(100, 100));
    }
}
BENCHMARK(MarksRedraw)->Arg(50)->Arg(1000)->Unit(benchmark::kMicrosecond);

// The same on a screen at 200 %: four device pixels per cell.
void ReadAndPlotRatio2(benchmark::State& state) {
    ReadAndPlotAt(state, 2);
}
BENCHMARK(ReadAndPlotRatio2)->Unit(benchmark::kMicrosecond);

// The same in each colour map, over a range and stretch of its own.
void ReadAndPlotIn(benchmark::State& state, ColourMapId map) {
    ReadAndPlotAt(state, 1, ColourTable({20, 900, Stretch::Sqrt, map}));
}
BENCHMARK_CAPTURE(ReadAndPlotIn, standard, ColourMapId::Standard)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadAndPlotIn, viridis, ColourMapId::Viridis)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadAndPlotIn, cividis, ColourMapId::Cividis)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadAndPlotIn, turbo, ColourMapId::Turbo)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadAndPlotIn, grey, ColourMapId::Grey)->Unit(benchmark::kMicrosecond);

// Working out the table of a new setting, in the costliest stretch over the
// widest range: what a change in the colour dialog costs before the redraw.
void ColourTableBuild(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ColourTable({-32768, 32767, Stretch::Log, ColourMapId::Turbo}));
}
BENCHMARK(ColourTableBuild)->Unit(benchmark::kMicrosecond);
// The empty chart with its 40 texts, drawn on every load: at a ratio of 1,
// and at 200 %, where the texts are set glyph by glyph at the device size.
void ChartFrameAt(benchmark::State& state, qreal ratio) {
    ImageSurface surface(ChartPictureSize, ratio);
    for (auto _ : state) {
        DrawChartFrame(surface);
        benchmark::DoNotOptimize(surface.pixel(100, 100));
    }
}
void ChartFrame(benchmark::State& state) {
    ChartFrameAt(state, 1);
}
BENCHMARK(ChartFrame)->Unit(benchmark::kMicrosecond);
void ChartFrameRatio2(benchmark::State& state) {
    ChartFrameAt(state, 2);
}
BENCHMARK(ChartFrameRatio2)->Unit(benchmark::kMicrosecond);

// One step of zooming at 200 %: a changed view drawn anew, frame, minute and
// direction axes and cells, from a grid already in memory. To be set against
// ReadAndPlotRatio2 plus ChartFrameRatio2 of the same run.
void ZoomStep(benchmark::State& state) {
    ObservationGrid grid;
    for (int i = 0; i < ObservationGrid::CellCount; ++i)
        grid.cells[std::size_t(i)] = static_cast<std::int16_t>(i % 1024);
    ImageSurface surface(ChartPictureSize, 2);
    const ColourTable& colours = StandardColourTable();
    const ChartView views[2] = {*SectorView("340-20", *TimeRangeView("6:00-9:00")),
                                *SectorView("200-280", *TimeRangeView("6:10-9:30"))};
    int k = 0;
    for (auto _ : state) {
        DrawChart(surface, grid, QStringLiteral("261208.log"), colours, views[k ^= 1]);
        benchmark::DoNotOptimize(surface.pixel(100, 100));
    }
}
BENCHMARK(ZoomStep)->Unit(benchmark::kMicrosecond);

// Reads the same file and writes as many pixels of the same image layout
// from a precomputed 1024-entry colour table.
void ReadAndPlotFloor(benchmark::State& state) {
    QImage image(ChartPictureSize, QImage::Format_RGB32);
    std::array<QRgb, 1024> table{};
    for (int v = 0; v < 1024; ++v)
        table[std::size_t(v)] = CellColour(v).argb();
    std::vector<unsigned char> bytes(ObservationLogBytes);
    for (auto _ : state) {
        const int fd = ::open(LogPath().c_str(), O_RDONLY);
        const ssize_t got = ::read(fd, bytes.data(), bytes.size());
        ::close(fd);
        if (got != ObservationLogBytes)
            state.SkipWithError("short read");
        uchar* bits = image.bits();
        const qsizetype stride = image.bytesPerLine();
        for (int t = 0; t < ObservationGrid::Slots; ++t)
            for (int d = 0; d < ObservationGrid::Bins; ++d) {
                const std::size_t i = 2 * std::size_t(t * ObservationGrid::Bins + d);
                const int v = (bytes[i] | bytes[i + 1] << 8) & 1023;
                reinterpret_cast<QRgb*>(bits + (230 - d) * stride)[30 + t] = table[std::size_t(v)];
            }
        benchmark::DoNotOptimize(image.pixel(100, 100));
    }
}
BENCHMARK(ReadAndPlotFloor)->Unit(benchmark::kMicrosecond);

// One slider step: clear the polar plot and draw it anew, for a slot with a
// typical directional pattern at gain 1 ...
void PolarRedraw(benchmark::State& state) {
    ImageSurface surface(PolarPictureSize);
    ObservationGrid grid;
    for (int d = 0; d < ObservationGrid::Bins; ++d)
        grid(300, d) = static_cast<std::int16_t>(200 + 600 * std::exp(-0.01 * (d - 40) * (d - 40)));
    const float radPerDeg = static_cast<float>(4 * std::atan(1.0) / 180);
    for (auto _ : state) {
        surface.Cls();
        benchmark::DoNotOptimize(DrawPolarPlot(surface, grid, 300, radPerDeg, 1));
    }
}
BENCHMARK(PolarRedraw)->Unit(benchmark::kMicrosecond);

// ... and for the worst case: values at the 16-bit limits at gain 50, whose
// segments run up to 200,000 pixels outside the surface and must be clipped.
void PolarRedrawFarOutside(benchmark::State& state) {
    ImageSurface surface(PolarPictureSize);
    ObservationGrid grid;
    for (int d = 0; d < ObservationGrid::Bins; ++d)
        grid(300, d) = d % 2 ? 32767 : -32768;
    const float radPerDeg = static_cast<float>(4 * std::atan(1.0) / 180);
    for (auto _ : state) {
        surface.Cls();
        benchmark::DoNotOptimize(DrawPolarPlot(surface, grid, 300, radPerDeg, 50));
    }
}
BENCHMARK(PolarRedrawFarOutside)->Unit(benchmark::kMicrosecond);

// A year of different logs, written once and then read from the page cache:
// a noisy background with a daily rhythm and a source drifting from day to
// day, so that the charts compress as real days do.
const QStringList& YearLogs() {
    static QTemporaryDir dir;
    static const QStringList logs = [] {
        QStringList paths;
        QByteArray bytes(ObservationLogBytes, 0);
        for (int day = 0; day < 365; ++day) {
            const QString path =
                dir.filePath(QDate(2026, 1, 1).addDays(day).toString(QStringLiteral("yyMMdd")) +
                             QStringLiteral(".log"));
            char* cell = bytes.data();
            for (int t = 0; t < ObservationGrid::Slots; ++t) {
                const int background = int(150 + 250 * std::sin(t * 3.14159 / 720));
                const int source = (day * 7 + t / 8) % ObservationGrid::Bins;
                for (int d = 0; d < ObservationGrid::Bins; ++d) {
                    std::uint32_t h = std::uint32_t(t) * 73856093u ^ std::uint32_t(d) * 19349663u ^
                                      std::uint32_t(day) * 83492791u;
                    h ^= h >> 15;
                    h *= 0x846ca68bu;
                    h ^= h >> 16;
                    const int v = std::min(1023, background + int(h % 160) +
                                                     (std::abs(d - source) < 4 ? 500 : 0));
                    *cell++ = static_cast<char>(v & 0xff);
                    *cell++ = static_cast<char>(v >> 8);
                }
            }
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                qFatal("cannot write %s", qPrintable(path));
            paths.append(path);
        }
        return paths;
    }();
    return logs;
}

// Runs `work` on `threads` threads, this one among them, until all return.
void OnThreads(int threads, const std::function<void()>& work) {
    std::vector<std::thread> pool;
    for (int i = 1; i < threads; ++i)
        pool.emplace_back(work);
    work();
    for (std::thread& thread : pool)
        thread.join();
}

// A year rendered to PNG files, through the code `dirchart --render` runs.
void RenderYear(benchmark::State& state) {
    QTemporaryDir out;
    RenderRequest request;
    request.folder = out.path();
    request.logs = YearLogs();
    request.quiet = true;
    for (auto _ : state)
        if (RunRenderCommand(request) != 0)
            state.SkipWithError("an image was not written");
}
BENCHMARK(RenderYear)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same 365 charts already drawn and in memory, only encoded and written
// with the same PNG settings, on as many threads.
void RenderYearFloor(benchmark::State& state) {
    QTemporaryDir out;
    std::vector<QImage> images;
    QStringList paths;
    LogImageRenderer renderer({});
    for (const QString& log : YearLogs()) {
        renderer.render(log);
        images.push_back(renderer.chart());
        paths.append(QDir(out.path()).filePath(ChartImageName(log)));
    }
    const int threads = RenderThreadCount(images.size());
    for (auto _ : state) {
        std::atomic<std::size_t> next{0};
        std::atomic<bool> failed{false};
        OnThreads(threads, [&] {
            for (std::size_t i = next++; i < images.size(); i = next++)
                if (!WriteImageFile(images[i], paths[qsizetype(i)]).ok())
                    failed = true;
        });
        if (failed)
            state.SkipWithError("an image was not written");
    }
}
BENCHMARK(RenderYearFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

// A day's animation, as `--render --animate` writes it for one log: 720
// polar plots drawn, encoded as GIF frames of their changed rectangles on as
// many threads as the machine has, and written ...
void AnimateDay(benchmark::State& state) {
    QTemporaryDir out;
    const QString path = QDir(out.path()).filePath(QStringLiteral("day-polar.gif"));
    LogImageRenderer renderer({});
    renderer.render(YearLogs().constFirst());
    for (auto _ : state)
        if (!WritePolarAnimation(renderer.grid(), YearLogs().constFirst(), {}, 1, 1, path,
                                 QThread::idealThreadCount())
                 .ok())
            state.SkipWithError("the animation was not written");
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}
// Its CPU time is that of all threads.
BENCHMARK(AnimateDay)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// ... against the same 720 frames only drawn and copied out of the surface.
void AnimateDayFloor(benchmark::State& state) {
    LogImageRenderer renderer({});
    renderer.render(YearLogs().constFirst());
    ImageSurface picture(PolarPictureSize);
    for (auto _ : state)
        for (int t = 0; t < ObservationGrid::Slots; ++t) {
            picture.Cls();
            DrawPolarFrame(picture, renderer.grid(), t, 1, QStringLiteral("2026/01/01"));
            benchmark::DoNotOptimize(picture.image());
        }
}
BENCHMARK(AnimateDayFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

// ... and giflib's compression alone of the rectangles AnimateDay stores, on
// one thread: the frames drawn, their changed rectangles found and their
// pixels turned into colour indices beforehand, as the animation's encoder
// does (unchanged pixels transparent at index 0, the background at the
// table's last entry). What the animation cannot go below with giflib.
void AnimateDayCompressFloor(benchmark::State& state) {
    LogImageRenderer renderer({});
    renderer.render(YearLogs().constFirst());
    struct Rectangle {
        QRect at;
        std::size_t first; // its first index in `indices`
    };
    std::vector<Rectangle> rectangles;
    std::vector<GifPixelType> indices;
    ImageSurface pictures[2]{ImageSurface(PolarPictureSize), ImageSurface(PolarPictureSize)};
    const auto indexOf = [](QRgb colour) {
        const auto at = std::find(PolarFrameColours.begin(), PolarFrameColours.end(), colour);
        return GifPixelType(at == PolarFrameColours.begin() ? 7 : at - PolarFrameColours.begin());
    };
    for (int t = 0; t < ObservationGrid::Slots; ++t) {
        ImageSurface& picture = pictures[t % 2];
        picture.Cls();
        DrawPolarFrame(picture, renderer.grid(), t, 1, QStringLiteral("2026/01/01"));
        const QImage& now = picture.pixels();
        const QImage* before = t ? &pictures[(t + 1) % 2].pixels() : nullptr;
        QRect changed;
        for (int y = 0; y < now.height(); ++y)
            for (int x = 0; x < now.width(); ++x)
                if (!before || now.pixel(x, y) != before->pixel(x, y))
                    changed |= QRect(x, y, 1, 1);
        if (changed.isEmpty())
            changed = QRect(0, 0, 1, 1);
        rectangles.push_back({changed, indices.size()});
        for (int y = changed.top(); y <= changed.bottom(); ++y)
            for (int x = changed.left(); x <= changed.right(); ++x)
                indices.push_back(before && now.pixel(x, y) == before->pixel(x, y)
                                      ? 0
                                      : indexOf(now.pixel(x, y)));
    }
    std::array<GifColorType, 8> table{};
    for (auto _ : state) {
        QByteArray bytes;
        int error = 0;
        GifFileType* gif = EGifOpen(
            &bytes,
            [](GifFileType* gif, const GifByteType* data, int length) {
                static_cast<QByteArray*>(gif->UserData)
                    ->append(reinterpret_cast<const char*>(data), length);
                return length;
            },
            &error);
        ColorMapObject* map = GifMakeMapObject(int(table.size()), table.data());
        EGifPutScreenDesc(gif, PolarPictureSize.width(), PolarPictureSize.height(), 8, 0, map);
        GifFreeMapObject(map);
        for (const Rectangle& r : rectangles) {
            EGifPutImageDesc(gif, r.at.x(), r.at.y(), r.at.width(), r.at.height(), false, nullptr);
            GifPixelType* row = indices.data() + r.first;
            for (int y = 0; y < r.at.height(); ++y, row += r.at.width())
                EGifPutLine(gif, row, r.at.width());
        }
        EGifCloseFile(gif, &error);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["pixels"] = static_cast<double>(indices.size());
}
BENCHMARK(AnimateDayCompressFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
// A year of logs read and reduced to thumbnails and stack rows by the
// overview window's own loader, on its reader threads, each day's summary
// delivered to this thread as the window gets it.
void OverviewYear(benchmark::State& state) {
    const QStringList& logs = YearLogs();
    OverviewLoader loader(QFileInfo(logs.constFirst()).absolutePath().toStdString());
    loader.setListing(false);
    qsizetype summaries = 0;
    QObject::connect(&loader, &OverviewLoader::dayRead,
                     [&](int, std::uint64_t, const DayReading& reading) {
                         summaries += reading.summary ? 1 : 0;
                     });
    std::uint64_t request = 0;
    for (auto _ : state) {
        summaries = 0;
        for (qsizetype i = 0; i < logs.size(); ++i)
            loader.read(int(i), logs[i].toStdString(), ++request);
        while (summaries < logs.size())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}
BENCHMARK(OverviewYear)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same files only read into memory, on as many threads.
void OverviewYearFloor(benchmark::State& state) {
    const QStringList& logs = YearLogs();
    std::vector<std::string> paths;
    for (const QString& log : logs)
        paths.push_back(log.toStdString());
    const int threads = std::max(1, QThread::idealThreadCount());
    for (auto _ : state) {
        std::atomic<std::size_t> next{0};
        std::atomic<bool> failed{false};
        OnThreads(threads, [&] {
            std::vector<unsigned char> bytes(ObservationLogBytes);
            for (std::size_t i = next++; i < paths.size(); i = next++) {
                const int fd = ::open(paths[i].c_str(), O_RDONLY);
                if (::read(fd, bytes.data(), bytes.size()) != ObservationLogBytes)
                    failed = true;
                ::close(fd);
            }
        });
        if (failed)
            state.SkipWithError("short read");
    }
}
BENCHMARK(OverviewYearFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
// The sample day, as dirchart-sample writes it, read back through the log
// reader.
const ObservationGrid& SampleDay() {
    static const ObservationGrid grid = [] {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("261208.log"));
        ObservationGrid day;
        if (QProcess::execute(QStringLiteral(DIRCHART_SAMPLE_TOOL), {path}) != 0 ||
            !ReadObservationLog(path.toStdString(), day).ok())
            qFatal("cannot make the sample day");
        return day;
    }();
    return grid;
}

// The events of the sample day at a threshold (1 makes the day one or two
// events), against a floor that reads every cell once and counts those at
// or over the threshold.
void FindSampleEvents(benchmark::State& state) {
    const ObservationGrid& day = SampleDay();
    for (auto _ : state)
        benchmark::DoNotOptimize(FindEvents(day, int(state.range(0))));
}
BENCHMARK(FindSampleEvents)->Name("FindEvents")->Arg(200)->Arg(800)->Arg(1);

void FindEventsFloor(benchmark::State& state) {
    const ObservationGrid& day = SampleDay();
    const int threshold = int(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(day.cells.data());
        benchmark::DoNotOptimize(std::count_if(day.cells.begin(), day.cells.end(),
                                               [&](std::int16_t v) { return v >= threshold; }));
    }
}
BENCHMARK(FindEventsFloor)->Arg(200)->Arg(800)->Arg(1);

// The sample day's values written as a CSV file, as the window exports them.
void WriteDayCsv(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("261208.csv"));
    for (auto _ : state) {
        const std::string csv = DayTable(SampleDay(), ObservationGrid::CellCount);
        if (!WriteWholeFile(path, QByteArray::fromStdString(csv)).ok())
            state.SkipWithError("cannot write the file");
    }
}
BENCHMARK(WriteDayCsv)->Unit(benchmark::kMillisecond);

// One step of playing through a day in the real window, shown on the
// offscreen platform: the view state's slot moves on, the polar plot is
// drawn again, the marker and Text2 follow, and the window is painted.
// Against PolarRedraw, the drawing alone.
void PlayStep(benchmark::State& state) {
    Form1 form;
    form.show();
    form.loadLog(QString::fromStdString(LogPath()));
    int slot = 0;
    for (auto _ : state) {
        slot = (slot + 1) % ObservationGrid::Slots;
        form.view().setSlot(slot);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(PlayStep)->Unit(benchmark::kMicrosecond);

// Two days in memory: the sample day and the same shifted by a few slots and
// bins, so that the difference spreads as between real days.
struct DayPairGrids {
    ObservationGrid shown, reference;
    DayPairGrids() : shown(SampleDay()) {
        for (int t = 0; t < ObservationGrid::Slots; ++t)
            for (int d = 0; d < ObservationGrid::Bins; ++d)
                reference(t, d) = shown((t + 3) % ObservationGrid::Slots, (d + 5) % 180);
    }
};

// The difference chart's cells for a known range, its colours included,
// against ReadAndPlot (target: within 1.5 x).
void DiffPlot(benchmark::State& state) {
    const DayPairGrids days;
    ImageSurface surface(ChartPictureSize);
    const int range = DifferenceRange(days.shown, ObservationGrid::CellCount, days.reference,
                                      ObservationGrid::CellCount);
    for (auto _ : state) {
        const DifferenceColours colours(range);
        PlotDifferenceGrid(surface, {&days.shown, ObservationGrid::CellCount, {}},
                           {&days.reference, ObservationGrid::CellCount, {}}, colours);
        benchmark::DoNotOptimize(surface.pixel(100, 100));
    }
}
BENCHMARK(DiffPlot)->Unit(benchmark::kMicrosecond);

// The range of a pair of days (target: within 1 x ReadAndPlot).
void DiffRange(benchmark::State& state) {
    const DayPairGrids days;
    for (auto _ : state)
        benchmark::DoNotOptimize(DifferenceRange(days.shown, ObservationGrid::CellCount,
                                                 days.reference, ObservationGrid::CellCount));
}
BENCHMARK(DiffRange)->Unit(benchmark::kMicrosecond);

// The profile for a new direction: both days' values through the day and
// the curves drawn again over the frame (target: under ReadAndPlot).
void ProfileRedraw(benchmark::State& state) {
    const DayPairGrids days;
    ImageSurface surface(ProfilePictureSize);
    ProfileCurves curves;
    curves.hasReference = true;
    curves.shownLabel = QStringLiteral("2026/12/08");
    curves.referenceLabel = QStringLiteral("2026/12/07");
    DrawProfileFrame(surface, curves);
    DrawProfileCurves(surface, curves, 300);
    DrawnProfile drawn{curves, 300, {}};
    int bin = 0;
    for (auto _ : state) {
        bin = (bin + 7) % ObservationGrid::Bins;
        const DirectionSector sector{bin, bin};
        curves.shown = ProfileThroughDay(days.shown, ObservationGrid::CellCount, sector);
        curves.reference = ProfileThroughDay(days.reference, ObservationGrid::CellCount, sector);
        curves.caption = QString::number(bin * 2);
        DrawProfileCurves(surface, curves, 300, {}, &drawn);
        drawn.curves = curves;
        benchmark::DoNotOptimize(surface.pixel(100, 100));
    }
}
BENCHMARK(ProfileRedraw)->Unit(benchmark::kMicrosecond);

// 点滅's toggle: the other prepared picture chosen and the chart painted,
// as the B key and the timer do (target: under a tenth of ReadAndPlot).
void BlinkSwap(benchmark::State& state) {
    static QTemporaryDir dir;
    for (const char* name : {"261207.log", "261208.log"})
        QFile::copy(QString::fromStdString(LogPath()), dir.filePath(QString::fromLatin1(name)));
    Form1 form;
    form.loadLog(dir.filePath(QStringLiteral("261208.log")));
    form.commands().compare().showCompare();
    CompareWindow& compare = *form.commands().compare().compareWindow();
    compare.setMode(CompareWindow::Mode::Blink);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        compare.toggleBlink();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BlinkSwap)->Unit(benchmark::kMicrosecond);

// The rectangles where the two days' charts differ, in chart coordinates:
// the cells and the date.
const QRect BlinkRects[] = {QRect(30, 51, 720, 180), QRect(500, 15, 313, 25)};

// The floor: a bare widget of the chart's size that paints one of two
// prepared images over the same area, through the same event loop and
// backing store, as cheaply as Qt paints: opaque, each rectangle a copy
// under its own clip.
void BlinkSwapFloor(benchmark::State& state) {
    class Bare : public QWidget {
      public:
        QImage images[2];
        int shown = 0;
        void paintEvent(QPaintEvent* event) override {
            QPainter painter(this);
            for (const QRect& rect : event->region()) {
                painter.setClipRect(rect);
                painter.drawImage(rect, images[shown], rect);
            }
        }
    } bare;
    bare.setAttribute(Qt::WA_OpaquePaintEvent);
    bare.resize(ChartPictureSize);
    for (int i = 0; i < 2; ++i) {
        bare.images[i] = QImage(ChartPictureSize, QImage::Format_RGB32);
        bare.images[i].fill(i ? Qt::white : Qt::black);
    }
    bare.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        bare.shown = 1 - bare.shown;
        for (const QRect& rect : BlinkRects)
            bare.update(rect);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BlinkSwapFloor)->Unit(benchmark::kMicrosecond);

// Below any window: the same rectangles' rows only copied from one of two
// images into a third, as a swap must move them at the least.
void BlinkSwapCopyFloor(benchmark::State& state) {
    QImage images[2], screen(ChartPictureSize, QImage::Format_RGB32);
    for (int i = 0; i < 2; ++i) {
        images[i] = QImage(ChartPictureSize, QImage::Format_RGB32);
        images[i].fill(i ? Qt::white : Qt::black);
    }
    screen.fill(Qt::gray);
    int shown = 0;
    for (auto _ : state) {
        shown = 1 - shown;
        for (const QRect& rect : BlinkRects)
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                std::memcpy(screen.scanLine(y) + rect.left() * 4,
                            images[shown].constScanLine(y) + rect.left() * 4,
                            static_cast<std::size_t>(rect.width()) * 4);
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BlinkSwapCopyFloor)->Unit(benchmark::kMicrosecond);

} // namespace

namespace {

// A year of days with ten marks each: empty logs (only their names count
// here) and their marks files.
const QString& MarksYearFolder() {
    static QTemporaryDir dir;
    static const QString folder = [] {
        const QDate first(2026, 1, 1);
        for (int day = 0; day < 365; ++day) {
            const QString log =
                dir.filePath(first.addDays(day).toString(QStringLiteral("yyMMdd")) + ".log");
            QFile(log).open(QIODevice::WriteOnly);
            MarksDocument document;
            for (int i = 0; i < 10; ++i)
                document.marks.push_back(NewBenchMark(day * 10 + i));
            WriteWholeFile(MarksFileBeside(log), QByteArray::fromStdString(MarksJson(document)));
        }
        return dir.path();
    }();
    return folder;
}

} // namespace

// The list of a folder's marks: every marks file of a year read, its marks
// taken into the list and put in order by day and start, as 印一覧 fills its
// table (the order as the rows' numbers, as a sorting view holds it).
void MarksYear(benchmark::State& state) {
    const QString& folder = MarksYearFolder();
    for (auto _ : state) {
        std::vector<std::pair<QString, Mark>> listed;
        std::vector<std::size_t> dayOf; // the day's place in the folder's date order
        std::vector<LogMarks> days = FolderMarks(folder);
        listed.reserve(days.size() * 10);
        dayOf.reserve(days.size() * 10);
        for (std::size_t day = 0; day < days.size(); ++day)
            for (Mark& mark : days[day].read.document.marks) {
                listed.emplace_back(days[day].log, std::move(mark));
                dayOf.push_back(day);
            }
        // The list's order, as the rows' numbers: the marks themselves stay.
        std::vector<std::uint32_t> order(listed.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](std::uint32_t i, std::uint32_t j) {
            return dayOf[i] != dayOf[j] ? dayOf[i] < dayOf[j]
                                        : MarkBefore(listed[i].second, listed[j].second);
        });
        if (listed.size() != 3650)
            state.SkipWithError("marks missing");
        benchmark::DoNotOptimize(order.data());
    }
}
BENCHMARK(MarksYear)->Unit(benchmark::kMillisecond);

// The same marks files only read into memory.
void MarksYearFloor(benchmark::State& state) {
    std::vector<std::string> paths;
    for (const QString& name :
         QDir(MarksYearFolder()).entryList({QStringLiteral("*.marks.json")}, QDir::Files))
        paths.push_back(QDir(MarksYearFolder()).filePath(name).toStdString());
    std::string bytes;
    for (auto _ : state) {
        std::size_t total = 0;
        for (const std::string& path : paths) {
            const int fd = ::open(path.c_str(), O_RDONLY);
            char buffer[65536];
            for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
                total += std::size_t(n);
            ::close(fd);
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(MarksYearFloor)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv); // fonts for the image surface, and the window
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
