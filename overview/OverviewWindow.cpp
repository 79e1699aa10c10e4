// SPDX-License-Identifier: MIT
#include "OverviewWindow.h"

#include "DayTexts.h"
#include "DayTime.h"
#include "MarkFile.h"
#include "OverviewLoader.h"
#include "PathText.h"
#include "PictureBox.h"

#include <QAction>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

namespace fs = std::filesystem;
using namespace std::chrono;

namespace {

int Number(Day day) {
    return int(day.time_since_epoch().count());
}

QString NameOf(const fs::path& path) {
    return QFile::decodeName(path.c_str());
}

// The folder's own name, also for "/tmp/year/".
fs::path FolderName(const fs::path& folder) {
    const fs::path normal = folder.lexically_normal();
    return normal.has_filename() ? normal.filename() : normal.parent_path().filename();
}

constexpr int StatusDelayMs = 200;

// The window's font with a family that has Japanese and Latin letters alike:
// its own when it has, else the first such family installed. Otherwise a
// line such as 「一覧に入らないログ: 260230.log」 would draw its kana in a
// fallback font and its digits in another.
QFont OneFontForJapanese(QFont font) {
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    const QString family = QFontInfo(font).family();
    if (japanese.isEmpty() || japanese.contains(family))
        return font;
    for (const QString& preferred : {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
                                     QStringLiteral("IPAGothic")})
        if (japanese.contains(preferred)) {
            font.setFamilies({preferred});
            return font;
        }
    font.setFamilies({japanese.constFirst()});
    return font;
}

fs::path Canonical(const fs::path& path) {
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(path, error);
    return error ? path.lexically_normal() : canonical;
}

} // namespace

OverviewWindow::OverviewWindow(fs::path folder, fs::path shownLog, QWidget* parent)
    : QWidget(parent, Qt::Window), m_folder(std::move(folder)),
      m_timing(!qEnvironmentVariableIsEmpty("DIRCHART_OVERVIEW_TIMING")) {
    m_sinceOpened.start();
    setWindowTitle(QStringLiteral("一覧 – ") + NameOf(FolderName(m_folder)));
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(OneFontForJapanese(font()));

    m_status = new QLabel(this);
    m_stackPane = new QWidget;
    auto* stackGrid = new QGridLayout(m_stackPane);
    stackGrid->setContentsMargins(0, 0, 0, 0);
    stackGrid->setHorizontalSpacing(24);
    for (const DayStack kind : {DayStack::Time, DayStack::Direction}) {
        const int column = kind == DayStack::Time ? 0 : 1;
        m_stackTitles[column] =
            new QLabel(kind == DayStack::Time ? QStringLiteral("時刻") : QStringLiteral("方向"));
        QFont title = m_stackTitles[column]->font();
        title.setBold(true);
        m_stackTitles[column]->setFont(title);
        stackGrid->addWidget(m_stackTitles[column], 0, column);
    }
    stackGrid->setColumnStretch(2, 1);
    stackGrid->setRowStretch(2, 1);
    m_stackArea = new QScrollArea;
    m_stackArea->setWidget(m_stackPane);
    m_stackArea->setWidgetResizable(true);
    m_stackArea->setFrameShape(QFrame::NoFrame);
    // A click on a stack chooses a day; the keys stay with the calendar.
    m_stackArea->setFocusPolicy(Qt::NoFocus);
    m_stackArea->hide(); // until there are days to stack

    m_calendar = new OverviewCalendar(m_days);
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(m_stackArea);
    splitter->addWidget(m_calendar);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);

    m_leftOut = new QLabel(this);
    m_leftOut->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_leftOut->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_leftOut);

    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    m_statusDelay.setSingleShot(true);
    m_statusDelay.setInterval(StatusDelayMs);
    connect(&m_statusDelay, &QTimer::timeout, this, &OverviewWindow::updateStatus);
    connect(m_calendar, &OverviewCalendar::dayActivated, this, [this](Day day) { chooseDay(day); });
    connect(m_calendar, &OverviewCalendar::dayMenuRequested, this, [this](Day date, QPoint at) {
        const auto day = m_days.find(Number(date));
        if (day == m_days.end())
            return;
        QMenu menu(this);
        const std::filesystem::path log = day->second.log;
        connect(menu.addAction(QStringLiteral("基準日にする")), &QAction::triggered, this,
                [this, log] { emit referenceChosen(log); });
        menu.exec(at);
    });

    // The loader lists the folder at once and then every second; the window
    // opens on the shown day when the first listing comes.
    m_calendar->setPlaceholder(QStringLiteral("読み込み中…"));
    m_loader = new OverviewLoader(m_folder, this);
    connect(m_loader, &OverviewLoader::listed, this, &OverviewWindow::applyListing);
    connect(m_loader, &OverviewLoader::dayRead, this, &OverviewWindow::applyReading);
    connect(m_calendar, &OverviewCalendar::viewMoved, this, [this] {
        if (const std::optional<Day> middle = m_calendar->middleDay())
            m_loader->setFocus(Number(*middle));
    });
    setShownLog(shownLog);

    const QRect screen = this->screen()->availableGeometry();
    resize(std::min(1460, screen.width() - 20), std::min(960, screen.height() - 40));
    m_splitter = splitter;
    m_calendar->setFocus();
}

OverviewWindow::~OverviewWindow() {
    // The readers stop before the days they report on go.
    delete m_loader;
}

PictureBox* OverviewWindow::stack(DayStack kind) const {
    return m_stacks[kind == DayStack::Time ? 0 : 1];
}

void OverviewWindow::setShownLog(const fs::path& log) {
    m_shownName.clear();
    if (!log.empty() && Canonical(log.parent_path()) == Canonical(m_folder))
        m_shownName = log.filename();
    m_calendar->setShownDay(shownDay());
}

void OverviewWindow::refreshMarks(const fs::path& log) {
    if (log.empty() || Canonical(log.parent_path()) != Canonical(m_folder))
        return;
    const std::optional<Day> date = LogDate(log.filename().native());
    if (!date)
        return;
    const auto day = m_days.find(Number(*date));
    if (day == m_days.end() || !day->second.read)
        return; // its first reading, still to come, reads the marks too
    const MarksRead marks = ReadMarks(PathFromBytes(log.native()));
    day->second.marks = int(marks.document.marks.size());
    day->second.marksDamaged = !marks.ok();
    m_calendar->dayChanged(*date);
}

std::optional<Day> OverviewWindow::shownDay() const {
    const std::optional<Day> date = LogDate(m_shownName.native());
    if (!date)
        return std::nullopt;
    const auto day = m_days.find(Number(*date));
    if (day == m_days.end() || day->second.log.filename() != m_shownName)
        return std::nullopt;
    return date;
}

void OverviewWindow::setColours(const OverviewColours& colours) {
    m_colours = colours;
    m_calendar->setColours(colours);
    drawStacks();
}

void OverviewWindow::showEvent(QShowEvent* event) {
    m_loader->setListing(true);
    QWidget::showEvent(event);
}

void OverviewWindow::hideEvent(QHideEvent* event) {
    m_loader->setListing(false);
    QWidget::hideEvent(event);
}

void OverviewWindow::applyListing(const ArchiveListing& listing) {
    if (!m_opened && !listing.logs.empty()) // the shown day is read first
        m_loader->setFocus(Number(LogDate(m_shownName.native()).value_or(listing.logs.back().date)));
    OverviewDays next;
    bool datesChanged = listing.logs.size() != m_days.size();
    for (const ArchiveLog& log : listing.logs) {
        OverviewDay& day = next[Number(log.date)];
        const auto old = m_days.find(Number(log.date));
        if (old == m_days.end())
            datesChanged = true;
        else if (old->second.log == log.path)
            day = std::move(old->second); // kept on screen until read anew
        if (day.request != 0 && day.size == log.size && day.modified == log.modified)
            continue;
        day.log = log.path;
        day.size = log.size;
        day.modified = log.modified;
        day.request = ++m_requests;
        m_loader->read(Number(log.date), log.path, day.request);
    }
    m_days.swap(next);
    m_pending = int(std::count_if(m_days.begin(), m_days.end(),
                                  [](const auto& day) { return !day.second.read; }));

    QStringList leftOut;
    for (const fs::path& name : listing.leftOut)
        leftOut.append(NameOf(name));
    m_leftOut->setText(LeftOutText(leftOut));
    m_leftOut->setVisible(!leftOut.isEmpty());

    if (datesChanged) {
        std::vector<Day> dates;
        for (const auto& [number, day] : m_days)
            dates.push_back(Day(days(number)));
        m_calendar->setCalendar(CalendarLayout(std::move(dates)));
        m_calendar->setShownDay(shownDay());
        rebuildStacks();
    }
    if (!m_listed) {
        m_listed = true;
        m_calendar->setPlaceholder(QStringLiteral("このフォルダーには観測ログがありません。"));
    }
    if (!m_opened && !m_days.empty()) {
        // Opened on the shown day, or else on the latest.
        m_opened = true;
        const Day focus = shownDay().value_or(m_calendar->calendar().last());
        m_calendar->setSelectedDay(focus);
        m_loader->setFocus(Number(focus));
        // Once the window has its size: the stacks as tall as they want, up
        // to half the window, the calendar the rest, both on the focused day.
        QTimer::singleShot(0, this, [this, focus] {
            m_splitter->setSizes(
                {std::min(m_stackPane->sizeHint().height() + 4, height() / 2), height()});
            goToDay(focus);
        });
    }
    updateStatus();
}

void OverviewWindow::present() {
    show();
    raise();
    activateWindow();
    m_calendar->setFocus(Qt::ActiveWindowFocusReason);
    // Before the first listing, that listing brings the window to the day.
    if (const std::optional<Day> day = m_opened ? shownDay() : std::nullopt)
        goToDay(*day);
}

// The day selected, read first, and in the middle of the calendar and of
// the stacks.
void OverviewWindow::goToDay(Day day) {
    m_calendar->setSelectedDay(day);
    m_loader->setFocus(Number(day));
    m_calendar->scrollToDay(day);
    const QRect band = StackGeometry::BandRect(
        DayStack::Time, int((day - m_calendar->calendar().first()).count()), stackDays());
    m_stackArea->ensureVisible(0, band.center().y(), 0, m_stackArea->height() / 2);
}

void OverviewWindow::applyReading(int number, std::uint64_t request, const DayReading& reading) {
    const auto found = m_days.find(number);
    if (found == m_days.end() || found->second.request != request)
        return; // a reading overtaken by a later change
    OverviewDay& day = found->second;
    m_pending -= day.read ? 0 : 1;
    day.read = true;
    day.summary = reading.summary;
    day.problem = reading.problem;
    day.marks = reading.marks;
    day.marksDamaged = reading.marksDamaged;
    const Day date{days(number)};
    m_calendar->dayChanged(date);
    const int index = int((date - m_calendar->calendar().first()).count());
    for (const DayStack kind : {DayStack::Time, DayStack::Direction})
        if (PictureBox* picture = stack(kind))
            DrawDayStackBand(picture->surface(), kind, index, stackDays(),
                             day.summary ? &day.summary->rows : nullptr, m_colours);
    // Thousands of days come in a few seconds: the count is shown a few
    // times a second, and at once when the last one is in.
    if (m_pending == 0 || (m_timing && !m_firstShown))
        updateStatus();
    else if (!m_statusDelay.isActive())
        m_statusDelay.start();
}

int OverviewWindow::stackDays() const {
    const CalendarLayout& layout = m_calendar->calendar();
    return layout.empty() ? 0 : int((layout.last() - layout.first()).count()) + 1;
}

void OverviewWindow::rebuildStacks() {
    auto* grid = static_cast<QGridLayout*>(m_stackPane->layout());
    for (PictureBox*& picture : m_stacks) {
        delete picture;
        picture = nullptr;
    }
    m_stackArea->setVisible(stackDays() > 0);
    if (stackDays() == 0)
        return;
    for (const DayStack kind : {DayStack::Time, DayStack::Direction}) {
        auto* picture = new PictureBox(StackGeometry::PictureSize(kind, stackDays()));
        picture->setFixedSize(picture->size());
        m_stacks[kind == DayStack::Time ? 0 : 1] = picture;
        grid->addWidget(picture, 1, kind == DayStack::Time ? 0 : 1, Qt::AlignLeft | Qt::AlignTop);
        wireStack(kind);
    }
    drawStacks();
}

void OverviewWindow::drawStacks() {
    const int count = stackDays();
    if (count == 0)
        return;
    const Day first = m_calendar->calendar().first();
    const auto rows = [&](int index) -> std::optional<const DayRows*> {
        const auto day = m_days.find(Number(first + days(index)));
        if (day == m_days.end())
            return nullptr;
        if (!day->second.read)
            return std::nullopt;
        return day->second.summary ? &day->second.summary->rows : nullptr;
    };
    for (const DayStack kind : {DayStack::Time, DayStack::Direction})
        DrawDayStack(stack(kind)->surface(), kind, first, count, rows, m_colours);
}

void OverviewWindow::wireStack(DayStack kind) {
    PictureBox* picture = stack(kind);
    picture->setAccessibleName(kind == DayStack::Time ? QStringLiteral("時刻の日別最大値")
                                                      : QStringLiteral("方向の日別最大値"));
    // Saved pictures come from the render mode (--overview); here the
    // stacks are copied.
    picture->saveAction()->setVisible(false);
    const auto at = [this, kind](QPointF p) -> std::optional<std::pair<Day, int>> {
        const auto point = StackGeometry::PointAt(kind, stackDays(), p);
        if (!point)
            return std::nullopt;
        return std::pair{m_calendar->calendar().first() + days(point->day), point->column};
    };
    picture->setTipProvider([this, kind, at](QPointF p) -> std::optional<PictureTip> {
        const auto point = at(p);
        if (!point)
            return std::nullopt;
        const auto [date, column] = *point;
        QString where = kind == DayStack::Time ? QString::fromStdString(SlotClock(column))
                                               : QStringLiteral("%1°").arg(BinDegrees(column));
        QString text = DateText(date) + QStringLiteral("　") + where;
        const auto day = m_days.find(Number(date));
        if (day == m_days.end())
            text += QStringLiteral("　ログなし");
        else if (const auto& summary = day->second.summary)
            text += !(kind == DayStack::Time ? summary->slotRecorded(column)
                                             : summary->binRecorded(column))
                        ? QStringLiteral("　記録なし")
                        : QStringLiteral("　%1").arg(
                              kind == DayStack::Time ? summary->rows.slotMaxima[std::size_t(column)]
                                                     : summary->rows.binMaxima[std::size_t(column)]);
        const QRect band = StackGeometry::BandRect(kind, int((date - m_calendar->calendar().first()).count()),
                                                   stackDays());
        return PictureTip{text, QRect(band.left() + column, band.top(), 1, band.height())};
    });
    picture->setPointHandler([this, kind, at](QPointF p, bool dragging) {
        const auto point = at(p);
        if (dragging || !point)
            return false;
        chooseDay(point->first, kind == DayStack::Time ? std::optional<int>(point->second)
                                                      : std::nullopt);
        return false;
    });
    connect(picture, &PictureBox::devicePixelRatioChanged, this, &OverviewWindow::drawStacks);
}

void OverviewWindow::chooseDay(Day date, std::optional<int> slot) {
    const auto day = m_days.find(Number(date));
    if (day == m_days.end())
        return;
    m_calendar->setSelectedDay(date);
    emit dayChosen(day->second.log, slot);
}

void OverviewWindow::updateStatus() {
    if (m_days.empty()) {
        m_status->setText(QStringLiteral("%1 に観測ログはありません。").arg(NameOf(m_folder)));
        return;
    }
    const CalendarLayout& layout = m_calendar->calendar();
    QString text = QStringLiteral("%1 – %2　%3 日分のログ")
                       .arg(DateText(layout.first()), DateText(layout.last()))
                       .arg(m_days.size());
    const int pending = daysPending();
    if (pending == 0)
        m_statusDelay.stop();
    if (pending > 0)
        text += QStringLiteral("（読み込み中 あと %1）").arg(pending);
    m_status->setText(text);

    if (!m_timing || m_days.empty())
        return;
    const int read = int(m_days.size()) - pending;
    if (read > 0 && !m_firstShown) {
        m_firstShown = true;
        std::fprintf(stderr, "dirchart: overview: first thumbnail after %lld ms\n",
                     static_cast<long long>(m_sinceOpened.elapsed()));
    }
    if (pending == 0) {
        std::fprintf(stderr, "dirchart: overview: all %zu thumbnails after %lld ms\n",
                     m_days.size(), static_cast<long long>(m_sinceOpened.elapsed()));
        m_timing = false;
    }
}
