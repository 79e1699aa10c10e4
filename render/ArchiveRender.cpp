// SPDX-License-Identifier: MIT
#include "ArchiveRender.h"

#include "ArchivePage.h"
#include "DayStacks.h"
#include "DayTime.h"
#include "DayThumbnail.h"
#include "FileErrors.h"
#include "FileNames.h"
#include "ImageSurface.h"
#include "PathText.h"
#include "PngFile.h"
#include "PolarAnimation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>

ArchiveRender::ArchiveRender(const RenderRequest& request)
    : m_request(request), m_colourTable(request.colours),
      m_dayOf(std::size_t(request.logs.size())) {
    if (!wanted())
        return;
    // The days the logs fill, by the same rule as a folder's archive.
    std::vector<ArchiveLog> candidates;
    for (const QString& log : request.logs)
        candidates.push_back({{}, PathBytes(log), 0, {}});
    ArchiveListing listing = SortArchive(std::move(candidates));
    for (const auto& name : listing.leftOut)
        m_leftOut.append(PathForDisplay(PathFromBytes(name.native())));
    for (const ArchiveLog& log : listing.logs) {
        const qsizetype index = request.logs.indexOf(PathFromBytes(log.path.native()));
        m_dayOf[std::size_t(index)] = int(m_days.size());
        m_days.push_back({log.date, index, std::nullopt, {}});
    }
    if (request.html) {
        // By its bytes, as every file here; a thumbnail that cannot be
        // written for want of the folder is reported as it fails.
        std::error_code error;
        std::filesystem::create_directories(
            FileSystemPath(request.folder) / ThumbnailFolder.toStdString(), error);
    }
}

bool ArchiveRender::addDay(qsizetype index, const ObservationGrid& grid, const Failure& fail) {
    const std::optional<int> day = m_dayOf[std::size_t(index)];
    if (!day)
        return true;
    // Each log is one thread's at a time, and so is its day.
    const DaySummary summary = SummariseDay(grid);
    m_days[std::size_t(*day)].rows = summary.rows;
    if (!m_request.html)
        return true;
    ImageSurface thumbnail(ThumbnailSize, m_request.scale);
    DrawDayThumbnail(thumbnail, summary, m_colours);
    const QString path = QDir(m_request.folder)
                             .filePath(ThumbnailFolder + QLatin1Char('/') +
                                       ChartImageName(m_request.logs[index], m_request.view));
    const FileWriteResult written = WriteImageFile(thumbnail.image(), path);
    if (written.ok())
        return true;
    fail(path, ReasonInWords(written.errorNumber));
    return false;
}

void ArchiveRender::markUnreadable(qsizetype index, const QString& reason) {
    if (const std::optional<int> day = m_dayOf[std::size_t(index)])
        m_days[std::size_t(*day)].problem = reason;
}

bool ArchiveRender::finish(const Failure& fail, const Failure& note) {
    if (!wanted())
        return true;
    const QDir folder(m_request.folder);
    if (m_days.empty()) {
        // Nothing to stack: the page still says so and lists the names left
        // out, while stacks alone were all that was asked for.
        const QString why =
            QStringLiteral("no log is named by a date (yymmdd.log), so no day stacks were written");
        if (!m_request.html) {
            fail(m_request.folder, why);
            return false;
        }
        note(m_request.folder, why);
        return writePage(folder, {}, fail);
    }
    const Day first = m_days.front().date;
    const int count = int((m_days.back().date - first).count()) + 1;
    // Days without a log, or with one that could not be read, are hatched.
    std::vector<const DayRows*> rows(std::size_t(count), nullptr);
    for (const PageEntry& day : m_days)
        if (day.rows)
            rows[std::size_t((day.date - first).count())] = &*day.rows;
    bool written = true;
    PageImage images[2];
    for (const DayStack stack : {DayStack::Time, DayStack::Direction}) {
        const QSize size = StackGeometry::PictureSize(stack, count);
        ImageSurface picture(size, m_request.scale);
        DrawDayStack(
            picture, stack, first, count,
            [&](int day) { return std::optional(rows[std::size_t(day)]); }, m_colours);
        const bool time = stack == DayStack::Time;
        const QString name = time ? OverviewTimeImage : OverviewDirectionImage;
        images[time ? 0 : 1] = {name, size,
                                QStringLiteral("%1の日別最大値 %2 – %3")
                                    .arg(time ? QStringLiteral("時刻") : QStringLiteral("方向"),
                                         DateText(first), DateText(m_days.back().date))};
        const FileWriteResult image = WriteImageFile(picture.image(), folder.filePath(name));
        if (!image.ok()) {
            fail(folder.filePath(name), ReasonInWords(image.errorNumber));
            written = false;
        }
    }
    if (!m_request.html)
        return written;
    return writePage(folder, images, fail) && written;
}

bool ArchiveRender::writePage(const QDir& folder, const PageImage (&images)[2],
                              const Failure& fail) const {
    ArchivePage page;
    // Named after the logs' folder when they share one.
    const QString logFolder = QFileInfo(m_request.logs.constFirst()).absolutePath();
    bool shared = true;
    for (const QString& log : m_request.logs)
        shared = shared && QFileInfo(log).absolutePath() == logFolder;
    if (shared)
        page.name = QFileInfo(logFolder).fileName();
    page.timeStack = images[0];
    page.directionStack = images[1];
    page.leftOut = m_leftOut;
    for (const PageEntry& day : m_days) {
        const QString chart = ChartImageName(m_request.logs[day.log], m_request.view);
        // What else this run writes of the day, under its thumbnail: the
        // animation, the values.
        QList<PageLink> links;
        const QString& log = m_request.logs[day.log];
        if (m_request.animation && day.problem.isEmpty())
            links.append({AnimationImageName(log), QStringLiteral("動画")});
        if (m_request.csv && day.problem.isEmpty()) {
            links.append({DayValuesName(log), QStringLiteral("値 CSV")});
            if (m_request.polarSlot >= 0)
                links.append({SlotValuesName(log, m_request.polarSlot),
                              QString::fromStdString(SlotClock(m_request.polarSlot)) +
                                  QStringLiteral(" の値 CSV")});
        }
        page.days.push_back(
            {day.date, chart, ThumbnailFolder + QLatin1Char('/') + chart, day.problem, links});
    }
    const QString path = folder.filePath(ArchivePageName);
    const FileWriteResult html = WriteWholeFile(path, ArchivePageHtml(page));
    if (!html.ok()) {
        fail(path, ReasonInWords(html.errorNumber));
        return false;
    }
    return true;
}
