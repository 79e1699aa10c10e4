// SPDX-License-Identifier: MIT
#include "ArchivePage.h"

#include "DayThumbnail.h"
#include "PathText.h"

#include <algorithm>
#include <chrono>
#include <tuple>

using namespace std::chrono;

namespace {

// Kept short and inside the page, so that the page is one file besides its
// images. Cells keep the thumbnails' 4:1 shape at any width; on a phone a
// month is seven narrow columns rather than a page to scroll sideways.
constexpr char Style[] = R"(
body { font-family: sans-serif; margin: 0 auto; padding: 8px; max-width: 1340px; color: #222; }
h1 { font-size: 1.4em; margin: 0.2em 0; }
h2 { font-size: 1.1em; margin: 1.2em 0 0.3em; }
img { max-width: 100%; height: auto; }
.stacks { display: flex; flex-wrap: wrap; gap: 8px 24px; align-items: flex-start; }
figure { margin: 0; min-width: 0; }
figcaption { font-weight: bold; }
table { width: 100%; table-layout: fixed; border-collapse: separate; border-spacing: 4px 2px; }
th { font-weight: normal; color: #555; }
td { vertical-align: top; padding: 0; font-size: 0.85em; overflow-wrap: anywhere; overflow: hidden; }
a.thumb { display: block; border: 1px solid #777; }
td img { display: block; width: 100%; }
.frame { aspect-ratio: 4 / 1; border: 1px solid #bbb; box-sizing: border-box; }
.bad .frame { border-color: #b00; background: #fdd; color: #b00; text-align: center; }
.out { color: #aaa; }
.gap, .left-out { color: #555; overflow-wrap: anywhere; }
.more { line-height: 1.2; }
@media (max-width: 600px) {
  table { border-spacing: 1px; } td { font-size: 0.7em; }
  .stacks { flex-direction: column; } .stacks figure { width: 100%; }
}
)";

const char* const WeekdayNames[] = {"月", "火", "水", "木", "金", "土", "日"};

QString Escaped(const QString& text) {
    return text.toHtmlEscaped();
}

// A relative path as a URL: spaces, '#', '?' and non-ASCII names stay names,
// and a name that is not UTF-8 keeps its bytes. Encoded as bytes: QUrl's own
// encoder takes text, which would turn such a byte into U+FFFD first.
QString Href(const QString& path) {
    return QString::fromLatin1(QByteArray::fromStdString(PathBytes(path)).toPercentEncoding("/"));
}

QString MonthTitle(year_month month) {
    return QStringLiteral("%1年%2月").arg(int(month.year())).arg(unsigned(month.month()));
}

QString Image(const PageImage& image) {
    // One arg() for all: a percent-encoded name holds "%2B" and the like,
    // which a later arg() would take for its own placeholders.
    return QStringLiteral(R"(<img src="%1" width="%2" height="%3" alt="%4">)")
        .arg(Href(image.src), QString::number(image.size.width()),
             QString::number(image.size.height()), Escaped(image.alt));
}

QString DayCell(Day date, const PageDay* day, bool inRange) {
    const unsigned number = unsigned(year_month_day(date).day());
    if (!inRange)
        return QStringLiteral(R"(<td class="out">%1</td>)").arg(number);
    if (!day)
        return QStringLiteral(R"(<td>%1<div class="frame"></div></td>)").arg(number);
    if (!day->problem.isEmpty())
        return QStringLiteral(R"(<td class="bad" title="%1">%2<div class="frame">&#x2716;</div></td>)")
            .arg(Escaped(DateText(date) + QStringLiteral(": ") + day->problem))
            .arg(number);
    QString cell = QStringLiteral(R"(<td>%1<a class="thumb" href="%2">%3</a>)")
                       .arg(number)
                       .arg(Href(day->chart),
                            Image({day->thumbnail, ThumbnailSize, DateText(date)}));
    // The day's further links, one line each right under the thumbnail.
    for (const PageLink& link : day->links)
        cell += QStringLiteral(R"(<div class="more"><a href="%1">%2</a></div>)")
                    .arg(Href(link.href), Escaped(link.text));
    return cell + QStringLiteral("</td>");
}

QString MonthTable(year_month month, Day first, Day last,
                   std::vector<PageDay>::const_iterator& next,
                   std::vector<PageDay>::const_iterator end) {
    QString html = QStringLiteral("<h2>%1</h2>\n<table>\n<thead><tr>").arg(MonthTitle(month));
    for (const char* name : WeekdayNames)
        html += QStringLiteral("<th>%1</th>").arg(QString::fromUtf8(name));
    html += QStringLiteral("</tr></thead>\n<tbody>\n");
    const Day monthFirst(month / 1);
    const Day monthLast(month / std::chrono::last);
    for (Day monday = monthFirst - (weekday(monthFirst) - Monday); monday <= monthLast;
         monday += days(7)) {
        if (monday + days(6) < first || monday > last)
            continue; // a week wholly before the first log or after the last
        html += QStringLiteral("<tr>");
        for (Day date = monday; date < monday + days(7); date += days(1)) {
            if (date < monthFirst || date > monthLast) {
                html += QStringLiteral("<td></td>");
                continue;
            }
            const PageDay* day = next != end && next->date == date ? &*next++ : nullptr;
            html += DayCell(date, day, date >= first && date <= last);
        }
        html += QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</tbody>\n</table>\n");
}

} // namespace

QByteArray ArchivePageHtml(const ArchivePage& page) {
    QString title = QStringLiteral("一覧");
    if (!page.name.isEmpty())
        title += QStringLiteral(" – ") + page.name;
    // On a narrow screen the stacks go one under the other, at one scale:
    // the direction stack as much narrower than the column as it is
    // narrower than the time stack, so that their labels read alike.
    const QString style =
        QString::fromLatin1(Style) +
        QStringLiteral("@media (max-width: 600px) { figure.direction img { width: %1%; } }\n")
            .arg(100.0 * page.directionStack.size.width() /
                     std::max(1, page.timeStack.size.width()),
                 0, 'f', 2);
    QString html = QStringLiteral("<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
                                  "<meta name=\"viewport\" content=\"width=device-width, "
                                  "initial-scale=1\">\n<title>%1</title>\n<style>%2</style>\n"
                                  "</head>\n<body>\n<h1>%1</h1>\n")
                       .arg(Escaped(title), style);
    if (page.days.empty()) {
        html += QStringLiteral("<p>日付のある観測ログはありません。</p>\n");
    } else {
        const Day first = page.days.front().date;
        const Day last = page.days.back().date;
        html += QStringLiteral("<p>%1 – %2、%3 日分のログ</p>\n")
                    .arg(DateText(first), DateText(last))
                    .arg(page.days.size());
        html += QStringLiteral("<div class=\"stacks\">\n");
        for (const auto& [kind, caption, image] :
             {std::tuple{"time", "時刻", &page.timeStack},
              std::tuple{"direction", "方向", &page.directionStack}})
            html += QStringLiteral("<figure class=\"%1\"><figcaption>%2</figcaption>%3</figure>\n")
                        .arg(QString::fromLatin1(kind), QString::fromUtf8(caption), Image(*image));
        html += QStringLiteral("</div>\n");

        // A month per table; months without a log between two that have one
        // are one line.
        auto next = page.days.cbegin();
        const year_month lastMonth = year_month_day(last).year() / year_month_day(last).month();
        year_month month = year_month_day(first).year() / year_month_day(first).month();
        while (month <= lastMonth) {
            if (year_month_day(next->date).year() / year_month_day(next->date).month() == month) {
                html += MonthTable(month, first, last, next, page.days.cend());
                month += months(1);
                continue;
            }
            const year_month from = month;
            while (year_month_day(next->date).year() / year_month_day(next->date).month() != month)
                month += months(1);
            const year_month to = month - months(1);
            html += QStringLiteral("<p class=\"gap\">%1%2: ログなし</p>\n")
                        .arg(MonthTitle(from),
                             from == to ? QString() : QStringLiteral(" – ") + MonthTitle(to));
        }
    }
    if (!page.leftOut.isEmpty())
        html += QStringLiteral("<p class=\"left-out\">%1</p>\n").arg(Escaped(LeftOutText(page.leftOut)));
    html += QStringLiteral("</body>\n</html>\n");
    return html.toUtf8();
}
