// SPDX-License-Identifier: MIT
#include "ArchiveRender.h"

#include "ArchivePage.h"
#include "DayStacks.h"
#include "DayThumbnail.h"
#include "ImageSurface.h"
#include "FileErrors.h"
#include "PathText.h"
#include "FileNames.h"
#include "PolarAnimation.h"
#include "PngFile.h"

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
                                       ChartImageName(m_request.logs[index]));
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

bool ArchiveRender::finish(const Failure& fail) {
    if (!wanted() || m_days.empty())
        return true;
    const QDir folder(m_request.folder);
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
            [&](int day) { return std::optional(rows[std::size_t(day)]); },
            m_colours);
        const bool time = stack == DayStack::Time;
        const QString name = time ? OverviewTimeImage : OverviewDirectionImage;
        images[time ? 0 : 1] = {name, size,
                                QStringLiteral("%1の日別最大値 %2 – %3")
                                    .arg(time ? QStringLiteral("時刻") : QStringLiteral("方向"),
                                         DateText(first),
                                         DateText(m_days.back().date))};
        const FileWriteResult image = WriteImageFile(picture.image(), folder.filePath(name));
        if (!image.ok()) {
            fail(folder.filePath(name), ReasonInWords(image.errorNumber));
            written = false;
        }
    }
    if (!m_request.html)
        return written;

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
        const QString chart = ChartImageName(m_request.logs[day.log]);
        // The day's animation, when this run writes one, under its thumbnail.
        QList<PageLink> links;
        if (m_request.animation && day.problem.isEmpty())
            links.append({AnimationImageName(m_request.logs[day.log]), QStringLiteral("動画")});
        page.days.push_back(
            {day.date, chart, ThumbnailFolder + QLatin1Char('/') + chart, day.problem, links});
    }
    const QString path = folder.filePath(ArchivePageName);
    const FileWriteResult html = WriteWholeFile(path, ArchivePageHtml(page));
    if (!html.ok()) {
        fail(path, ReasonInWords(html.errorNumber));
        written = false;
    }
    return written;
}
