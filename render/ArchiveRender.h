// SPDX-License-Identifier: MIT
#pragma once

#include "ArchiveListing.h"
#include "ArchivePage.h"
#include "ColourTable.h"
#include "DaySummary.h"
#include "OverviewColours.h"
#include "RenderCommand.h"

#include <QDir>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// The archive's pictures and page for `dirchart --render` with --overview
// (DIR/overview-time.png and DIR/overview-direction.png) and --html (those
// two, DIR/thumbs/<name>.png and DIR/index.html). The logs are the render's
// own: each is read once, and rendering keeps only its stack rows here.
class ArchiveRender {
  public:
    using Failure = std::function<void(const QString& path, const QString& reason)>;

    explicit ArchiveRender(const RenderRequest& request);

    bool wanted() const { return m_request.overview || m_request.html; }

    // After log `index` of the request was read into `grid`, from any
    // thread: keeps its stack rows and writes its thumbnail for the page.
    // False, after reporting, when the thumbnail could not be written.
    bool addDay(qsizetype index, const ObservationGrid& grid, const Failure& fail);
    // Log `index` could not be read: its day is marked on the page.
    void markUnreadable(qsizetype index, const QString& reason);
    // Once every log is done: writes the stacks and the page. False, after
    // reporting, when something was not written. Without a dated log, the
    // page is written without stacks and `note` says so; stacks alone are
    // then a failure.
    bool finish(const Failure& fail, const Failure& note);

  private:
    bool writePage(const QDir& folder, const PageImage (&images)[2], const Failure& fail) const;

    struct PageEntry {
        Day date;
        qsizetype log = 0; // its index in the request
        std::optional<DayRows> rows;
        QString problem; // why the log could not be read
    };
    const RenderRequest& m_request;
    const ColourTable m_colourTable;
    const OverviewColours m_colours{&m_colourTable};
    std::vector<PageEntry> m_days;           // by date
    std::vector<std::optional<int>> m_dayOf; // for each log, its day; nothing when left out
    QStringList m_leftOut;
};
