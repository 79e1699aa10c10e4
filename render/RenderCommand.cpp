// SPDX-License-Identifier: MIT
#include "RenderCommand.h"

#include "ArchiveRender.h"
#include "DayDifference.h"
#include "DifferenceChart.h"
#include "FileErrors.h"
#include "FileNames.h"
#include "ImageSurface.h"
#include "LogFile.h"
#include "MarkFile.h"
#include "PathText.h"
#include "PngFile.h"
#include "PolarAnimation.h"
#include "RenderImages.h"
#include "ValueFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace {

// Failures and the progress line, from any thread.
class Reporter {
  public:
    Reporter(qsizetype total, bool progress) : m_total(total), m_progress(progress) {}
    ~Reporter() {
        if (m_shown)
            std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }

    void Fail(const QString& path, const QString& reason) {
        const std::lock_guard lock(m_mutex);
        if (m_shown)
            std::fputs("\r\033[K", stderr);
        m_shown = false;
        std::fprintf(stderr, "dirchart: %s: %s\n", PathBytes(path).c_str(), qUtf8Printable(reason));
    }

    // A line about a log that is not a failure.
    void Note(const QString& path, const QString& what) { Fail(path, what); }

    void Done(const QString& log) {
        if (!m_progress)
            return;
        const std::lock_guard lock(m_mutex);
        ++m_done;
        std::fprintf(stderr, "\r\033[K[%lld/%lld] %s", static_cast<long long>(m_done),
                     static_cast<long long>(m_total), qUtf8Printable(QFileInfo(log).fileName()));
        std::fflush(stderr);
        m_shown = true;
    }

  private:
    std::mutex m_mutex;
    qsizetype m_done = 0;
    const qsizetype m_total;
    const bool m_progress;
    bool m_shown = false;
};

// The difference charts of one thread: a reference read once when it is
// fixed, or each log's own when it is relative, and the surface reused.
class DifferenceRenderer {
  public:
    DifferenceRenderer(const DifferenceRequest& request, qreal scale, const ChartView& view)
        : m_request(request), m_view(view), m_picture(ChartPictureSize, scale) {
        if (!request.referenceLog.isEmpty())
            m_referenceRead = ReadLogFile(request.referenceLog, m_reference);
    }

    // Draws `shown` minus its reference and writes it into the folder; false
    // when something failed. A relative reference without a log is only
    // reported.
    bool Write(const ObservationGrid& shown, long shownCells, const QString& log,
               const QDir& folder, Reporter& reporter) {
        QString referencePath = m_request.referenceLog;
        if (referencePath.isEmpty()) {
            const auto found = RelativeDayLog(FileSystemPath(log), m_request.relative);
            if (!found) {
                reporter.Note(log, QStringLiteral("no reference day, so no difference chart"));
                return true;
            }
            referencePath = PathFromBytes(found->native());
            m_referenceRead = ReadLogFile(referencePath, m_reference);
        }
        if (!m_referenceRead.ok()) {
            reporter.Fail(referencePath, ReasonInWords(m_referenceRead));
            return false;
        }
        const long referenceCells = m_referenceRead.cellsCovered();
        const int range = m_request.range > 0
                              ? m_request.range
                              : DifferenceRange(shown, shownCells, m_reference, referenceCells);
        if (!m_colours || m_colours->range() != range)
            m_colours.emplace(range);
        DrawDifferenceChart(m_picture, {&shown, shownCells, log},
                            {&m_reference, referenceCells, referencePath}, *m_colours, m_view);
        const QString path = folder.filePath(DifferenceImageName(log));
        const FileWriteResult result = WriteImageFile(m_picture.image(), path);
        if (!result.ok()) {
            reporter.Fail(path, ReasonInWords(result.errorNumber));
            return false;
        }
        return true;
    }

  private:
    const DifferenceRequest& m_request;
    // The part of the day the chart shows, which the difference shows too.
    const ChartView m_view;
    ImageSurface m_picture;
    ObservationGrid m_reference;
    LogReadResult m_referenceRead;
    std::optional<DifferenceColours> m_colours;
};

// Renders one log and writes its images, and with `csv` its values; false
// when something was not written.
bool RenderLog(LogImageRenderer& renderer, const QString& log, const QDir& folder,
               const RenderRequest& request, Reporter& reporter, ArchiveRender& archive,
               qsizetype index, int frameThreads, DifferenceRenderer* difference) {
    const LogReadResult read = renderer.render(log);
    if (!read.ok()) {
        reporter.Fail(log, ReasonInWords(read));
        archive.markUnreadable(index, ReasonInWords(read));
        return false;
    }
    const auto fail = [&](const QString& path, const QString& why) { reporter.Fail(path, why); };
    bool marksRead = true;
    if (request.marks) {
        // A damaged marks file is reported, and the chart written without
        // the marks it could not read.
        const MarksRead marks = ReadMarks(log);
        if (marks.status == MarksRead::Status::Damaged)
            fail(marks.path, QStringLiteral("damaged marks file (%1)").arg(marks.why));
        else if (marks.status == MarksRead::Status::CannotRead)
            fail(marks.path, ReasonInWords(marks.errorNumber));
        marksRead = marks.ok();
        renderer.drawMarks(marks.document.marks);
    }
    bool written = !archive.wanted() || archive.addDay(index, renderer.grid(), fail);
    written = written && marksRead;
    const auto check = [&](const QString& path, const FileWriteResult& result) {
        if (!result.ok()) {
            reporter.Fail(path, ReasonInWords(result.errorNumber));
            written = false;
        }
    };
    const auto write = [&](const QImage& image, const QString& name) {
        const QString path = folder.filePath(name);
        check(path, WriteImageFile(image, path));
    };
    write(renderer.chart(), ChartImageName(log, request.view));
    const LogImageOptions& options = renderer.options();
    if (options.polarSlot >= 0)
        write(renderer.polar(), PolarImageName(log, options.polarSlot, options.gain));
    if (request.animation) {
        const QString path = folder.filePath(AnimationImageName(log));
        check(path, WritePolarAnimation(renderer.grid(), log, *request.animation, options.gain,
                                        options.scale, path, frameThreads));
    }
    if (difference &&
        !difference->Write(renderer.grid(), read.cellsCovered(), log, folder, reporter))
        written = false;
    if (request.csv) {
        for (const auto& [path, error] :
             WriteLogValues(renderer.grid(), read.cellsCovered(), log, folder, options.polarSlot)) {
            reporter.Fail(path, error);
            written = false;
        }
    }
    return written;
}

} // namespace

int RenderThreadCount(qsizetype logs) {
    return static_cast<int>(
        std::clamp<qsizetype>(QThread::idealThreadCount(), 1, std::max<qsizetype>(logs, 1)));
}

int RunRenderCommand(const RenderRequest& request) {
    const LogImageOptions options{request.polarSlot, request.gain, request.scale, request.colours,
                                  request.view};
    const QDir folder(request.folder);
    const qsizetype total = request.logs.size();
    Reporter reporter(total, !request.quiet && total > 1 && ::isatty(STDERR_FILENO));

    // Each thread takes the next log when it is done with one, so at most one
    // log per thread is in memory.
    ArchiveRender archive(request);
    std::atomic<qsizetype> next{0};
    std::atomic<bool> allWritten{true};
    // The threads a log's animation is drawn and compressed on: the whole
    // machine for a log rendered alone, one for each of many.
    const int count = RenderThreadCount(total);
    const int frameThreads = std::max(1, QThread::idealThreadCount() / count);
    const auto work = [&] {
        LogImageRenderer renderer(options);
        std::optional<DifferenceRenderer> difference;
        if (request.difference)
            difference.emplace(*request.difference, request.scale, request.view);
        for (qsizetype i = next++; i < total; i = next++) {
            const QString& log = request.logs[i];
            if (!RenderLog(renderer, log, folder, request, reporter, archive, i, frameThreads,
                           difference ? &*difference : nullptr))
                allWritten = false;
            reporter.Done(log);
        }
    };
    std::vector<std::thread> threads;
    for (int i = 1; i < count; ++i)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
    const auto report = [&](const QString& path, const QString& why) { reporter.Fail(path, why); };
    if (!archive.finish(report, report))
        allWritten = false;
    return allWritten ? 0 : 1;
}
