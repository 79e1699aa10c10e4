// SPDX-License-Identifier: MIT
#include "OverviewCalendar.h"

#include "DayTexts.h"
#include "DayThumbnail.h"
#include "DayTime.h"
#include "ImageSurface.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

using namespace std::chrono;

namespace {

// Geometry, in the calendar's content coordinates.
constexpr int HeaderHeight = 22; // weekday names, kept at the top
constexpr int MonthColumn = 76;  // month names, left of the weeks
// A thumbnail and its one-pixel frame at full size; smaller where the
// window is too narrow for seven of them, so that the week never scrolls
// sideways.
constexpr int FrameWidth = ThumbnailSize.width() + 2;
constexpr int FrameHeight = ThumbnailSize.height() + 2;
constexpr int SmallestFrameWidth = 62;
constexpr int DateHeight = 16;   // the date above each frame
constexpr int ColumnGap = 6;
constexpr int WeekGap = 8;
constexpr int FoldHeight = 30;
constexpr int MarkFlagSize = 9; // the corner flag of a day with marks
const QColor MarkFlagColour(0xe0, 0x10, 0x90);
// Thumbnails kept drawn: a few screenfuls.
constexpr int CachedThumbnails = 300;

const char* const WeekdayNames[] = {"月", "火", "水", "木", "金", "土", "日"};

int Number(Day day) {
    return int(day.time_since_epoch().count());
}

} // namespace

OverviewCalendar::OverviewCalendar(const OverviewDays& days, QWidget* parent)
    : QAbstractScrollArea(parent), m_days(days), m_thumbnails(CachedThumbnails) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    // The week fits the width instead; the window is never narrower than a
    // week of the smallest thumbnails.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMinimumWidth(MonthColumn + 7 * (SmallestFrameWidth + ColumnGap) + 4 +
                    style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * frameWidth());
    setFrameWidth(FrameWidth);
    setAccessibleName(QStringLiteral("日ごとの縮小図"));
}

void OverviewCalendar::setCalendar(CalendarLayout layout) {
    m_layout = std::move(layout);
    layOutRows();
}

void OverviewCalendar::layOutRows() {
    m_rowTops.assign(1, 0);
    for (const CalendarRow& row : m_layout.rows())
        m_rowTops.push_back(m_rowTops.back() + (row.folded ? FoldHeight : m_weekHeight));
    if (m_selected && !m_layout.placeOf(*m_selected))
        m_selected.reset();
    updateScrollBars();
    viewport()->update();
}

void OverviewCalendar::setPlaceholder(const QString& text) {
    m_placeholder = text;
    viewport()->update();
}

void OverviewCalendar::setShownDay(std::optional<Day> day) {
    if (day == m_shown)
        return;
    m_shown = day;
    viewport()->update();
}

void OverviewCalendar::setSelectedDay(Day day) {
    if (!m_layout.placeOf(day) || day == m_selected)
        return;
    m_selected = day;
    const QRect cell = cellRect(day);
    // Brought into view, with its date, whichever way it was reached.
    if (cell.top() < HeaderHeight)
        verticalScrollBar()->setValue(verticalScrollBar()->value() - (HeaderHeight - cell.top()));
    else if (cell.bottom() > viewport()->height())
        verticalScrollBar()->setValue(verticalScrollBar()->value() + cell.bottom() -
                                      viewport()->height() + 8);
    if (cell.left() < 0 || cell.right() > viewport()->width())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + cell.center().x() -
                                        viewport()->width() / 2);
    viewport()->update();
}

void OverviewCalendar::scrollToDay(Day day) {
    const auto place = m_layout.placeOf(day);
    if (!place)
        return;
    const int visible = viewport()->height() - HeaderHeight;
    verticalScrollBar()->setValue(rowTop(std::size_t(place->row)) - (visible - m_weekHeight) / 2);
    horizontalScrollBar()->setValue(MonthColumn + place->column * m_columnPitch + m_frameWidth / 2 -
                                    viewport()->width() / 2);
}

void OverviewCalendar::dayChanged(Day day) {
    m_thumbnails.remove(Number(day));
    const QRect cell = cellRect(day);
    if (cell.isValid())
        viewport()->update(cell.adjusted(-3, -3, 3, 3));
}

void OverviewCalendar::setColours(const OverviewColours& colours) {
    m_colours = colours;
    m_thumbnails.clear();
    viewport()->update();
}

QRect OverviewCalendar::cellRect(Day day) const {
    const auto place = m_layout.placeOf(day);
    if (!place)
        return {};
    return {MonthColumn + place->column * m_columnPitch - horizontalScrollBar()->value(),
            HeaderHeight + rowTop(std::size_t(place->row)) - verticalScrollBar()->value(),
            m_frameWidth, DateHeight + m_frameHeight};
}

std::optional<Day> OverviewCalendar::dayAt(QPoint point) const {
    if (m_layout.empty() || point.y() < HeaderHeight)
        return std::nullopt;
    const int x = point.x() + horizontalScrollBar()->value() - MonthColumn;
    const int y = point.y() - HeaderHeight + verticalScrollBar()->value();
    const auto row = std::upper_bound(m_rowTops.begin(), m_rowTops.end(), y) - m_rowTops.begin() - 1;
    if (x < 0 || x % m_columnPitch >= m_frameWidth || row < 0 || row >= int(m_layout.rows().size()))
        return std::nullopt;
    if (y - rowTop(std::size_t(row)) >= DateHeight + m_frameHeight)
        return std::nullopt;
    return m_layout.dayAt({int(row), x / m_columnPitch});
}

std::optional<Day> OverviewCalendar::middleDay() const {
    if (m_layout.empty())
        return std::nullopt;
    const int y = verticalScrollBar()->value() + (viewport()->height() - HeaderHeight) / 2;
    const auto row = std::clamp<std::ptrdiff_t>(
        std::upper_bound(m_rowTops.begin(), m_rowTops.end(), y) - m_rowTops.begin() - 1, 0,
        std::ptrdiff_t(m_layout.rows().size()) - 1);
    const Day middle = m_layout.rows()[std::size_t(row)].monday + days(3);
    return std::clamp(middle, m_layout.first(), m_layout.last());
}

const OverviewDay* OverviewCalendar::dayInfo(Day day) const {
    const auto found = m_days.find(Number(day));
    return found == m_days.end() ? nullptr : &found->second;
}

QImage OverviewCalendar::thumbnail(Day day, const DaySummary& summary) {
    const qreal ratio = viewport()->devicePixelRatioF();
    if (ratio != m_thumbnailRatio) {
        m_thumbnails.clear();
        m_thumbnailRatio = ratio;
    }
    if (const QImage* cached = m_thumbnails.object(Number(day)))
        return *cached;
    // Drawn as the web page's thumbnails are, at the screen's own resolution.
    // Smaller thumbnails are drawn at their own size, as the same summary
    // at a lower resolution, and shown at the screen's.
    const qreal scale = qreal(m_frameWidth - 2) / ThumbnailSize.width();
    ImageSurface surface(ThumbnailSize, ratio * scale);
    DrawDayThumbnail(surface, summary, m_colours);
    auto* image = new QImage(surface.image());
    image->setDevicePixelRatio(ratio);
    m_thumbnails.insert(Number(day), image);
    return *image;
}

void OverviewCalendar::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QPalette& colours = palette();
    painter.fillRect(event->rect(), colours.base());
    if (m_layout.empty()) {
        painter.setPen(colours.color(QPalette::PlaceholderText));
        painter.drawText(viewport()->rect(), Qt::AlignCenter, m_placeholder);
        return;
    }
    const int dx = horizontalScrollBar()->value();
    const int dy = verticalScrollBar()->value() - HeaderHeight;
    const QColor frameColour = colours.color(QPalette::Mid);
    const QColor emptyFrame = colours.color(QPalette::Midlight);
    QFont bold = font();
    bold.setBold(true);

    const auto firstRow = std::upper_bound(m_rowTops.begin(), m_rowTops.end(), dy + HeaderHeight) -
                          m_rowTops.begin() - 1;
    for (std::size_t r = std::size_t(std::max<std::ptrdiff_t>(firstRow, 0));
         r < m_layout.rows().size() && rowTop(r) - dy < viewport()->height(); ++r) {
        const CalendarRow& row = m_layout.rows()[r];
        const int top = rowTop(r) - dy;
        if (row.folded) {
            painter.setPen(colours.color(QPalette::PlaceholderText));
            const Day end = row.monday + weeks(row.weeks) - days(1);
            painter.drawText(QRect(MonthColumn - dx, top, 7 * m_columnPitch, FoldHeight),
                             Qt::AlignVCenter | Qt::AlignLeft,
                             QStringLiteral("%1 – %2　ログなし（%3 週）")
                                 .arg(DateText(row.monday), DateText(end))
                                 .arg(row.weeks));
            continue;
        }
        if (row.month) {
            painter.setPen(colours.color(QPalette::Text));
            painter.setFont(bold);
            painter.drawText(QRect(8 - dx, top, MonthColumn - 12, DateHeight + 18),
                             Qt::AlignRight | Qt::AlignTop,
                             QStringLiteral("%1年\n%2月")
                                 .arg(int(row.month->year()))
                                 .arg(unsigned(row.month->month())));
            painter.setFont(font());
        }
        for (int column = 0; column < 7; ++column) {
            const std::optional<Day> day = m_layout.dayAt({int(r), column});
            if (!day)
                continue;
            const QRect cell(MonthColumn + column * m_columnPitch - dx, top, m_frameWidth,
                             DateHeight + m_frameHeight);
            if (!cell.intersects(event->rect().adjusted(-3, -3, 3, 3)))
                continue;
            const QRect frame(cell.left(), cell.top() + DateHeight, m_frameWidth, m_frameHeight);
            const bool selected = day == m_selected;
            if (selected)
                painter.fillRect(QRect(cell.topLeft(), QSize(m_frameWidth, DateHeight)),
                                 colours.color(hasFocus() ? QPalette::Highlight : QPalette::Mid));
            painter.setPen(colours.color(selected ? QPalette::HighlightedText : QPalette::Text));
            const year_month_day date(*day);
            painter.drawText(cell.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                             unsigned(date.day()) == 1
                                 ? QStringLiteral("%1/%2").arg(unsigned(date.month())).arg(1)
                                 : QString::number(unsigned(date.day())));

            const OverviewDay* info = dayInfo(*day);
            painter.setPen(info ? frameColour : emptyFrame);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(frame.adjusted(0, 0, -1, -1));
            if (info && info->summary) {
                painter.drawImage(frame.topLeft() + QPoint(1, 1), thumbnail(*day, *info->summary));
            } else if (info && info->read) {
                // A log that could not be read: a mark, the reason in the tooltip.
                painter.setPen(QPen(QColor(0xc0, 0, 0), 2));
                const QRect mark(frame.center() - QPoint(8, 8), QSize(16, 16));
                painter.drawLine(mark.topLeft(), mark.bottomRight());
                painter.drawLine(mark.topRight(), mark.bottomLeft());
            } else if (info) {
                painter.fillRect(frame.adjusted(1, 1, -1, -1), colours.color(QPalette::AlternateBase));
            }
            if (info && (info->marks > 0 || info->marksDamaged)) {
                // A flag in the thumbnail's top right corner for a day with
                // marks, hollow where its marks file cannot be read.
                const QPoint corner = frame.topRight() + QPoint(-1, 1);
                const QPolygon flag({corner, corner - QPoint(MarkFlagSize, 0),
                                     corner + QPoint(0, MarkFlagSize)});
                painter.setPen(QPen(MarkFlagColour, 1));
                painter.setBrush(info->marksDamaged ? QBrush(Qt::NoBrush) : QBrush(MarkFlagColour));
                painter.drawPolygon(flag);
                painter.setBrush(Qt::NoBrush);
            }
            if (day == m_shown) {
                painter.setPen(QPen(colours.color(QPalette::Highlight), 2));
                painter.drawRect(QRectF(frame).adjusted(-1, -1, 0, 0));
            }
        }
    }

    // The weekday names stay at the top while the weeks scroll under them.
    painter.fillRect(QRect(0, 0, viewport()->width(), HeaderHeight), colours.window());
    painter.setPen(colours.color(QPalette::WindowText));
    for (int column = 0; column < 7; ++column)
        painter.drawText(QRect(MonthColumn + column * m_columnPitch - dx, 0, m_frameWidth, HeaderHeight),
                         Qt::AlignCenter, QString::fromUtf8(WeekdayNames[column]));
}

QString OverviewCalendar::toolTipFor(Day day) const {
    static const char* const Names[] = {"日", "月", "火", "水", "木", "金", "土"};
    QString text = QStringLiteral("%1（%2）")
                       .arg(DateText(day), QString::fromUtf8(Names[weekday(day).c_encoding()]));
    const OverviewDay* info = dayInfo(day);
    if (!info)
        return text + QStringLiteral("\nログなし");
    text += QLatin1Char('\n') + QString::fromStdString(info->log.filename().native());
    if (info->marks > 0)
        text += QStringLiteral("\n印 %1 件").arg(info->marks);
    if (info->marksDamaged)
        text += QStringLiteral("\n印のファイルを読めません");
    if (info->summary && !info->summary->anyRecorded())
        return text + QStringLiteral("\n記録なし");
    if (info->summary) {
        const DaySummary& s = *info->summary;
        return text + QStringLiteral("\n最大 %1　%2　%3°")
                          .arg(s.peak)
                          .arg(QString::fromStdString(SlotClock(s.peakSlot)))
                          .arg(BinDegrees(s.peakBin));
    }
    if (info->read)
        return text + QStringLiteral("\n読み込めません: ") + info->problem;
    return text + QStringLiteral("\n読み込み中");
}

bool OverviewCalendar::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (const std::optional<Day> day = dayAt(help->pos()))
            QToolTip::showText(help->globalPos(), toolTipFor(*day), viewport(), cellRect(*day));
        else
            QToolTip::hideText();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void OverviewCalendar::mousePressEvent(QMouseEvent* event) {
    const std::optional<Day> day = dayAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !day)
        return QAbstractScrollArea::mousePressEvent(event);
    setSelectedDay(*day);
    if (dayInfo(*day))
        emit dayActivated(*day);
}

void OverviewCalendar::moveSelection(int step) {
    if (m_layout.empty())
        return;
    Day day = m_selected.value_or(m_layout.last());
    // Over a fold to the first day beyond it; past either end the selection stays.
    do
        day += days(step);
    while (day >= m_layout.first() && day <= m_layout.last() && !m_layout.placeOf(day));
    setSelectedDay(day);
}

void OverviewCalendar::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
        return moveSelection(-1);
    case Qt::Key_Right:
        return moveSelection(+1);
    case Qt::Key_Up:
        return moveSelection(-7);
    case Qt::Key_Down:
        return moveSelection(+7);
    case Qt::Key_PageUp:
        return moveSelection(-28);
    case Qt::Key_PageDown:
        return moveSelection(+28);
    case Qt::Key_Home:
        if (!m_layout.empty())
            setSelectedDay(m_layout.first());
        return;
    case Qt::Key_End:
        if (!m_layout.empty())
            setSelectedDay(m_layout.last());
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_selected && dayInfo(*m_selected))
            emit dayActivated(*m_selected);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void OverviewCalendar::updateScrollBars() {
    const int height = m_rowTops.empty() ? 0 : m_rowTops.back();
    const int visible = std::max(0, viewport()->height() - HeaderHeight);
    verticalScrollBar()->setRange(0, std::max(0, height + 8 - visible));
    verticalScrollBar()->setPageStep(visible);
    horizontalScrollBar()->setRange(0, std::max(0, contentWidth() - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

void OverviewCalendar::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    fitWidth();
    updateScrollBars();
}

void OverviewCalendar::fitWidth() {
    const int room = (viewport()->width() - MonthColumn - 4) / 7 - ColumnGap;
    const int frame = std::clamp(room, SmallestFrameWidth, FrameWidth);
    if (frame == m_frameWidth)
        return;
    const std::optional<Day> middle = middleDay();
    setFrameWidth(frame);
    m_thumbnails.clear();
    layOutRows();
    if (middle)
        scrollToDay(*middle);
}

void OverviewCalendar::setFrameWidth(int width) {
    m_frameWidth = width;
    // Whole pixels of the thumbnail's 4:1.
    m_frameHeight = (width - 2) * ThumbnailSize.height() / ThumbnailSize.width() + 2;
    m_columnPitch = width + ColumnGap;
    m_weekHeight = DateHeight + m_frameHeight + WeekGap;
    verticalScrollBar()->setSingleStep(m_weekHeight / 2);
}

int OverviewCalendar::contentWidth() const {
    return MonthColumn + 7 * m_columnPitch + 4;
}

void OverviewCalendar::scrollContentsBy(int, int) {
    viewport()->update();
    emit viewMoved();
}

void OverviewCalendar::contextMenuEvent(QContextMenuEvent* event) {
    // From the keyboard, the selected day's; from the mouse, the one under it.
    const std::optional<Day> day =
        event->reason() == QContextMenuEvent::Keyboard ? m_selected : dayAt(event->pos());
    if (!day || !dayInfo(*day))
        return;
    setSelectedDay(*day);
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard
                          ? viewport()->mapToGlobal(cellRect(*day).center())
                          : event->globalPos();
    emit dayMenuRequested(*day, at);
}
